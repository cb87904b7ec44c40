// Character traits that fold case: the heart of every comparison and search
// that StdString makes.
//
//     quen::ICharTraits<char>::eq('a', 'A');             // true
//     quen::ICharTraits<char>::compare("abc", "ABD", 3);  // -1
#ifndef QUEN_STRINGS_ICHARTRAITS_H
#define QUEN_STRINGS_ICHARTRAITS_H

#include <cstddef>
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
// candidate position. Each call reads the folding of the locale in force for
// the calling thread (quen/platform/CaseFolding.h): one call into the
// runtime, after which every character folds by a table look-up that gives
// exactly what toupper gives. StdString's own searches take the folding once
// per search instead of once per character.
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
        std::size_t i = 0;
        while (i < n && p[i] == q[i]) {
            ++i;  // equal bytes need no folding, which is fetched only past them
        }
        if (i == n) {
            return 0;
        }
        const platform::CaseFolding& folding = platform::caseFolding();
        for (; i < n; ++i) {
            const signed char a = static_cast<signed char>(folding.upper[byte(p[i])]);
            const signed char b = static_cast<signed char>(folding.upper[byte(q[i])]);
            if (a != b) {
                return a < b ? -1 : 1;
            }
        }
        return 0;
    }

    static const char* find(const char* p, std::size_t n, const char& c) {
        if (n >= longScan) {
            return findInLongRange(p, n, c);
        }
        const platform::CaseFolding& folding = platform::caseFolding();
        const unsigned char wanted = folding.upper[byte(c)];
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == c || folding.upper[byte(p[i])] == wanted) {
                return p + i;
            }
        }
        return nullptr;
    }

private:
    // From this many bytes on, find scans sixteen bytes at a time for the
    // (usually two) bytes that fold as c does, out of line; shorter ranges,
    // such as the sets that the base string's find_..._of members pass,
    // are folded byte by byte.
    static const std::size_t longScan = 16;

    static unsigned char byte(char c) { return static_cast<unsigned char>(c); }

    QUEN_API static const char* findInLongRange(const char* p, std::size_t n, char c);
};

}  // namespace quen

#endif
