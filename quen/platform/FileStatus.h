// What the library asks the file system about a named file: its size and
// when it was made. The runtime's file-status call on Windows; statx on
// Linux.
#ifndef QUEN_PLATFORM_FILESTATUS_H
#define QUEN_PLATFORM_FILESTATUS_H

namespace quen {
namespace platform {

struct FileStatus {
    unsigned long long size = 0;
    // Seconds since 1970-01-01 00:00:00 UTC: the creation time where the
    // file system records one, else the last modification.
    long long creationTime = 0;
};

// False when the name is null or its status cannot be read. The second
// takes a zero-terminated UTF-16 name; on Linux it is converted to UTF-8,
// and a name that is not valid UTF-16 (an unpaired surrogate) is not found.
bool fileStatus(const char* name, FileStatus& status);
bool fileStatus(const unsigned short* name, FileStatus& status);

}  // namespace platform
}  // namespace quen

#endif
