#include "quen/drives/DiskDriveMap.h"

#include <exception>

#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"
#include "quen/errors/QuenException.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

// The drive class of a family value.
DiskDrive* makeDrive(sysProbe::Drive& record, int& cdCounter) {
    switch (static_cast<int>(record.getFamily())) {
    case 0x0000: case 0x0001: case 0x0003: case 0x0007: case 0x0010: case 0x00FF: case 0x1000: case 0x2000:
        return new DiskDriveRemovableGeneric(&record);
    case 0x0100: return new DiskDriveFloppy(&record);
    case 0x0200: return new DiskDriveHD(&record);
    case 0x0400: return new DiskDriveCDROM(&record, cdCounter++);
    case 0x0800: return new DiskDriveNetwork(&record);
    case 0x4000: return new DiskDriveRAM(&record);
    default: return new DiskDriveUnknown(&record);
    }
}

[[noreturn]] void invalidDrive() {
    throw QuenException(utilityStrings(11));
}

}  // namespace

DiskDriveMap::PrivateMap::PrivateMap() : driveArray_(nullptr), driveArrayUsed_(false) {
    // Runs while the library loads: a failure here must not stop the host
    // process from starting, so the map then stays empty.
    try {
        enumerate();
    } catch (const std::exception&) {
    }
}

DiskDriveMap::PrivateMap::~PrivateMap() {
    delete driveArray_;
    for (sysProbe::DriveArray* array : earlierArrays_) {
        delete array;
    }
    // The entries, and with them the drive objects, go after this body.
}

void DiskDriveMap::PrivateMap::enumerate() {
    // The drive objects of the map keep pointers to the records of the
    // array that listed them, so an array that gave the map a drive is kept
    // until the library unloads rather than destroyed here.
    if (driveArrayUsed_) {
        earlierArrays_.push_back(driveArray_);
    } else {
        delete driveArray_;
    }
    driveArray_ = nullptr;
    driveArrayUsed_ = false;
    driveArray_ = new sysProbe::DriveArray(sysProbe::familyAll, false);
    int cdCounter = 0;
    for (int index = 0; index < driveArray_->count; ++index) {
        SmartPointer<DiskDrive> drive(makeDrive((*driveArray_)[index], cdCounter));
        // A letter already in the map keeps its drive; the new object goes.
        if (insert(value_type(drive->driveLetter(), drive)).second) {
            driveArrayUsed_ = true;
        }
    }
}

const char* DiskDriveMap::version() {
    return "DiskDriveMap 1.0, 23.09.1999";
}

DiskDriveMap::DiskDriveMap() = default;

DiskDriveMap::~DiskDriveMap() = default;

DiskDriveMap::iterator DiskDriveMap::begin() {
    return map().begin();
}

DiskDriveMap::const_iterator DiskDriveMap::begin() const {
    return map().begin();
}

DiskDriveMap::iterator DiskDriveMap::end() {
    return map().end();
}

DiskDriveMap::const_iterator DiskDriveMap::end() const {
    return map().end();
}

DiskDriveMap::iterator DiskDriveMap::find(char letter) {
    return map().find(letter);
}

DiskDriveMap::const_iterator DiskDriveMap::find(char letter) const {
    return map().find(letter);
}

unsigned DiskDriveMap::size() const {
    return static_cast<unsigned>(map().size());
}

DiskDrive& DiskDriveMap::operator[](char letter) {
    const iterator entry = find(letter);
    if (entry == end()) {
        invalidDrive();
    }
    return *entry->second;
}

const DiskDrive& DiskDriveMap::operator[](char letter) const {
    const const_iterator entry = find(letter);
    if (entry == end()) {
        invalidDrive();
    }
    return *entry->second;
}

void DiskDriveMap::refresh() {
    map().enumerate();
}

DiskDriveMap::PrivateMap& DiskDriveMap::map() {
    return map_;
}

const DiskDriveMap::PrivateMap& DiskDriveMap::map() const {
    return map_;
}

}  // namespace quen
