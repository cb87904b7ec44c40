#include "quen/drives/DiskDriveAccessor.h"

#include <cctype>

#include "quen/errors/QuenAssert.h"
#include "quen/errors/QuenException.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {

const char* DiskDriveAccessor::version() {
    return "DiskDriveAccessor 1.0, 23.09.1999";
}

DiskDriveAccessor::DiskDriveAccessor()
    : map_(), begin_(map_.begin()), end_(map_.end()), current_(map_.find('C')) {}

DiskDriveAccessor::~DiskDriveAccessor() = default;

char DiskDriveAccessor::current(char letter) {
    current_ = map_.find(letter);
    return letter;
}

char DiskDriveAccessor::current() const {
    return valid() ? current_->second->driveLetter() : '\0';
}

bool DiskDriveAccessor::valid() const {
    return current_ != end_;
}

bool DiskDriveAccessor::valid(char letter) const {
    return map_.find(letter) != map_.end();
}

unsigned DiskDriveAccessor::size() const {
    return map_.size();
}

bool DiskDriveAccessor::first() {
    current_ = begin_;
    return valid();
}

bool DiskDriveAccessor::last() {
    if (begin_ == end_) {
        current_ = end_;
        return false;
    }
    current_ = end_;
    --current_;
    return true;
}

bool DiskDriveAccessor::next() {
    if (!valid()) {
        return false;
    }
    ++current_;
    return valid();
}

bool DiskDriveAccessor::previous() {
    // The recorded begin bounds the walk, but it need not be the map's first
    // entry any more (a refresh may have added a letter ahead of it, or the
    // map was empty when the accessor was made): the map's own first entry
    // has nothing before it, whatever was recorded.
    if (current_ == begin_ || current_ == map_.begin()) {
        return false;
    }
    --current_;
    return true;
}

DiskDrive& DiskDriveAccessor::drive() {
    if (!valid()) {
        throw QuenException(utilityStrings(11));
    }
    return *current_->second;
}

const DiskDrive& DiskDriveAccessor::drive() const {
    if (!valid()) {
        throw QuenException(utilityStrings(11));
    }
    return *current_->second;
}

DiskDrive& DiskDriveAccessor::operator[](char letter) {
    QuenAssert(valid(letter)) << utilityStrings(11);
    return map_[letter];
}

const DiskDrive& DiskDriveAccessor::operator[](char letter) const {
    QuenAssert(valid(letter)) << utilityStrings(11);
    return map_[letter];
}

void DiskDriveAccessor::load() {
    if (valid()) {
        current_->second->getDisk();
    }
}

void DiskDriveAccessor::refresh() {
    const char letter = current();
    map_.refresh();
    current(letter);
}

bool DiskDriveAccessor::isReadOnly() const {
    return valid() ? current_->second->isReadOnly() : true;
}

bool DiskDriveAccessor::isVolumeRemovable() const {
    return valid() ? current_->second->isVolumeRemovable() : true;
}

bool DiskDriveAccessor::isCDROM() const {
    return valid() && current_->second->isCDROM();
}

bool DiskDriveAccessor::isFloppy() const {
    return valid() && current_->second->isFloppy();
}

bool DiskDriveAccessor::isHD() const {
    return valid() && current_->second->isHD();
}

bool DiskDriveAccessor::isNetworkDrive() const {
    return valid() && current_->second->isNetworkDrive();
}

bool DiskDriveAccessor::isRAMDrive() const {
    return valid() && current_->second->isRAMDrive();
}

bool DiskDriveAccessor::isUnknown() const {
    return valid() && current_->second->isUnknown();
}

int DiskDriveAccessor::cdUnit() const {
    return valid() ? current_->second->cdUnit() : -1;
}

bool DiskDriveAccessor::isDriveRemovable() const {
    return false;
}

__int64 DiskDriveAccessor::capacity() const {
    return 0;
}

FileString DiskDriveAccessor::driveFileNameToVolumeFileName(const FileString& driveFileName, const FileString&) {
    const FileString driveName = driveFileName.driveName();
    const unsigned char letter = static_cast<unsigned char>(driveName[0]);
    if (driveName.size() != 2 || !std::isalpha(letter) || driveName[1] != ':') {
        return driveFileName;
    }
    // A letter that names no drive (a lower-case one among them) leaves the
    // name as it is: there is no medium to ask.
    if (!valid(static_cast<char>(letter))) {
        return driveFileName;
    }
    current(static_cast<char>(letter));
    DiskDrive& drive = *current_->second;
    drive.getDisk();
    const FileString label = drive.volumeName();
    FileString volumeFileName("||");
    volumeFileName += label;
    if (label.empty()) {
        volumeFileName += driveName;
    }
    volumeFileName += "||";
    volumeFileName += driveFileName.pathName();
    return volumeFileName;
}

FileString DiskDriveAccessor::volumeFileNameToDriveFileName(const FileString& volumeFileName, const FileString& marker) {
    if (volumeFileName.find(marker) != 0 || volumeFileName.find(marker, 3) == FileString::npos) {
        return volumeFileName;
    }
    const FileString volumeName = volumeFileName.volumeName();
    // Without a label between the markers ('||a|b||x') the name is not in
    // volume form; taken as a label, the empty text would match any drive
    // without one.
    if (volumeName.empty()) {
        return volumeFileName;
    }
    if (volumeName.size() >= 2 && volumeName[1] == ':') {
        return volumeName + volumeFileName.pathName();
    }
    DiskDriveMap::iterator found = end_;
    if (valid() && current_->second->volumeName() == volumeName) {
        found = current_;
    }
    for (DiskDriveMap::iterator entry = begin_; found == end_ && entry != end_; ++entry) {
        if (entry->second->volumeName() == volumeName) {
            found = entry;
        }
    }
    for (DiskDriveMap::iterator entry = begin_; found == end_ && entry != end_; ++entry) {
        DiskDrive& drive = *entry->second;
        if (drive.isVolumeRemovable()) {
            drive.getDisk();
            if (drive.volumeName() == volumeName) {
                found = entry;
            }
        }
    }
    if (found == end_) {
        return FileString();
    }
    current_ = found;
    FileString driveFileName(found->second->driveLetter());
    driveFileName += ':';
    driveFileName += volumeFileName.pathName();
    return driveFileName;
}

}  // namespace quen
