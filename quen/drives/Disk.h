// The medium in a drive: a view of the enumeration's disk record that asks
// the record for its label, read-only state and capacity on every call.
#ifndef QUEN_DRIVES_DISK_H
#define QUEN_DRIVES_DISK_H

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/strings/FileString.h"

namespace sysProbe {
class Disk;
}

namespace quen {

class QUEN_API Disk {
public:
    static const char* version();

    // Binds the given record, or none. The record is not owned.
    Disk(sysProbe::Disk* disk = nullptr);
    Disk(const Disk& other);
    // Binds the source's record. (Keeping the old binding would make a
    // drive that is assigned another forget the medium it was given.)
    Disk& operator=(const Disk& other);
    virtual ~Disk();

    // Binds the given record, replacing the previous one.
    void ioDisk(sysProbe::Disk& disk);

    // The label; empty when no medium is bound.
    FileString volumeName() const;
    // True when no medium is bound.
    bool readOnly() const;
    // In bytes; 0 when no medium is bound.
    __int64 capacity() const;

    // True for two objects of the same class; the bound media do not count.
    bool operator==(const Disk& other) const;
    bool operator!=(const Disk& other) const { return !(*this == other); }

private:
    sysProbe::Disk* disk_;
};

}  // namespace quen

#endif
