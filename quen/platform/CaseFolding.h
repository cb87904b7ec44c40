// The runtime's case folding, as tables.
//
// Every case-insensitive comparison in quen folds a character with the
// runtime's toupper in the locale in force for the calling thread (the
// character taken as a signed char widened to int). Calling toupper per
// character is the slow part of a search, so the folding comes as tables
// that give exactly toupper's answers:
//
//     const quen::platform::CaseFolding& folding = quen::platform::caseFolding();
//     const bool same = folding.upper[a] == folding.upper[b];
//
// The tables are shared by the whole process; nothing is kept per thread, so
// the library loads and unloads like any plugin (see docs/architecture.md).
#ifndef QUEN_PLATFORM_CASEFOLDING_H
#define QUEN_PLATFORM_CASEFOLDING_H

#include "quen/platform/Export.h"

namespace quen {
namespace platform {

// One locale's folding. Built once per distinct folding, then never changed
// or freed while the library is loaded.
struct CaseFolding {
    // upper[b]: the byte that toupper gives for the character of byte b,
    // taken as a signed char widened to int.
    unsigned char upper[256];
    // For each byte, the bytes that fold to the same upper-case byte: the
    // byte itself, then the other one (the byte itself again when no other
    // byte folds alike). Unspecified when more than two bytes fold alike;
    // a search must then compare folds.
    unsigned char variants[256][2];
    unsigned char variantCount[256];  // 1, 2, or 0 for "more than two"
};

// The folding of the locale in force for the calling thread now: with glibc
// the locale that uselocale set for the thread, or else the global locale as
// setlocale (in any thread) left it; elsewhere the runtime's locale for the
// thread. The reference stays valid while the library is loaded; take a new
// one for each operation, as the locale in force may change between two.
// Cost: one call into the runtime and a look-up among the foldings met so
// far; the first use of a folding builds its tables (256 folds). Throws
// std::bad_alloc only when the tables of a new folding cannot be kept.
QUEN_API const CaseFolding& caseFolding();

}  // namespace platform
}  // namespace quen

#endif
