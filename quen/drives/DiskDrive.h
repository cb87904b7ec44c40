// One drive letter of the machine, modelled by the family of the drive: the
// base of the drive classes. Fixed drives (DiskDriveFixed.h) bind their medium
// when they are made and ask it on every call; removable drives
// (DiskDriveRemovable.h) read the medium at each getDisk() and answer from
// that copy until the next.
#ifndef QUEN_DRIVES_DISKDRIVE_H
#define QUEN_DRIVES_DISKDRIVE_H

#include "quen/drives/Disk.h"
#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/strings/FileString.h"

namespace sysProbe {
class Drive;
}

namespace quen {

class QUEN_API DiskDrive {
public:
    static const char* version();

    // The record is not owned; it must outlive the object.
    explicit DiskDrive(sysProbe::Drive* drive);
    DiskDrive(const DiskDrive& other);
    DiskDrive& operator=(const DiskDrive& other);
    virtual ~DiskDrive();

    virtual bool isDriveRemovable() const;
    virtual bool isVolumeRemovable() const = 0;
    virtual bool isCDROM() const;
    virtual bool isFloppy() const;
    virtual bool isHD() const;
    virtual bool isNetworkDrive() const;
    virtual bool isRAMDrive() const;
    virtual bool isUnknown() const;
    // The drive's number among the machine's CD-ROM drives; -1 for others.
    virtual int cdUnit() const;
    // Binds the medium now in the drive; false, with the earlier binding
    // kept, when there is none.
    virtual bool getDisk();
    virtual FileString volumeName() const = 0;
    virtual bool isReadOnly() const = 0;

    bool isDriveFixed() const { return !isDriveRemovable(); }
    bool isVolumeFixed() const { return !isVolumeRemovable(); }

    // 'A' for drive number 0.
    char driveLetter() const;
    // The letter and ':', without a separator: 'D:'.
    FileString driveName() const;
    // Whether a medium is in the drive now; asks the record every time.
    bool hasDisk() const;
    // The capacity in bytes of the bound medium (the one found by the last
    // getDisk() that found one); 0 while none is bound.
    __int64 capacity() const;

    // Same class, same record, equal disks.
    bool operator==(const DiskDrive& other) const;
    bool operator!=(const DiskDrive& other) const { return !(*this == other); }
    // By letter.
    bool operator<(const DiskDrive& other) const;

protected:
    Disk& disk() { return disk_; }
    const Disk& disk() const { return disk_; }

private:
    Disk disk_;
    sysProbe::Drive* drive_;
};

}  // namespace quen

#endif
