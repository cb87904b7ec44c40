#include "quen/strings/StdString.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include "quen/errors/QuenException.h"
#include "quen/smart/SmartArray.h"
#include "quen/streams/BinStream.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

// Appends the decimal text of value, formatted on the stack.
template <typename Integer>
void appendDecimal(StdString::BaseString& target, Integer value) {
    char digits[24];  // 20 digits of a 64-bit value, a sign and room to spare
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    target.append(digits, static_cast<std::size_t>(end.ptr - digits));
}

const char* orEmpty(const char* s) {
    return s != nullptr ? s : "";
}

}  // namespace

const char* StdString::version() {
    return "StdString 1.0, 16.08.1999";
}

StdString::StdString() = default;

StdString::StdString(char c) : BaseString(1, c) {}

StdString::StdString(const char* s) : BaseString(orEmpty(s)) {}

StdString::StdString(const BaseString& s) : BaseString(s.c_str()) {}

StdString::StdString(const StdString& s) : BaseString(s.c_str()) {}

StdString::~StdString() = default;

unsigned int StdString::objectSize() const {
    return static_cast<unsigned int>(size()) + 5;
}

BinStream& StdString::output(BinStream& stream) const {
    const unsigned int count = static_cast<unsigned int>(size()) + 1;
    char bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((count >> (8 * i)) & 0xFF);
    }
    stream.write(bytes, 4);
    stream.throwOnError();
    stream.write(c_str(), count);  // the characters and the zero after them
    return stream;
}

BinStream& StdString::input(BinStream& stream) {
    char bytes[4];
    stream.read(bytes, 4);
    stream.throwOnError();
    unsigned int count = 0;
    for (int i = 0; i < 4; ++i) {
        count |= static_cast<unsigned int>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    if (count == 0) {
        clear();
        return stream;
    }
    // The count comes from the data: a damaged or hostile record must not
    // make us ask for up to 4 GiB. Where the stream knows how much is left,
    // a longer record is a read error before any buffer is obtained.
    long long left = -1;
    try {
        const long long end = stream.size();
        const long long here = stream.tellg();
        if (end >= 0 && here >= 0) {
            left = end - here;
        }
    } catch (const QuenException&) {
        // A stream without a size (a device, a pipe): its read will tell.
        stream.clear();
    }
    if (left >= 0 && static_cast<unsigned long long>(count) > static_cast<unsigned long long>(left)) {
        throw QuenException(utilityStrings(1));
    }
    SmartArray<char> buffer(new char[count]);
    stream.read(buffer.get(), count);
    const void* zero = std::memchr(buffer.get(), 0, count);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer.get()) : count;
    assign(buffer.get(), length);
    return stream;
}

StdString& StdString::operator=(const StdString& s) {
    if (this != &s) {
        assign(s.c_str());
    }
    return *this;
}

StdString::operator const char*() const {
    return c_str();
}

bool StdString::operator==(const StdString& other) const {
    if (typeid(*this) != typeid(other)) {
        return false;
    }
    return size() == other.size() && traits_type::compare(data(), other.data(), size()) == 0;
}

void StdString::toUpper() {
    for (char& c : *this) {
        c = static_cast<char>(std::toupper(static_cast<signed char>(c)));
    }
}

void StdString::toLower() {
    for (char& c : *this) {
        c = static_cast<char>(std::tolower(static_cast<signed char>(c)));
    }
}

const StdString& StdString::operator+=(const StdString& s) {
    append(s.data(), s.size());
    return *this;
}

const StdString& StdString::operator+=(const char* s) {
    append(orEmpty(s));
    return *this;
}

const StdString& StdString::operator+=(char c) {
    push_back(c);
    return *this;
}

const StdString& StdString::operator+=(unsigned char c) {
    push_back(static_cast<char>(c));
    return *this;
}

const StdString& StdString::operator+=(int value) {
    appendDecimal(*this, value);
    return *this;
}

const StdString& StdString::operator+=(unsigned int value) {
    appendDecimal(*this, value);
    return *this;
}

const StdString& StdString::operator+=(long value) {
    appendDecimal(*this, value);
    return *this;
}

const StdString& StdString::operator+=(unsigned long value) {
    appendDecimal(*this, value);
    return *this;
}

const StdString& StdString::operator+=(const __int64& value) {
    appendDecimal(*this, value);
    return *this;
}

const StdString& StdString::operator+=(const unsigned __int64& value) {
    appendDecimal(*this, value);
    return *this;
}

bool StdString::token(const char* delimiters, unsigned int& start, unsigned int& length) const {
    const unsigned int notFound = static_cast<unsigned int>(npos);
    const char* set = orEmpty(delimiters);
    const size_type first = start < size() ? find_first_not_of(set, start) : npos;
    if (first == npos) {
        start = notFound;
        return false;
    }
    const size_type next = find_first_of(set, first);
    start = static_cast<unsigned int>(first);
    length = static_cast<unsigned int>((next == npos ? size() : next) - first);
    return true;
}

// Each builds the result in one named object returned on every path, so it
// is constructed in place: the copy constructor, which stops at the first
// zero byte, is never used on it.
StdString operator+(const StdString& first, const StdString& second) {
    StdString result;
    result.reserve(first.size() + second.size());
    result.append(first.data(), first.size());
    result.append(second.data(), second.size());
    return result;
}

StdString operator+(const StdString& first, const char* second) {
    StdString result;
    second = orEmpty(second);
    const StdString::size_type length = StdString::traits_type::length(second);
    result.reserve(first.size() + length);
    result.append(first.data(), first.size());
    result.append(second, length);
    return result;
}

StdString operator+(const char* first, const StdString& second) {
    StdString result;
    first = orEmpty(first);
    const StdString::size_type length = StdString::traits_type::length(first);
    result.reserve(length + second.size());
    result.append(first, length);
    result.append(second.data(), second.size());
    return result;
}

StdString operator+(const StdString& first, char second) {
    StdString result;
    result.reserve(first.size() + 1);
    result.append(first.data(), first.size());
    result.push_back(second);
    return result;
}

StdString operator+(char first, const StdString& second) {
    StdString result;
    result.reserve(1 + second.size());
    result.push_back(first);
    result.append(second.data(), second.size());
    return result;
}

}  // namespace quen
