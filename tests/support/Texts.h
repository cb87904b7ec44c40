// What the suites compare as text.
#ifndef QUEN_TESTS_SUPPORT_TEXTS_H
#define QUEN_TESTS_SUPPORT_TEXTS_H

#include <string>

#include "quen/errors/QuenException.h"
#include "quen/strings/StdString.h"

namespace support {

// Every character of the string, NULs included, for gtest to compare and print.
inline std::string plain(const quen::StdString& s) { return std::string(s.data(), s.size()); }

// The text of the QuenException that work throws; "" when it throws none.
template <typename Work>
std::string thrown(Work&& work) {
    try {
        work();
    } catch (const quen::QuenException& error) {
        return error.what();
    }
    return "";
}

}  // namespace support

#endif
