// File status through statx, which gives the birth time where the file
// system records it.
#include "quen/platform/FileStatus.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "quen/platform/DriveNames.h"
#include "quen/platform/posix/Errors.h"

namespace quen {
namespace platform {
namespace {

// UTF-16 to UTF-8; false for an unpaired surrogate.
bool toUtf8(const unsigned short* name, std::string& utf8) {
    for (const unsigned short* unit = name; *unit != 0; ++unit) {
        unsigned long code = *unit;
        if (code >= 0xD800 && code <= 0xDBFF) {
            const unsigned long low = unit[1];
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++unit;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return true;
}

}  // namespace

bool fileStatus(const char* name, FileStatus& status) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::string path = systemFileName(name);
    name = path.c_str();
    struct statx record;
    if (statx(AT_FDCWD, name, 0, STATX_SIZE | STATX_MTIME | STATX_BTIME, &record) == 0) {
        status.size = record.stx_size;
        // Some file systems claim a birth time and give the epoch itself:
        // that is no birth time either.
        const bool born = (record.stx_mask & STATX_BTIME) != 0 &&
                          (record.stx_btime.tv_sec != 0 || record.stx_btime.tv_nsec != 0);
        status.creationTime = born ? record.stx_btime.tv_sec : record.stx_mtime.tv_sec;
        return true;
    }
    if (errno != ENOSYS) {
        posix::setLastErrorFromErrno();
        return false;
    }
    // A kernel without statx: the modification time is the nearest we have.
    struct stat fallback;
    if (stat(name, &fallback) != 0) {
        posix::setLastErrorFromErrno();
        return false;
    }
    status.size = static_cast<unsigned long long>(fallback.st_size);
    status.creationTime = fallback.st_mtime;
    return true;
}

bool fileStatus(const unsigned short* name, FileStatus& status) {
    std::string utf8;
    if (name == nullptr || !toUtf8(name, utf8)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return fileStatus(utf8.c_str(), status);
}

}  // namespace platform
}  // namespace quen
