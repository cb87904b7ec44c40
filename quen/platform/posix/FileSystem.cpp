// File attributes from the POSIX permission bits.
#include "quen/platform/posix/FileSystem.h"

#include <sys/stat.h>

#include <string>

#include "quen/platform/DriveNames.h"

#include "quen/platform/posix/Errors.h"

namespace {

const mode_t anyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

extern "C" {

DWORD WINAPI GetFileAttributesA(LPCSTR name) {
    struct stat status;
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string path = quen::platform::systemFileName(name);
    name = path.c_str();
    if (stat(name, &status) != 0) {
        quen::posix::setLastErrorFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(status.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    if (S_ISREG(status.st_mode) && (status.st_mode & anyWrite) == 0) {
        return FILE_ATTRIBUTE_READONLY;
    }
    return FILE_ATTRIBUTE_NORMAL;
}

BOOL WINAPI SetFileAttributesA(LPCSTR name, DWORD attributes) {
    struct stat status;
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = quen::platform::systemFileName(name);
    name = path.c_str();
    if (stat(name, &status) != 0) {
        quen::posix::setLastErrorFromErrno();
        return FALSE;
    }
    mode_t mode = status.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? (mode & ~anyWrite) : (mode | S_IWUSR);
    if (chmod(name, mode) != 0) {
        quen::posix::setLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

}  // extern "C"
