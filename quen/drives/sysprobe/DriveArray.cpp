#include <cstdlib>

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

}  // namespace

DriveArray::DriveArray(EDriveFamily families, bool mediaOnly) : count(0) {
    DriveList listed;
    const char* const script = std::getenv("QUEN_SYSPROBE");
    if (script != nullptr && *script != '\0') {
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
