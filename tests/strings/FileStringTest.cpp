#include <gtest/gtest.h>

#include <string>

#include "quen/strings/FileString.h"
#include "support/Texts.h"

using quen::FileString;
using quen::StdString;
using support::plain;

namespace {

// Every part of a name, joined by '#': volume, drive name, drive character,
// path, drive and directory, directory, file name, extension, base name.
std::string parts(const FileString& name) {
    std::string result;
    for (const auto part : {&FileString::volumeName, &FileString::driveName, &FileString::pathName,
                            &FileString::driveAndDirectory, &FileString::directoryName, &FileString::fileName,
                            &FileString::extension, &FileString::baseName}) {
        result += plain((name.*part)()) + "#";
        if (part == &FileString::driveName) result += (name.drive() != '\0' ? std::string(1, name.drive()) : "") + "#";
    }
    return result;
}

}  // namespace

// Accessors never fail and never read past the value: a part that is not
// there is empty.
TEST(FileString, AccessorsSplitEveryForm) {
    const std::pair<std::string, std::string> rows[] = {
        {"D:\\dir\\sub\\file.tar.gz", "#D:#D#\\dir\\sub\\file.tar.gz#D:\\dir\\sub\\#\\dir\\sub#file.tar.gz#gz#file.tar#"},
        {"D:file.txt", "#D:#D#\\file.txt###file.txt#txt#file#"},
        {"D:\\", "#D:#D#\\#D:\\#####"},
        {"D:", "#D:#D#\\######"},
        {"D:/dir/file.txt", "#D:#D#/dir/file.txt#D:/dir/#/dir#file.txt#txt#file#"},
        {"\\\\server\\share\\file", "###\\\\server\\share\\file##\\\\server\\share#file##file#"},
        {"dir\\file.txt", "###dir\\file.txt##dir#file.txt#txt#file#"},
        {"file", "###file###file##file#"},
        {"D:\\dir\\", "#D:#D#\\dir\\#D:\\dir\\#\\dir####"},
        {"D:\\dir.d\\file", "#D:#D#\\dir.d\\file#D:\\dir.d\\#\\dir.d#file#d\\file#file#"},
        {"D:\\dir\\.profile", "#D:#D#\\dir\\.profile#D:\\dir\\#\\dir#.profile#profile##"},
        {"||BACKUP1||\\dir\\file.txt", "BACKUP1###\\dir\\file.txt##\\dir#file.txt#txt#file#"},
        {"||BACKUP1||file.txt", "BACKUP1###\\file.txt###file.txt#txt#file#"},
        {"abc:def", "#c:#c#\\def###def##def#"},  // any drive character
        {"", "#########"},
    };
    for (const auto& row : rows) {
        const FileString name(row.first.c_str());
        EXPECT_EQ(row.second, parts(name)) << row.first;
        EXPECT_EQ(row.first, plain(name));  // the accessors leave the value alone
    }
}

// Single parts of unusual names, within the value.
TEST(FileString, OddNamesSplitWithinTheValue) {
    const struct {
        const char* value;
        FileString (FileString::*part)() const;
        const char* expected;
    } rows[] = {
        // An unclosed or malformed volume prefix gives no volume; an empty label an empty one.
        {"||BACKUP1|x", &FileString::volumeName, ""}, {"|BACKUP1||x", &FileString::volumeName, ""},
        {"||BACKUP1", &FileString::volumeName, ""},   {"||", &FileString::volumeName, ""},
        {"||||x", &FileString::volumeName, ""},       {"||||x", &FileString::pathName, "\\x"},
        // A closing bar at the value's end leaves the path '\'; a bar without
        // its partner makes a prefix of the first character.
        {"||a|", &FileString::pathName, "\\"},       {"||a||", &FileString::pathName, "\\"},
        {"||BACKUP1|x", &FileString::pathName, "\\"}, {"a|b", &FileString::pathName, "\\|b"},
        {"a|b", &FileString::fileName, "b"},
        // The directory needs a separator behind the drive character, not in front.
        {"||BACKUP1||\\dir\\file.txt", &FileString::driveAndDirectory, ""},
        {":\\dir\\file", &FileString::driveAndDirectory, ""},  {"\\ab:c", &FileString::driveAndDirectory, ""},
        {"x\\ab:c", &FileString::driveAndDirectory, ""}, {"\\ab:\\c", &FileString::driveAndDirectory, "b:\\"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.expected, plain((FileString(row.value).*row.part)())) << row.value;
}

TEST(FileString, EqualityIgnoresCaseButNotSeparatorsNorTypes) {
    EXPECT_TRUE(FileString("d:\\DIR\\a") == FileString("D:\\dir\\A"));
    EXPECT_TRUE(FileString("D:\\a") != FileString("D:/a"));
    EXPECT_TRUE(FileString("abc") != StdString("abc"));
    EXPECT_TRUE(FileString("D:\\file.txt").fileName() == FileString("FILE.TXT"));  // accessors give FileStrings
    EXPECT_FALSE(StdString("file.txt") == FileString("D:\\file.txt").fileName());
    StdString withZero("ab");
    withZero += '\0';
    FileString name("D:\\x");
    name = FileString(withZero + "cd");  // copies stop at a zero byte
    const FileString& same = name;
    name = same;
    EXPECT_EQ("ab", plain(FileString(name)));
    EXPECT_EQ("x", plain(FileString('x')));
}

// The decimal run before the extension counts up as a digit string of any
// length, so a series never wraps round or turns negative.
TEST(FileString, IncrementNumbersASeriesWithoutLimit) {
    const std::string nines(5000, '9');
    const std::pair<std::string, std::string> rows[] = {
        {"D:\\dir\\file7.txt", "D:\\dir\\file8.txt"},     {"D:\\dir\\file.txt", "D:\\dir\\file1.txt"},
        {"D:\\dir\\file099.txt", "D:\\dir\\file100.txt"}, {"D:\\dir\\file009.txt", "D:\\dir\\file10.txt"},
        {"file-3.txt", "file-4.txt"},                     {"file", "file1"},
        {"file.tar.gz", "file.tar1.gz"},                  {"name.", "name1"},
        {".txt", "1.txt"},                                {"", "1"},
        {"D:\\dir.d\\file", "D:\\dir1.d\\file"},          {"file000.txt", "file1.txt"},
        {"log2147483647.txt", "log2147483648.txt"},       {"x18446744073709551615", "x18446744073709551616"},
        {"a0012345678901234567890123456789.b", "a12345678901234567890123456790.b"},
        {"n" + nines, "n1" + std::string(5000, '0')},
    };
    for (const auto& row : rows) {
        FileString name(row.first.c_str());
        name.increment();
        EXPECT_EQ(row.second, plain(name)) << "before: '" << row.first << "'";
    }
}
