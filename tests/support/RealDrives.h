// The drives that the real machine of each test platform is known to have:
// Wine maps C: to its prefix and Z: to the root of the host's file system,
// both fixed disks; on Linux the root file system is C:, a hard disk.
#ifndef QUEN_TESTS_SUPPORT_REALDRIVES_H
#define QUEN_TESTS_SUPPORT_REALDRIVES_H

#include <string>

namespace support {

// The letters, each a hard disk with a medium.
std::string knownHardDisks();

// Whether the platform's file names are the same whatever their case.
bool namesIgnoreCase();

}  // namespace support

#endif
