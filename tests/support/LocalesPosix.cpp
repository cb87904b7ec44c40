#include <cstdlib>

#include "support/Locales.h"

// The build makes the two locales from the system's locale sources into a
// folder of its own (tests/CMakeLists.txt), which LOCPATH names. Locales read
// from files rather than the system's archive are also the ones that glibc
// unmaps when their last locale object is freed.
namespace support {

const char* latin1Locale() {
    setenv("LOCPATH", QUEN_TEST_LOCALES, 1);
    return "fr_FR.ISO-8859-1";
}

const char* greekLocale() {
    setenv("LOCPATH", QUEN_TEST_LOCALES, 1);
    return "el_GR.ISO-8859-7";
}

}  // namespace support
