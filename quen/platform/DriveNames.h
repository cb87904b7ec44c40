// Drive-form names and the names the system opens.
//
// The library's file operations take names in drive form, 'D:\data\set.dat'
// (a letter, ':', then nothing or a path with '\' or '/'), on both
// platforms. Each hands its name to systemFileName just before it gives it to
// the system; driveFileName goes the other way, for a user who names a file
// by its place in the system's own tree.
//
//     // Linux, the stick BACKUP1 in D: "/media/USER/BACKUP1/data/set.dat"
//     std::string path = quen::platform::systemFileName("D:\\data\\set.dat");
//     std::string name = quen::platform::driveFileName(path.c_str());  // "D:\data\set.dat"
//
// Where a drive's files are is sysProbe's answer (driveRoot): on Linux the
// mount point of the medium that holds the letter now ('/' for C:); on a
// scripted machine (QUEN_SYSPROBE) the folder its record names, on both
// platforms; on Windows otherwise the system's own drive, the name unchanged.
#ifndef QUEN_PLATFORM_DRIVENAMES_H
#define QUEN_PLATFORM_DRIVENAMES_H

#include <string>

#include "quen/platform/Export.h"

namespace quen {
namespace platform {

// The name the system opens for name. A drive-form name becomes the file
// under its drive's root folder ('\' turned into the system's separator on
// Linux); its letter may be lower-case, as on Windows. A drive-form name
// whose drive has no medium now (or that no drive has) gives "", a name no
// system call finds or creates. Other names, and drive-form names of a drive
// the system resolves itself (Windows), come back unchanged; null gives "".
// Reads the mount table, the letters kept in the registry store or the
// machine file on each call for a drive-form name, nothing for other names.
QUEN_API std::string systemFileName(const char* name);

// The reverse: a name under the root folder of a drive with a medium (the
// innermost such root on Linux, where every absolute name is at least under
// C:'s '/') becomes 'L:\rest' with '\' separators ('L:\' for the root
// itself). Any other name (a relative one, or one in no drive's root) comes
// back unchanged; null gives "".
QUEN_API std::string driveFileName(const char* name);

#if defined(_WIN32)
// systemFileName for a zero-terminated UTF-16 name (wide runtime calls).
std::wstring systemFileName(const wchar_t* name);
#endif

}  // namespace platform
}  // namespace quen

#endif
