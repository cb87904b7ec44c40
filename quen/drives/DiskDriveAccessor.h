// A cursor over the drive map: a current drive, a walk through the drives in
// letter order, the drive queries forwarded to the current drive, and the
// conversion between drive file names ('D:\dir\file') and volume file names
// ('||LABEL||\dir\file').
//
// The walk is bounded by the map's first and end positions as they were when
// the accessor was made: drives that a later refresh adds before the first
// one are not visited (current(char) still finds them).
#ifndef QUEN_DRIVES_DISKDRIVEACCESSOR_H
#define QUEN_DRIVES_DISKDRIVEACCESSOR_H

#include "quen/drives/DiskDriveMap.h"
#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/strings/FileString.h"

namespace quen {

class QUEN_API DiskDriveAccessor {
public:
    static const char* version();

    // The current drive is C, or none when the map has no C.
    DiskDriveAccessor();
    DiskDriveAccessor(const DiskDriveAccessor& other) = default;
    DiskDriveAccessor& operator=(const DiskDriveAccessor& other) = default;
    virtual ~DiskDriveAccessor();

    // Makes the drive of the letter current, or none when the map has no
    // such letter (the letters are upper-case); returns the letter.
    char current(char letter);
    // The current drive's letter; 0 when there is none.
    char current() const;
    bool valid() const;
    bool valid(char letter) const;
    unsigned size() const;

    // Walking in letter order, between the map's first and end positions as
    // recorded when the accessor was made. first() goes to the recorded
    // first entry, last() to the map's greatest letter (false, and no current
    // drive, when the map was empty then); next() steps on and is false
    // without a current drive or after the last one. previous() steps back
    // (from no current drive to the last drive) and is false, without moving,
    // on the recorded first entry and on any entry with no earlier letter in
    // the map, such as a letter current(char) found ahead of the recorded one.
    bool first();
    bool last();
    bool next();
    bool previous();

    // The current drive. Throws QuenException "Invalid drive specified" when
    // there is none.
    DiskDrive& drive();
    const DiskDrive& drive() const;
    // The drive of the letter. Throws QuenException "Invalid drive
    // specified" for a letter not in the map.
    DiskDrive& operator[](char letter);
    const DiskDrive& operator[](char letter) const;

    // Makes the current drive read the medium now in it.
    void load();
    // Enumerates the drives again, keeping the current letter.
    void refresh();

    // The current drive's answers; without a current drive, read-only and
    // removable, no family, CD unit -1.
    bool isReadOnly() const;
    bool isVolumeRemovable() const;
    bool isCDROM() const;
    bool isFloppy() const;
    bool isHD() const;
    bool isNetworkDrive() const;
    bool isRAMDrive() const;
    bool isUnknown() const;
    int cdUnit() const;
    // Always false and 0; ask drive() for the current drive's answers.
    bool isDriveRemovable() const;
    __int64 capacity() const;

    // 'D:\dir\file' -> '||LABEL||\dir\file' after reading the medium in D
    // (D becomes current); '||D:||\dir\file' when the medium has no label.
    // A name without a drive letter, or whose letter names no drive, comes
    // back unchanged. The marker does not change the result.
    FileString driveFileNameToVolumeFileName(const FileString& driveFileName, const FileString& marker);
    // '||LABEL||\dir\file' -> 'D:\dir\file' for the drive whose medium has
    // that label (ignoring case), which becomes current: the current drive
    // first, then the labels already read, then the removable drives'
    // media read anew. Empty when no drive holds the volume; unchanged when
    // the name is not a volume file name opened by marker ("||").
    FileString volumeFileNameToDriveFileName(const FileString& volumeFileName, const FileString& marker);

private:
    DiskDriveMap map_;
    DiskDriveMap::iterator begin_;
    DiskDriveMap::iterator end_;
    DiskDriveMap::iterator current_;
};

}  // namespace quen

#endif
