// Win32 file attributes for the Linux build.
#ifndef QUEN_PLATFORM_POSIX_FILESYSTEM_H
#define QUEN_PLATFORM_POSIX_FILESYSTEM_H

#include "quen/platform/posix/Types.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080

extern "C" {

// The attributes of a file or directory. A regular file on which nobody has
// a write permission bit is read-only, whoever asks: root can write such a
// file, but it is as read-only as a Windows file with that attribute, which
// an administrator cannot open for writing either. INVALID_FILE_ATTRIBUTES
// with the last error set when the name cannot be looked up.
QUEN_API DWORD WINAPI GetFileAttributesA(LPCSTR name);

// FILE_ATTRIBUTE_READONLY takes every write permission bit away;
// without it the owner gets the write bit back. Other attributes are
// accepted and ignored.
QUEN_API BOOL WINAPI SetFileAttributesA(LPCSTR name, DWORD attributes);
}

#endif
