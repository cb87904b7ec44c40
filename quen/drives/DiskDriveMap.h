// The process's one map of the machine's drives, by drive letter. It is
// built when the library loads (the first of the library's static objects)
// by enumerating the drives, and grows when a caller asks for a refresh:
// entries are never removed or replaced while the library is loaded.
// DiskDriveMap itself is a handle without state; every object works on the
// same map.
#ifndef QUEN_DRIVES_DISKDRIVEMAP_H
#define QUEN_DRIVES_DISKDRIVEMAP_H

#include <map>
#include <vector>

#include "quen/drives/DiskDrive.h"
#include "quen/platform/Export.h"
#include "quen/smart/SmartPointer.h"

namespace sysProbe {
class DriveArray;
}

namespace quen {

class QUEN_API DiskDriveMap {
public:
    typedef std::map<char, SmartPointer<DiskDrive>> Map;
    typedef Map::iterator iterator;
    typedef Map::const_iterator const_iterator;

    // The map itself: the drives by letter, and the drive array of the
    // latest enumeration, whose records the drive objects stand for.
    class PrivateMap : public Map {
    public:
        // Enumerates the drives at once.
        PrivateMap();
        // The drive arrays go first, then the entries with their drives.
        ~PrivateMap();
        PrivateMap(const PrivateMap&) = delete;
        PrivateMap& operator=(const PrivateMap&) = delete;

        // Lists the machine's drives anew and adds an entry for every letter
        // not in the map yet; letters already there keep their drive.
        void enumerate();

    private:
        sysProbe::DriveArray* driveArray_;
        // Whether a drive of the map stands for a record of driveArray_.
        bool driveArrayUsed_;
        // Arrays of earlier enumerations whose records drives of the map
        // still stand for; they stay until the library unloads.
        std::vector<sysProbe::DriveArray*> earlierArrays_;
    };

    static const char* version();

    DiskDriveMap();
    virtual ~DiskDriveMap();

    iterator begin();
    const_iterator begin() const;
    iterator end();
    const_iterator end() const;
    iterator find(char letter);
    const_iterator find(char letter) const;
    unsigned size() const;

    // The drive of the letter. Throws QuenException "Invalid drive
    // specified" for a letter that is not in the map (and adds nothing).
    DiskDrive& operator[](char letter);
    const DiskDrive& operator[](char letter) const;

    // Enumerates the drives again: new letters get entries.
    void refresh();

private:
    PrivateMap& map();
    const PrivateMap& map() const;

    static PrivateMap map_;
};

}  // namespace quen

#endif
