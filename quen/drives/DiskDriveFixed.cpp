#include "quen/drives/DiskDriveFixed.h"

namespace quen {

// DiskDriveFixed

const char* DiskDriveFixed::version() {
    return "DiskDriveFixed 1.0, 19.10.1999";
}

DiskDriveFixed::DiskDriveFixed(sysProbe::Drive* drive) : DiskDrive(drive) {
    // Not the virtual call: a class derived from this one is not built yet.
    DiskDrive::getDisk();
}

DiskDriveFixed::DiskDriveFixed(const DiskDriveFixed& other) = default;

DiskDriveFixed& DiskDriveFixed::operator=(const DiskDriveFixed& other) {
    DiskDrive::operator=(other);
    return *this;
}

DiskDriveFixed::~DiskDriveFixed() = default;

bool DiskDriveFixed::isVolumeRemovable() const {
    return false;
}

FileString DiskDriveFixed::volumeName() const {
    return disk().volumeName();
}

bool DiskDriveFixed::isReadOnly() const {
    return disk().readOnly();
}

bool DiskDriveFixed::operator==(const DiskDriveFixed& other) const {
    return DiskDrive::operator==(other);
}

// DiskDriveHD

const char* DiskDriveHD::version() {
    return "DiskDriveHD 1.0, 19.10.1999";
}

DiskDriveHD::DiskDriveHD(sysProbe::Drive* drive) : DiskDriveFixed(drive) {}

DiskDriveHD::DiskDriveHD(const DiskDriveHD& other) = default;

DiskDriveHD& DiskDriveHD::operator=(const DiskDriveHD& other) {
    DiskDriveFixed::operator=(other);
    return *this;
}

DiskDriveHD::~DiskDriveHD() = default;

bool DiskDriveHD::isHD() const {
    return true;
}

bool DiskDriveHD::operator==(const DiskDriveHD& other) const {
    return DiskDriveFixed::operator==(other);
}

// DiskDriveRAM

const char* DiskDriveRAM::version() {
    return "DiskDriveRAM 1.0, 19.10.1999";
}

DiskDriveRAM::DiskDriveRAM(sysProbe::Drive* drive) : DiskDriveFixed(drive) {}

DiskDriveRAM::DiskDriveRAM(const DiskDriveRAM& other) = default;

DiskDriveRAM& DiskDriveRAM::operator=(const DiskDriveRAM& other) {
    DiskDriveFixed::operator=(other);
    return *this;
}

DiskDriveRAM::~DiskDriveRAM() = default;

bool DiskDriveRAM::isRAMDrive() const {
    return true;
}

bool DiskDriveRAM::operator==(const DiskDriveRAM& other) const {
    return DiskDriveFixed::operator==(other);
}

}  // namespace quen
