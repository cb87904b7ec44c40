#include "quen/drives/DiskDriveRemovable.h"

namespace quen {

// DiskDriveRemovable

const char* DiskDriveRemovable::version() {
    return "DiskDriveRemovable 1.0, 19.10.1999";
}

DiskDriveRemovable::DiskDriveRemovable(sysProbe::Drive* drive) : DiskDrive(drive), volumeName_(), readOnly_(true) {}

DiskDriveRemovable::DiskDriveRemovable(const DiskDriveRemovable& other)
    : DiskDrive(other), volumeName_(), readOnly_(true) {}

DiskDriveRemovable& DiskDriveRemovable::operator=(const DiskDriveRemovable& other) {
    DiskDrive::operator=(other);
    return *this;
}

DiskDriveRemovable::~DiskDriveRemovable() = default;

bool DiskDriveRemovable::isVolumeRemovable() const {
    return true;
}

bool DiskDriveRemovable::getDisk() {
    if (DiskDrive::getDisk()) {
        volumeName_ = disk().volumeName();
        readOnly_ = disk().readOnly();
        return true;
    }
    volumeName_ = FileString();
    readOnly_ = true;
    return false;
}

FileString DiskDriveRemovable::volumeName() const {
    return volumeName_;
}

bool DiskDriveRemovable::isReadOnly() const {
    return readOnly_;
}

bool DiskDriveRemovable::operator==(const DiskDriveRemovable& other) const {
    return DiskDrive::operator==(other);
}

// DiskDriveCDROM

const char* DiskDriveCDROM::version() {
    return "DiskDriveCDROM 1.0, 19.10.1999";
}

DiskDriveCDROM::DiskDriveCDROM(sysProbe::Drive* drive, int cdUnit) : DiskDriveRemovable(drive), cdUnit_(cdUnit) {}

DiskDriveCDROM::DiskDriveCDROM(const DiskDriveCDROM& other) : DiskDriveRemovable(other), cdUnit_(other.cdUnit_) {}

DiskDriveCDROM& DiskDriveCDROM::operator=(const DiskDriveCDROM& other) {
    DiskDriveRemovable::operator=(other);
    cdUnit_ = other.cdUnit_;
    return *this;
}

DiskDriveCDROM::~DiskDriveCDROM() = default;

bool DiskDriveCDROM::isCDROM() const {
    return true;
}

int DiskDriveCDROM::cdUnit() const {
    return cdUnit_;
}

bool DiskDriveCDROM::operator==(const DiskDriveCDROM& other) const {
    return DiskDriveRemovable::operator==(other) && cdUnit_ == other.cdUnit_;
}

// DiskDriveFloppy

const char* DiskDriveFloppy::version() {
    return "DiskDriveFloppy 1.0, 19.10.1999";
}

DiskDriveFloppy::DiskDriveFloppy(sysProbe::Drive* drive) : DiskDriveRemovable(drive) {}

DiskDriveFloppy::DiskDriveFloppy(const DiskDriveFloppy& other) = default;

DiskDriveFloppy& DiskDriveFloppy::operator=(const DiskDriveFloppy& other) {
    DiskDriveRemovable::operator=(other);
    return *this;
}

DiskDriveFloppy::~DiskDriveFloppy() = default;

bool DiskDriveFloppy::isFloppy() const {
    return true;
}

bool DiskDriveFloppy::operator==(const DiskDriveFloppy& other) const {
    return DiskDriveRemovable::operator==(other);
}

// DiskDriveNetwork

const char* DiskDriveNetwork::version() {
    return "DiskDriveNetwork 1.0, 19.10.1999";
}

DiskDriveNetwork::DiskDriveNetwork(sysProbe::Drive* drive) : DiskDriveRemovable(drive) {}

DiskDriveNetwork::DiskDriveNetwork(const DiskDriveNetwork& other) = default;

DiskDriveNetwork& DiskDriveNetwork::operator=(const DiskDriveNetwork& other) {
    DiskDriveRemovable::operator=(other);
    return *this;
}

DiskDriveNetwork::~DiskDriveNetwork() = default;

bool DiskDriveNetwork::isNetworkDrive() const {
    return true;
}

bool DiskDriveNetwork::operator==(const DiskDriveNetwork& other) const {
    return DiskDriveRemovable::operator==(other);
}

// DiskDriveRemovableGeneric

const char* DiskDriveRemovableGeneric::version() {
    return "DiskDriveRemovableGeneric 1.0, 19.10.1999";
}

DiskDriveRemovableGeneric::DiskDriveRemovableGeneric(sysProbe::Drive* drive) : DiskDriveRemovable(drive) {}

DiskDriveRemovableGeneric::DiskDriveRemovableGeneric(const DiskDriveRemovableGeneric& other) = default;

DiskDriveRemovableGeneric& DiskDriveRemovableGeneric::operator=(const DiskDriveRemovableGeneric& other) {
    DiskDriveRemovable::operator=(other);
    return *this;
}

DiskDriveRemovableGeneric::~DiskDriveRemovableGeneric() = default;

bool DiskDriveRemovableGeneric::operator==(const DiskDriveRemovableGeneric& other) const {
    return DiskDriveRemovable::operator==(other);
}

// DiskDriveUnknown

const char* DiskDriveUnknown::version() {
    return "DiskDriveUnknown 1.0, 19.10.1999";
}

DiskDriveUnknown::DiskDriveUnknown(sysProbe::Drive* drive) : DiskDriveRemovable(drive) {}

DiskDriveUnknown::DiskDriveUnknown(const DiskDriveUnknown& other) = default;

DiskDriveUnknown& DiskDriveUnknown::operator=(const DiskDriveUnknown& other) {
    DiskDriveRemovable::operator=(other);
    return *this;
}

DiskDriveUnknown::~DiskDriveUnknown() = default;

bool DiskDriveUnknown::isUnknown() const {
    return true;
}

bool DiskDriveUnknown::operator==(const DiskDriveUnknown& other) const {
    return DiskDriveRemovable::operator==(other);
}

}  // namespace quen
