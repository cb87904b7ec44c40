// The runtime's case folding, as tables.
//
// Case-insensitive comparison folds every character with the runtime's
// toupper in the locale in force. Calling toupper per character is the slow
// part of every search, so the fold is taken from a table that matches
// toupper exactly and is rebuilt whenever the thread's locale changes.
#ifndef QUEN_PLATFORM_CASEFOLDING_H
#define QUEN_PLATFORM_CASEFOLDING_H

#include "quen/platform/Export.h"

namespace quen {
namespace platform {

struct CaseFolding {
    // upper[b]: the byte that toupper gives for the character of byte b,
    // taken as a signed char widened to int.
    unsigned char upper[256];
    // For each byte, the bytes that fold to the same upper-case byte: up to
    // two of them (the byte itself first), or none when there are more, in
    // which case a search falls back to comparing folds.
    unsigned char variants[256][2];
    unsigned char variantCount[256];  // 1, 2, or 0 for "more than two"
};

// The folding for the calling thread's current locale. The reference stays
// valid until the thread's locale changes.
QUEN_API const CaseFolding& caseFolding();

}  // namespace platform
}  // namespace quen

#endif
