#include "quen/strings/ICharTraits.h"

#include <cstdint>
#include <cstring>

#include "quen/platform/CaseFolding.h"

namespace quen {
namespace {

using platform::CaseFolding;
using platform::caseFolding;

inline unsigned char byteOf(char c) {
    return static_cast<unsigned char>(c);
}

// Position of the first of n bytes at p that is a or b, or null. Takes eight
// bytes at a time: a byte of a word equals a exactly when the same byte of
// word ^ (a repeated) is zero, and a zero byte shows in the classic
// "has zero byte" test.
const char* findEither(const char* p, std::size_t n, unsigned char a, unsigned char b) {
    if (a == b) {
        return static_cast<const char*>(std::memchr(p, a, n));
    }
    const std::uint64_t ones = 0x0101010101010101ULL;
    const std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t repeatedA = ones * a;
    const std::uint64_t repeatedB = ones * b;
    const char* end = p + n;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t xa = word ^ repeatedA;
        const std::uint64_t xb = word ^ repeatedB;
        if ((((xa - ones) & ~xa) | ((xb - ones) & ~xb)) & highs) {
            break;  // a candidate in these eight bytes: find it below
        }
        p += 8;
    }
    for (; p < end; ++p) {
        if (byteOf(*p) == a || byteOf(*p) == b) {
            return p;
        }
    }
    return nullptr;
}

}  // namespace

bool ICharTraits<char>::eq(char a, char b) {
    if (a == b) {
        return true;
    }
    const CaseFolding& folding = caseFolding();
    return folding.upper[byteOf(a)] == folding.upper[byteOf(b)];
}

bool ICharTraits<char>::lt(char a, char b) {
    const CaseFolding& folding = caseFolding();
    return static_cast<signed char>(folding.upper[byteOf(a)]) <
           static_cast<signed char>(folding.upper[byteOf(b)]);
}

int ICharTraits<char>::compare(const char* p, const char* q, std::size_t n) {
    const CaseFolding& folding = caseFolding();
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == q[i]) {
            continue;
        }
        const signed char a = static_cast<signed char>(folding.upper[byteOf(p[i])]);
        const signed char b = static_cast<signed char>(folding.upper[byteOf(q[i])]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return 0;
}

const char* ICharTraits<char>::find(const char* p, std::size_t n, const char& c) {
    const CaseFolding& folding = caseFolding();
    const unsigned char wanted = byteOf(c);
    switch (folding.variantCount[wanted]) {
    case 1:
        return static_cast<const char*>(std::memchr(p, wanted, n));
    case 2:
        return findEither(p, n, folding.variants[wanted][0], folding.variants[wanted][1]);
    default: {
        // More than two bytes fold alike (an unusual locale): compare folds.
        const unsigned char upper = folding.upper[wanted];
        for (std::size_t i = 0; i < n; ++i) {
            if (folding.upper[byteOf(p[i])] == upper) {
                return p + i;
            }
        }
        return nullptr;
    }
    }
}

}  // namespace quen
