// Character traits that fold case: the heart of every comparison and search
// that StdString makes.
//
//     quen::ICharTraits<char>::eq('a', 'A');             // true
//     quen::ICharTraits<char>::compare("abc", "ABD", 3);  // -1
#ifndef QUEN_STRINGS_ICHARTRAITS_H
#define QUEN_STRINGS_ICHARTRAITS_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "quen/platform/CaseFolding.h"

namespace quen {

// Only ICharTraits<char> is defined.
template <typename charT>
struct ICharTraits;

// The standard traits for char, except that eq, lt, compare and find compare
// characters as the runtime's toupper folds them in the locale in force
// (each character taken as a signed char). lt orders the folded characters
// as signed 8-bit values, so bytes 0x80 to 0xFF sort before 0x00 to 0x7F.
//
// They are inline because the standard string's searches call them once per
// candidate position. Each call takes the folding of the locale in force for
// the calling thread (quen/platform/CaseFolding.h: one call into the
// library, and tables that match toupper exactly); StdString's own searches
// take it once per search instead.
template <>
struct ICharTraits<char> : public std::char_traits<char> {
    static bool eq(char a, char b) {
        if (a == b) {
            return true;
        }
        const platform::CaseFolding& folding = platform::caseFolding();
        return folding.upper[byte(a)] == folding.upper[byte(b)];
    }

    static bool lt(char a, char b) {
        const platform::CaseFolding& folding = platform::caseFolding();
        return static_cast<signed char>(folding.upper[byte(a)]) < static_cast<signed char>(folding.upper[byte(b)]);
    }

    static int compare(const char* p, const char* q, std::size_t n) {
        const platform::CaseFolding* folding = nullptr;  // fetched at the first differing byte
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == q[i]) {
                continue;
            }
            if (folding == nullptr) {
                folding = &platform::caseFolding();
            }
            const signed char a = static_cast<signed char>(folding->upper[byte(p[i])]);
            const signed char b = static_cast<signed char>(folding->upper[byte(q[i])]);
            if (a != b) {
                return a < b ? -1 : 1;
            }
        }
        return 0;
    }

    static const char* find(const char* p, std::size_t n, const char& c) {
        if (n != 0 && *p == c) {
            return p;  // often so where a wildcard's star takes one more character
        }
        const platform::CaseFolding& folding = platform::caseFolding();
        const unsigned char wanted = byte(c);
        switch (folding.variantCount[wanted]) {
        case 1:
            return static_cast<const char*>(std::memchr(p, wanted, n));
        case 2:
            return findEither(p, n, folding.variants[wanted][0], folding.variants[wanted][1]);
        default:
            return findFolded(p, n, folding.upper[wanted], folding);
        }
    }

private:
    static unsigned char byte(char c) { return static_cast<unsigned char>(c); }

    // The first of n bytes at p that is a or b, sixteen bytes at a time.
    static const char* findEither(const char* p, std::size_t n, unsigned char a, unsigned char b) {
        typedef unsigned char Bytes __attribute__((vector_size(16)));
        const char* const end = p + n;
        const Bytes repeatedA = Bytes{} + a;  // a in every lane
        const Bytes repeatedB = Bytes{} + b;
        while (end - p >= 16) {
            Bytes chunk;
            std::memcpy(&chunk, p, sizeof chunk);
            const Bytes hits = (chunk == repeatedA) | (chunk == repeatedB);
            std::uint64_t halves[2];
            std::memcpy(halves, &hits, sizeof halves);
            if ((halves[0] | halves[1]) != 0) {
                break;  // a hit in these sixteen bytes: find it below
            }
            p += 16;
        }
        for (; p < end; ++p) {
            if (byte(*p) == a || byte(*p) == b) {
                return p;
            }
        }
        return nullptr;
    }

    // For locales in which more than two bytes fold alike.
    static const char* findFolded(const char* p, std::size_t n, unsigned char upper,
                                  const platform::CaseFolding& folding) {
        for (std::size_t i = 0; i < n; ++i) {
            if (folding.upper[byte(p[i])] == upper) {
                return p + i;
            }
        }
        return nullptr;
    }
};

}  // namespace quen

#endif
