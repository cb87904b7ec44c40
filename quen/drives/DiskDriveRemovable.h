// Drives whose medium can change: CD-ROM, floppy, network and other removable
// drives, and drives of no known kind. A removable drive reads nothing until
// its getDisk() runs; then it keeps the label and read-only state of the
// medium it found and answers from that copy until the next getDisk(), even
// if the medium has been changed since.
#ifndef QUEN_DRIVES_DISKDRIVEREMOVABLE_H
#define QUEN_DRIVES_DISKDRIVEREMOVABLE_H

#include "quen/drives/DiskDrive.h"

namespace quen {

class QUEN_API DiskDriveRemovable : public DiskDrive {
public:
    static const char* version();

    // Starts with an empty label and read-only, as if no medium were in it.
    explicit DiskDriveRemovable(sysProbe::Drive* drive);
    // A copy starts as a new drive does and reads its medium at its own next
    // getDisk(); assignment leaves the target's stored label and flag alone.
    DiskDriveRemovable(const DiskDriveRemovable& other);
    DiskDriveRemovable& operator=(const DiskDriveRemovable& other);
    ~DiskDriveRemovable() override;

    bool isVolumeRemovable() const override;
    // Reads the medium now in the drive; without one, the label becomes
    // empty and the flag read-only.
    bool getDisk() override;
    FileString volumeName() const override;
    bool isReadOnly() const override;

    bool operator==(const DiskDriveRemovable& other) const;

private:
    FileString volumeName_;
    bool readOnly_;
};

class QUEN_API DiskDriveCDROM : public DiskDriveRemovable {
public:
    static const char* version();

    // cdUnit: the drive's number among the CD-ROM drives of the listing.
    DiskDriveCDROM(sysProbe::Drive* drive, int cdUnit);
    DiskDriveCDROM(const DiskDriveCDROM& other);
    DiskDriveCDROM& operator=(const DiskDriveCDROM& other);
    ~DiskDriveCDROM() override;

    bool isCDROM() const override;
    int cdUnit() const override;

    // Also requires equal CD units.
    bool operator==(const DiskDriveCDROM& other) const;

private:
    int cdUnit_;
};

class QUEN_API DiskDriveFloppy : public DiskDriveRemovable {
public:
    static const char* version();

    explicit DiskDriveFloppy(sysProbe::Drive* drive);
    DiskDriveFloppy(const DiskDriveFloppy& other);
    DiskDriveFloppy& operator=(const DiskDriveFloppy& other);
    ~DiskDriveFloppy() override;

    bool isFloppy() const override;

    bool operator==(const DiskDriveFloppy& other) const;
};

class QUEN_API DiskDriveNetwork : public DiskDriveRemovable {
public:
    static const char* version();

    explicit DiskDriveNetwork(sysProbe::Drive* drive);
    DiskDriveNetwork(const DiskDriveNetwork& other);
    DiskDriveNetwork& operator=(const DiskDriveNetwork& other);
    ~DiskDriveNetwork() override;

    bool isNetworkDrive() const override;

    bool operator==(const DiskDriveNetwork& other) const;
};

class QUEN_API DiskDriveRemovableGeneric : public DiskDriveRemovable {
public:
    static const char* version();

    explicit DiskDriveRemovableGeneric(sysProbe::Drive* drive);
    DiskDriveRemovableGeneric(const DiskDriveRemovableGeneric& other);
    DiskDriveRemovableGeneric& operator=(const DiskDriveRemovableGeneric& other);
    ~DiskDriveRemovableGeneric() override;

    bool operator==(const DiskDriveRemovableGeneric& other) const;
};

class QUEN_API DiskDriveUnknown : public DiskDriveRemovable {
public:
    static const char* version();

    explicit DiskDriveUnknown(sysProbe::Drive* drive);
    DiskDriveUnknown(const DiskDriveUnknown& other);
    DiskDriveUnknown& operator=(const DiskDriveUnknown& other);
    ~DiskDriveUnknown() override;

    bool isUnknown() const override;

    bool operator==(const DiskDriveUnknown& other) const;
};

}  // namespace quen

#endif
