#include "quen/strings/FileString.h"

namespace quen {
namespace {

const char* const separators = "\\/";

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The decimal digits that a numbered series counts with. The library never
// changes the locale, and in the "C" locale isdigit accepts exactly these.
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

const char* FileString::version() {
    return "FileString 1.0, 15.09.1999";
}

FileString::FileString() = default;

FileString::FileString(char c) : StdString(c) {}

FileString::FileString(const char* s) : StdString(s) {}

FileString::FileString(const BaseString& s) : StdString(s) {}

FileString::FileString(const FileString& s) : StdString(s) {}

FileString::~FileString() = default;

FileString& FileString::operator=(const FileString& s) {
    StdString::operator=(s);  // leaves a self-assignment alone
    return *this;
}

bool FileString::operator==(const FileString& other) const {
    return StdString::operator==(other);
}

FileString FileString::volumeName() const {
    if (size() < 2 || (*this)[0] != '|' || (*this)[1] != '|') {
        return FileString();
    }
    const size_type close = find('|', 2);
    if (close == npos || close + 1 >= size() || (*this)[close + 1] != '|') {
        return FileString();
    }
    return FileString(substr(2, close - 2));
}

FileString FileString::driveName() const {
    const size_type colon = find(':', 1);
    if (colon == npos) {
        return FileString();
    }
    return FileString(substr(colon - 1, 2));
}

char FileString::drive() const {
    const size_type colon = find(':', 1);
    return colon == npos ? '\0' : (*this)[colon - 1];
}

FileString FileString::pathName() const {
    const size_type mark = find_first_of(":|");
    if (mark == npos) {
        return *this;
    }
    // last: the position of the prefix's last character.
    size_type last = mark;
    if ((*this)[mark] == '|') {
        // The prefix runs to one beyond the bar that closes the label; an
        // unclosed label leaves a prefix of one character.
        const size_type close = find('|', mark + 2);
        last = close == npos ? 0 : close + 1;
    }
    // A closing bar at the very end ('||a|') puts the prefix's end beyond
    // the value; the path behind it is then empty, like that of 'D:'.
    const size_type rest = last + 1 < size() ? last + 1 : size();
    if (rest < size() && isSeparator((*this)[rest])) {
        return FileString(substr(rest));
    }
    FileString path('\\');
    path.append(*this, rest, npos);
    return path;
}

FileString FileString::driveAndDirectory() const {
    const size_type mark = find_first_of(":|");
    if (mark == npos || mark == 0 || (*this)[mark] == '|') {
        return FileString();
    }
    const size_type driveChar = mark - 1;
    const size_type separator = find_last_of(separators);
    // A separator in front of the drive character ('\a\b:c') closes no
    // directory of this drive.
    if (separator == npos || separator < driveChar) {
        return FileString();
    }
    return FileString(substr(driveChar, separator - driveChar + 1));
}

FileString FileString::directoryName() const {
    const FileString path = pathName();
    const size_type separator = path.find_last_of(separators);
    if (separator == npos) {
        return FileString();
    }
    return FileString(path.substr(0, separator));
}

FileString FileString::fileName() const {
    const size_type mark = find_last_of(":|/\\");
    if (mark == npos) {
        return *this;
    }
    return FileString(substr(mark + 1));
}

FileString FileString::extension() const {
    const size_type dot = rfind('.');
    if (dot == npos) {
        return FileString();
    }
    return FileString(substr(dot + 1));
}

FileString FileString::baseName() const {
    const FileString name = fileName();
    const size_type dot = name.rfind('.');
    if (dot == npos) {
        return name;
    }
    return FileString(name.substr(0, dot));
}

void FileString::increment() {
    const FileString ext = extension();
    const size_type dot = rfind('.');
    if (dot != npos) {
        erase(dot);
    }

    size_type run = size();
    while (run > 0 && isDigit((*this)[run - 1])) {
        --run;
    }
    // The number is read as decimal text of any length, so that no name of
    // a series wraps round or turns negative: leading zeros go, then one is
    // added digit by digit.
    size_type first = run;
    while (first < size() && (*this)[first] == '0') {
        ++first;
    }
    StdString::BaseString number(*this, first, npos);
    erase(run);

    size_type digit = number.size();
    while (digit > 0 && number[digit - 1] == '9') {
        number[--digit] = '0';
    }
    if (digit == 0) {
        number.insert(number.begin(), '1');  // 9...9 (or no number at all) grows by a digit
    } else {
        ++number[digit - 1];
    }
    append(number);

    if (!ext.empty()) {
        push_back('.');
        append(ext);
    }
}

}  // namespace quen
