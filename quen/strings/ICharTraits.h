// Character traits that fold case: the heart of every comparison and search
// that StdString makes.
#ifndef QUEN_STRINGS_ICHARTRAITS_H
#define QUEN_STRINGS_ICHARTRAITS_H

#include <cstddef>
#include <string>

#include "quen/platform/Export.h"

namespace quen {

// Only ICharTraits<char> is defined; other character types get the standard
// traits' behaviour by not being instantiated at all.
template <typename charT>
struct ICharTraits;

// The standard traits for char, except that eq, lt, compare and find compare
// characters as the runtime's toupper folds them in the locale in force.
// lt orders the folded characters as signed 8-bit values, so bytes 0x80 to
// 0xFF sort before 0x00 to 0x7F.
template <>
struct QUEN_API ICharTraits<char> : public std::char_traits<char> {
    static bool eq(char a, char b);
    static bool lt(char a, char b);
    static int compare(const char* p, const char* q, std::size_t n);
    static const char* find(const char* p, std::size_t n, const char& c);
};

}  // namespace quen

#endif
