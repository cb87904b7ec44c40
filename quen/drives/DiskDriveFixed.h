// Drives whose medium does not change: hard disks and RAM drives. A fixed
// drive binds the medium that is in it when it is made (and again at each
// getDisk()) and asks that medium for its label and read-only state on every
// call.
#ifndef QUEN_DRIVES_DISKDRIVEFIXED_H
#define QUEN_DRIVES_DISKDRIVEFIXED_H

#include "quen/drives/DiskDrive.h"

namespace quen {

class QUEN_API DiskDriveFixed : public DiskDrive {
public:
    static const char* version();

    explicit DiskDriveFixed(sysProbe::Drive* drive);
    DiskDriveFixed(const DiskDriveFixed& other);
    DiskDriveFixed& operator=(const DiskDriveFixed& other);
    ~DiskDriveFixed() override;

    bool isVolumeRemovable() const override;
    FileString volumeName() const override;
    bool isReadOnly() const override;

    bool operator==(const DiskDriveFixed& other) const;
};

class QUEN_API DiskDriveHD : public DiskDriveFixed {
public:
    static const char* version();

    explicit DiskDriveHD(sysProbe::Drive* drive);
    DiskDriveHD(const DiskDriveHD& other);
    DiskDriveHD& operator=(const DiskDriveHD& other);
    ~DiskDriveHD() override;

    bool isHD() const override;

    bool operator==(const DiskDriveHD& other) const;
};

class QUEN_API DiskDriveRAM : public DiskDriveFixed {
public:
    static const char* version();

    explicit DiskDriveRAM(sysProbe::Drive* drive);
    DiskDriveRAM(const DiskDriveRAM& other);
    DiskDriveRAM& operator=(const DiskDriveRAM& other);
    ~DiskDriveRAM() override;

    bool isRAMDrive() const override;

    bool operator==(const DiskDriveRAM& other) const;
};

}  // namespace quen

#endif
