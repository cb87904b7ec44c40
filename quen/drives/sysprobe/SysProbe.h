// sysProbe: the drive-enumeration component that the drive classes are built
// on. It lists the machine's drives as records (a drive number, a family and,
// on demand, the medium now in the drive) and knows nothing of the library's
// drive classes.
//
// Where the records come from:
//   - when the environment variable QUEN_SYSPROBE names a file, a scripted
//     machine read from that file (ScriptedMachine.h describes the format);
//   - otherwise the real machine: the system's logical drives on Windows,
//     the mount table on Linux.
//
// It also says where a drive's files are (driveRoot, driveOfPath), which the
// platform's name translation (quen/platform/DriveNames.h) asks.
//
// Records outlive nothing but their array: a DriveArray deletes the drives
// it listed, and a drive deletes the media it handed out. A medium handed out
// by getDisk() stays valid as long as its drive does, even when later calls
// hand out others.
#ifndef QUEN_DRIVES_SYSPROBE_SYSPROBE_H
#define QUEN_DRIVES_SYSPROBE_SYSPROBE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quen/platform/Export.h"

namespace sysProbe {

// The kind of a drive. The values are fixed: they are what a scripted
// machine writes, and the drive map chooses a drive class by them. Values not
// named here may occur too (a scripted machine may use any 16-bit value).
enum EDriveFamily : int {
    familyUndetermined = 0x0000,
    familyRemovable = 0x0010,    // removable media other than floppies
    familyUnknown = 0x0002,      // a drive of no known kind
    familyFloppy = 0x0100,
    familyHardDisk = 0x0200,
    familyCDROM = 0x0400,
    familyNetwork = 0x0800,
    familyRAMDisk = 0x4000,
    familyAll = 0xFFFF           // as a selector: every family
};

// A capacity in bytes, as two 32-bit words.
struct DiskSize {
    std::uint32_t low;
    std::uint32_t high;
};

// A medium: what was in a drive when its getDisk() ran.
class QUEN_API Disk {
public:
    Disk(const std::string& label, const std::string& fileSystem, std::uint64_t capacity, bool readOnly);
    virtual ~Disk();

    // The volume label; never null, "" for a medium without a label.
    virtual const char* getLabel() const;
    // The file system's name ("NTFS", "ext4", ...); "" when not known.
    virtual const char* getFileSystem() const;
    virtual DiskSize getCapacity() const;
    virtual bool isReadOnly() const;

    // Same label, file system, capacity and read-only state.
    bool sameMedium(const Disk& other) const;

private:
    std::string label_;
    std::string fileSystem_;
    std::uint64_t capacity_;
    bool readOnly_;
};

// The medium a probe found in a drive, before it becomes a Disk.
struct Medium {
    std::string label;
    std::string fileSystem;
    std::uint64_t capacity = 0;
    bool readOnly = false;
};

// One drive of the listing.
class QUEN_API Drive {
public:
    Drive(EDriveFamily family, int driveNumber);
    virtual ~Drive();
    Drive(const Drive&) = delete;
    Drive& operator=(const Drive&) = delete;

    EDriveFamily getFamily() const;
    // 0 for A, 1 for B, ...
    int getDrvNum() const;
    // Whether a medium is in the drive now; looks again on every call.
    bool hasDisk();
    // The medium in the drive now. Asked while the drive is empty, it gives
    // a medium without label, of capacity 0, read-only.
    Disk& getDisk();

protected:
    // Looks at the drive now: fills medium and returns true when one is in
    // it, returns false when there is none.
    virtual bool readMedium(Medium& medium) = 0;

private:
    EDriveFamily family_;
    int driveNumber_;
    // Every distinct medium handed out, so that a Disk& given to a caller
    // stays valid while the drive lives; the same medium seen again is
    // handed out again rather than copied.
    std::vector<std::unique_ptr<Disk>> media_;
};

// The drives of the machine, in listing order (which need not be letter
// order, and may give a letter twice).
class QUEN_API DriveArray {
public:
    // Lists the drives whose family is among families (familyAll: every
    // drive); with mediaOnly, only the drives that hold a medium now.
    DriveArray(EDriveFamily families, bool mediaOnly);
    ~DriveArray();
    DriveArray(const DriveArray&) = delete;
    DriveArray& operator=(const DriveArray&) = delete;

    // 0 to count-1 are valid indices. The array never changes it, but
    // callers read it as a member and may read it again at each step.
    std::int32_t count;

    Drive& operator[](int index);

private:
    std::vector<std::unique_ptr<Drive>> drives_;
};

// What driveRoot found.
enum RootAnswer {
    rootNotKnown,   // the machine names no folder: the system resolves the name
    rootNoMedium,   // the drive has no medium now, or there is no such drive
    rootFolder      // the files are under the folder given
};

// Where the files of the medium now in drive driveNumber (0 for A) are. On
// a scripted machine, the folder its record names (rootNoMedium while the
// record has no medium). Otherwise, and for a scripted letter whose record
// names no folder (or that has no record), the real machine's answer: on
// Linux the mount point of the medium that holds the letter ('/' for C), on
// Windows rootNotKnown.
// Reads the machine again on every call: the mount table (and the letters
// remembered in the registry store) or the machine file.
QUEN_API RootAnswer driveRoot(int driveNumber, std::string& folder);

// The reverse: the drive whose root folder holds path (the innermost root
// on Linux, so a medium mounted under /media wins over C:), and the rest
// of the path behind the root ("" or starting with a separator). False when
// no drive's root holds it (a relative path among them).
QUEN_API bool driveOfPath(const std::string& path, int& driveNumber, std::string& rest);

}  // namespace sysProbe

#endif
