#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "quen/drives/sysprobe/Machines.h"
#include "quen/drives/sysprobe/SysProbe.h"

namespace sysProbe {

Disk::Disk(const std::string& label, const std::string& fileSystem, std::uint64_t capacity, bool readOnly)
    : label_(label), fileSystem_(fileSystem), capacity_(capacity), readOnly_(readOnly) {}

Disk::~Disk() = default;

const char* Disk::getLabel() const {
    return label_.c_str();
}

const char* Disk::getFileSystem() const {
    return fileSystem_.c_str();
}

DiskSize Disk::getCapacity() const {
    DiskSize size;
    size.low = static_cast<std::uint32_t>(capacity_ & 0xFFFFFFFFu);
    size.high = static_cast<std::uint32_t>(capacity_ >> 32);
    return size;
}

bool Disk::isReadOnly() const {
    return readOnly_;
}

bool Disk::sameMedium(const Disk& other) const {
    return label_ == other.label_ && fileSystem_ == other.fileSystem_ && capacity_ == other.capacity_ &&
           readOnly_ == other.readOnly_;
}

Drive::Drive(EDriveFamily family, int driveNumber) : family_(family), driveNumber_(driveNumber) {}

Drive::~Drive() = default;

EDriveFamily Drive::getFamily() const {
    return family_;
}

int Drive::getDrvNum() const {
    return driveNumber_;
}

bool Drive::hasDisk() {
    Medium medium;
    return readMedium(medium);
}

Disk& Drive::getDisk() {
    Medium medium;
    if (!readMedium(medium)) {
        medium = Medium();
        medium.readOnly = true;
    }
    std::unique_ptr<Disk> disk(new Disk(medium.label, medium.fileSystem, medium.capacity, medium.readOnly));
    for (const std::unique_ptr<Disk>& known : media_) {
        if (known->sameMedium(*disk)) {
            return *known;
        }
    }
    media_.push_back(std::move(disk));
    return *media_.back();
}

namespace {

bool selected(EDriveFamily family, EDriveFamily families) {
    return families == familyAll || family == families || (family & families) != 0;
}

std::string absoluteName(const std::string& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(name), error);
    return error ? name : absolute.string();
}

}  // namespace

bool scriptedMachineFile(std::string& file) {
    const char* const script = std::getenv("QUEN_SYSPROBE");
    if (script == nullptr || *script == '\0') {
        return false;
    }
    // The value and its absolute name as they were at the first call, which
    // the drive map makes while the library loads.
    static const std::pair<std::string, std::string> atLoad(script, absoluteName(script));
    file = atLoad.first == script ? atLoad.second : absoluteName(script);
    return true;
}

bool folderHolds(const std::string& folder, const std::string& path, bool ignoreCase, std::string& rest) {
    const auto separator = [](char c) { return c == '/' || c == '\\'; };
    std::size_t length = folder.size();
    while (length > 0 && separator(folder[length - 1])) {
        --length;  // '/' itself holds every absolute path
    }
    if (path.size() < length || (path.size() > length && !separator(path[length])) || (length == 0 && path.empty())) {
        return false;
    }
    if (length == 0 && !separator(path[0])) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char a = static_cast<unsigned char>(folder[i]);
        const unsigned char b = static_cast<unsigned char>(path[i]);
        const bool same = a == b || (separator(folder[i]) && separator(path[i])) ||
                          (ignoreCase && a < 0x80 && b < 0x80 && std::toupper(a) == std::toupper(b));
        if (!same) {
            return false;
        }
    }
    rest = path.substr(length);
    return true;
}

RootAnswer driveRoot(int driveNumber, std::string& folder) {
    std::string file;
    if (scriptedMachineFile(file)) {
        const RootAnswer answer = scriptedDriveRoot(file, driveNumber, folder);
        if (answer != rootNotKnown) {
            return answer;
        }
    }
    return realDriveRoot(driveNumber, folder);
}

bool driveOfPath(const std::string& path, int& driveNumber, std::string& rest) {
    std::string file;
    if (scriptedMachineFile(file) && scriptedDriveOfPath(file, path, driveNumber, rest)) {
        return true;
    }
    return realDriveOfPath(path, driveNumber, rest);
}

DriveArray::DriveArray(EDriveFamily families, bool mediaOnly) : count(0) {
    DriveList listed;
    std::string script;
    if (scriptedMachineFile(script)) {
        listScriptedMachine(script, listed);
    } else {
        listRealMachine(listed);
    }
    for (std::unique_ptr<Drive>& drive : listed) {
        if (selected(drive->getFamily(), families) && (!mediaOnly || drive->hasDisk())) {
            drives_.push_back(std::move(drive));
        }
    }
    count = static_cast<std::int32_t>(drives_.size());
}

DriveArray::~DriveArray() = default;

Drive& DriveArray::operator[](int index) {
    return *drives_.at(static_cast<std::size_t>(index));
}

}  // namespace sysProbe
