// File status through the runtime's 64-bit _stat: st_ctime is the creation
// time on the Windows file systems, and st_size holds sizes past 4 GiB.
#include "quen/platform/FileStatus.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "quen/platform/DriveNames.h"

namespace quen {
namespace platform {

bool fileStatus(const char* name, FileStatus& status) {
    struct _stat64 record;
    if (name == nullptr || _stat64(systemFileName(name).c_str(), &record) != 0) {
        return false;
    }
    status.size = static_cast<unsigned long long>(record.st_size);
    status.creationTime = record.st_ctime;
    return true;
}

bool fileStatus(const unsigned short* name, FileStatus& status) {
    static_assert(sizeof(wchar_t) == sizeof(unsigned short), "Windows' wide characters are UTF-16 units");
    struct _stat64 record;
    if (name == nullptr || _wstat64(systemFileName(reinterpret_cast<const wchar_t*>(name)).c_str(), &record) != 0) {
        return false;
    }
    status.size = static_cast<unsigned long long>(record.st_size);
    status.creationTime = record.st_ctime;
    return true;
}

}  // namespace platform
}  // namespace quen
