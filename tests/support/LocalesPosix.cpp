#include <cstdlib>

#include "support/Locales.h"

// The build makes the two locales from the system's locale sources into a folder of its own that LOCPATH names
// (tests/CMakeLists.txt): glibc unmaps locales read from files when their last locale object is freed.
namespace support {

const char* latin1Locale() { return setenv("LOCPATH", QUEN_TEST_LOCALES, 1) == 0 ? "fr_FR.ISO-8859-1" : nullptr; }
const char* greekLocale() { return setenv("LOCPATH", QUEN_TEST_LOCALES, 1) == 0 ? "el_GR.ISO-8859-7" : nullptr; }

}  // namespace support
