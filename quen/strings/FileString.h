// A file name that knows its parts: the drive or volume prefix, the path
// behind it, the directory, the file name, its base name and its extension.
// Pure text: nothing is looked up on disk and no part is checked for
// validity.
//
// Three forms are understood:
//   drive form   'D:\dir\file.txt'          (any character may stand before ':')
//   volume form  '||BACKUP1||\dir\file.txt' (the medium's label between '||' pairs)
//   plain        '\dir\file.txt', 'dir\file.txt', 'file.txt'
// '\' and '/' separate directories interchangeably; they are not normalised.
#ifndef QUEN_STRINGS_FILESTRING_H
#define QUEN_STRINGS_FILESTRING_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

class QUEN_API FileString : public StdString {
public:
    static const char* version();

    FileString();
    FileString(char c);
    FileString(const char* s);
    // Both copy the characters up to the source's first zero byte, as the
    // StdString constructors do. A StdString converts through the first.
    FileString(const BaseString& s);
    FileString(const FileString& s);
    ~FileString() override;

    FileString& operator=(const FileString& s);

    // False when the dynamic types differ; otherwise equal lengths and
    // characters equal ignoring case. 'D:\a' and 'D:/a' are different names.
    bool operator==(const FileString& other) const;
    bool operator!=(const FileString& other) const { return !(*this == other); }
    // Comparing with a plain StdString must see the differing types rather
    // than convert the StdString into a FileString first.
    using StdString::operator==;
    using StdString::operator!=;

    // Each accessor leaves the value alone and returns the part; an absent
    // part is empty (drive() gives the character 0).
    FileString volumeName() const;         // 'BACKUP1' of '||BACKUP1||\dir\file.txt'
    FileString driveName() const;          // 'D:' of 'D:\dir\file.txt'
    char drive() const;                    // 'D' of 'D:\dir\file.txt'
    FileString pathName() const;           // '\dir\file.txt', always from a separator on
    FileString driveAndDirectory() const;  // 'D:\dir\' of 'D:\dir\file.txt'
    FileString directoryName() const;      // '\dir' of 'D:\dir\file.txt'
    FileString fileName() const;           // 'file.txt'
    FileString extension() const;          // 'txt': after the value's last '.'
    FileString baseName() const;           // 'file': the file name before its last '.'

    // Turns the value into the next name of a numbered series: the decimal
    // number at the end of the name (before the extension) goes up by one,
    // 'file7.txt' -> 'file8.txt', 'file.txt' -> 'file1.txt'. The number may
    // have any number of digits; leading zeros are not kept.
    void increment();
};

}  // namespace quen

#endif
