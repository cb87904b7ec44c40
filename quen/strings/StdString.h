// The library's string: a standard string whose comparisons and searches all
// ignore case.
#ifndef QUEN_STRINGS_STDSTRING_H
#define QUEN_STRINGS_STDSTRING_H

#include <cstddef>
#include <string>
#include <type_traits>

#include "quen/platform/Export.h"
#include "quen/platform/BaseTypes.h"
#include "quen/strings/ICharTraits.h"

namespace quen {

class BinStream;

class QUEN_API StdString : public std::basic_string<char, ICharTraits<char>, std::allocator<char>> {
public:
    typedef std::basic_string<char, ICharTraits<char>, std::allocator<char>> BaseString;

    static const char* version();

    StdString();
    StdString(char c);  // one character, which may be the zero byte
    StdString(const char* s);
    // Both copy the characters up to the source's first zero byte.
    StdString(const BaseString& s);
    StdString(const StdString& s);
    virtual ~StdString();

    // The size of the serialised form: the characters, their zero and the
    // 4-byte count.
    virtual unsigned int objectSize() const;

    // The serialised form: a 4-byte count N (little-endian, the number of
    // characters + 1), then the characters and a zero byte. input replaces
    // the value with the characters before the record's first zero byte (all
    // N when it holds none); a count larger than the bytes left on a stream
    // that knows its size is "File READ error", and whenever input throws
    // the value is left as it was.
    BinStream& output(BinStream& stream) const;
    BinStream& input(BinStream& stream);

    // Copies the characters up to the source's first zero byte.
    StdString& operator=(const StdString& s);

    // Never null: an empty value gives an empty zero-terminated string.
    operator const char*() const;

    // Indexing by any integer type. Without these, s[0] would be ambiguous
    // between the base string's subscript and the built-in subscript of the
    // pointer that the conversion above yields.
    template <typename Index, typename = std::enable_if_t<std::is_integral<Index>::value>>
    reference operator[](Index position) {
        return BaseString::operator[](static_cast<size_type>(position));
    }
    template <typename Index, typename = std::enable_if_t<std::is_integral<Index>::value>>
    const_reference operator[](Index position) const {
        return BaseString::operator[](static_cast<size_type>(position));
    }

    // The searches. Each gives exactly the result of the base string's
    // member of the same name and arguments (which compares position by
    // position through the traits), but takes the case folding once per call
    // rather than once per character, and scans long texts sixteen bytes at
    // a time.
    //
    // find and rfind of a string take time linear in the text and the
    // needle, whatever both hold (where the base string's take their product
    // on texts of near matches): a Two-Way search over folded bytes, which
    // passes over candidate positions sixteen at a time by up to three of the
    // needle's characters. The find_..._of members fold the set once and
    // take one table look-up per character. None throws beyond what the
    // base string's member throws, but a needle longer than 256 characters
    // is folded into a buffer from the heap (std::bad_alloc).
    using BaseString::find;
    size_type find(const char* s, size_type position, size_type count) const;
    size_type find(const char* s, size_type position = 0) const {
        return find(s, position, traits_type::length(s));
    }
    size_type find(const BaseString& s, size_type position = 0) const {
        return find(s.data(), position, s.size());
    }

    using BaseString::rfind;
    size_type rfind(const char* s, size_type position, size_type count) const;
    size_type rfind(const char* s, size_type position = npos) const {
        return rfind(s, position, traits_type::length(s));
    }
    size_type rfind(const BaseString& s, size_type position = npos) const {
        return rfind(s.data(), position, s.size());
    }
    size_type rfind(char c, size_type position = npos) const;

    using BaseString::find_first_of;
    size_type find_first_of(const char* s, size_type position, size_type count) const;
    size_type find_first_of(const char* s, size_type position = 0) const {
        return find_first_of(s, position, traits_type::length(s));
    }
    size_type find_first_of(const BaseString& s, size_type position = 0) const {
        return find_first_of(s.data(), position, s.size());
    }
    size_type find_first_of(char c, size_type position = 0) const { return find(c, position); }

    using BaseString::find_last_of;
    size_type find_last_of(const char* s, size_type position, size_type count) const;
    size_type find_last_of(const char* s, size_type position = npos) const {
        return find_last_of(s, position, traits_type::length(s));
    }
    size_type find_last_of(const BaseString& s, size_type position = npos) const {
        return find_last_of(s.data(), position, s.size());
    }
    size_type find_last_of(char c, size_type position = npos) const { return rfind(c, position); }

    using BaseString::find_first_not_of;
    size_type find_first_not_of(const char* s, size_type position, size_type count) const;
    size_type find_first_not_of(const char* s, size_type position = 0) const {
        return find_first_not_of(s, position, traits_type::length(s));
    }
    size_type find_first_not_of(const BaseString& s, size_type position = 0) const {
        return find_first_not_of(s.data(), position, s.size());
    }
    size_type find_first_not_of(char c, size_type position = 0) const;

    using BaseString::find_last_not_of;
    size_type find_last_not_of(const char* s, size_type position, size_type count) const;
    size_type find_last_not_of(const char* s, size_type position = npos) const {
        return find_last_not_of(s, position, traits_type::length(s));
    }
    size_type find_last_not_of(const BaseString& s, size_type position = npos) const {
        return find_last_not_of(s.data(), position, s.size());
    }
    size_type find_last_not_of(char c, size_type position = npos) const;

    // False when the dynamic types differ; otherwise equal lengths and
    // characters equal ignoring case.
    bool operator==(const StdString& other) const;
    bool operator!=(const StdString& other) const { return !(*this == other); }

    void toUpper();
    void toLower();

    // Appending. Characters are appended as characters (an unsigned char
    // too); integers as their decimal text.
    const StdString& operator+=(const StdString& s);  // all of it, zero bytes included
    const StdString& operator+=(const char* s);
    const StdString& operator+=(char c);
    const StdString& operator+=(unsigned char c);
    const StdString& operator+=(int value);
    const StdString& operator+=(unsigned int value);
    const StdString& operator+=(long value);
    const StdString& operator+=(unsigned long value);
    const StdString& operator+=(const __int64& value);
    const StdString& operator+=(const unsigned __int64& value);

    // Finds the token at or after start: skips delimiters, sets start to the
    // token's first character and length to its number of characters, and
    // returns true. Without a token, start becomes 4294967295 (the
    // standard string's not-found position cut to 32 bits), length is left
    // as it was and the result is false. The caller adds length to start to
    // move on.
    bool token(const char* delimiters, unsigned int& start, unsigned int& length) const;
};

// Concatenation: a new StdString holding the first operand's characters
// followed by the second's. A StdString operand gives all of its characters,
// zero bytes included; a text gives the characters before its terminating
// zero (a null pointer gives none); a char gives itself, the zero byte too.
// Each operand order has its own overload, so that neither the base string's
// operator+ (whose result would lose everything behind a zero byte when made
// into a StdString) nor the pointer arithmetic of the conversion to
// const char* can be chosen. Costs one allocation for the result.
QUEN_API StdString operator+(const StdString& first, const StdString& second);
QUEN_API StdString operator+(const StdString& first, const char* second);
QUEN_API StdString operator+(const char* first, const StdString& second);
QUEN_API StdString operator+(const StdString& first, char second);
QUEN_API StdString operator+(char first, const StdString& second);

// Comparing with a zero-terminated text, in either order and for StdString
// and every class derived from it (FileString, WildString): the value and the
// text compare as strings, character by character ignoring case, the shorter
// ordering first when one is the start of the other. A text has no dynamic
// type, so unlike the comparison of two StdStrings, FileString("abc") == "ABC"
// is true. The whole value takes part, zero bytes included; the text ends at
// its terminating zero, and a null pointer stands for the empty text.
// Orderings between two StdStrings (of any derived types) are the base
// string's. These are templates over the derived type, taking the text as a
// pointer to a deduced char, so that they beat a descendant's member
// operator==, the base string's operators and the built-in comparison of the
// pointers the conversion yields, and never take part when both operands are
// strings (a string does not convert to a text during deduction).
namespace stdstring_detail {
template <typename S, typename C>
using IfStringAndText =
    std::enable_if_t<std::is_base_of<StdString, S>::value && std::is_same<C, char>::value, bool>;

inline int compare(const StdString::BaseString& value, const char* text) {
    return value.compare(text == nullptr ? "" : text);
}
}  // namespace stdstring_detail

template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator==(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) == 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator==(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) == 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator!=(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) != 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator!=(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) != 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator<(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) < 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator<(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) > 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator<=(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) <= 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator<=(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) >= 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator>(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) > 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator>(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) < 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator>=(const S& s, const C* text) {
    return stdstring_detail::compare(s, text) >= 0;
}
template <typename S, typename C, stdstring_detail::IfStringAndText<S, C> = true>
bool operator>=(const C* text, const S& s) {
    return stdstring_detail::compare(s, text) <= 0;
}

}  // namespace quen

#endif
