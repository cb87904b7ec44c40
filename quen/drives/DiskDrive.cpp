#include "quen/drives/DiskDrive.h"

#include <typeinfo>

#include "quen/drives/sysprobe/SysProbe.h"

namespace quen {

const char* DiskDrive::version() {
    return "DiskDrive 1.0, 19.10.1999";
}

DiskDrive::DiskDrive(sysProbe::Drive* drive) : disk_(), drive_(drive) {}

DiskDrive::DiskDrive(const DiskDrive& other) : disk_(other.disk_), drive_(other.drive_) {}

DiskDrive& DiskDrive::operator=(const DiskDrive& other) {
    if (this != &other) {
        drive_ = other.drive_;
        disk_ = other.disk_;
    }
    return *this;
}

DiskDrive::~DiskDrive() = default;

bool DiskDrive::isDriveRemovable() const {
    return isVolumeRemovable();
}

bool DiskDrive::isCDROM() const {
    return false;
}

bool DiskDrive::isFloppy() const {
    return false;
}

bool DiskDrive::isHD() const {
    return false;
}

bool DiskDrive::isNetworkDrive() const {
    return false;
}

bool DiskDrive::isRAMDrive() const {
    return false;
}

bool DiskDrive::isUnknown() const {
    return false;
}

int DiskDrive::cdUnit() const {
    return -1;
}

bool DiskDrive::getDisk() {
    if (!drive_->hasDisk()) {
        return false;
    }
    disk_.ioDisk(drive_->getDisk());
    return true;
}

char DiskDrive::driveLetter() const {
    return static_cast<char>('A' + drive_->getDrvNum());
}

FileString DiskDrive::driveName() const {
    FileString name(driveLetter());
    name += ':';
    return name;
}

bool DiskDrive::hasDisk() const {
    return drive_->hasDisk();
}

__int64 DiskDrive::capacity() const {
    return disk_.capacity();
}

bool DiskDrive::operator==(const DiskDrive& other) const {
    return typeid(*this) == typeid(other) && drive_ == other.drive_ && disk_ == other.disk_;
}

bool DiskDrive::operator<(const DiskDrive& other) const {
    return static_cast<signed char>(driveLetter()) < static_cast<signed char>(other.driveLetter());
}

}  // namespace quen
