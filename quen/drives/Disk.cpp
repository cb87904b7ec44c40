#include "quen/drives/Disk.h"

#include <typeinfo>

#include "quen/drives/sysprobe/SysProbe.h"

namespace quen {

const char* Disk::version() {
    return "Disk 1.0, 19.10.1999";
}

Disk::Disk(sysProbe::Disk* disk) : disk_(disk) {}

Disk::Disk(const Disk& other) : disk_(other.disk_) {}

Disk& Disk::operator=(const Disk& other) {
    disk_ = other.disk_;
    return *this;
}

Disk::~Disk() = default;

void Disk::ioDisk(sysProbe::Disk& disk) {
    disk_ = &disk;
}

FileString Disk::volumeName() const {
    return disk_ == nullptr ? FileString() : FileString(disk_->getLabel());
}

bool Disk::readOnly() const {
    return disk_ == nullptr || disk_->isReadOnly();
}

__int64 Disk::capacity() const {
    if (disk_ == nullptr) {
        return 0;
    }
    const sysProbe::DiskSize size = disk_->getCapacity();
    return static_cast<__int64>((static_cast<unsigned __int64>(size.high) << 32) | size.low);
}

bool Disk::operator==(const Disk& other) const {
    return typeid(*this) == typeid(other);
}

}  // namespace quen
