#include <gtest/gtest.h>

#include <string>

#include "quen/strings/FileString.h"
#include "support/Texts.h"

using quen::FileString;
using quen::StdString;
using support::plain;

TEST(FileString, AccessorsSplitEveryForm) {
    const struct {
        const char *value, *volumeName, *driveName;
        char drive;
        const char *pathName, *driveAndDirectory, *directoryName, *fileName, *extension, *baseName;
    } rows[] = {
        {"D:\\dir\\sub\\file.tar.gz", "", "D:", 'D', "\\dir\\sub\\file.tar.gz", "D:\\dir\\sub\\", "\\dir\\sub",
         "file.tar.gz", "gz", "file.tar"},
        {"D:file.txt", "", "D:", 'D', "\\file.txt", "", "", "file.txt", "txt", "file"},
        {"D:\\", "", "D:", 'D', "\\", "D:\\", "", "", "", ""},
        {"D:", "", "D:", 'D', "\\", "", "", "", "", ""},
        {"D:/dir/file.txt", "", "D:", 'D', "/dir/file.txt", "D:/dir/", "/dir", "file.txt", "txt", "file"},
        {"\\\\server\\share\\file", "", "", 0, "\\\\server\\share\\file", "", "\\\\server\\share", "file", "", "file"},
        {"dir\\file.txt", "", "", 0, "dir\\file.txt", "", "dir", "file.txt", "txt", "file"},
        {"file", "", "", 0, "file", "", "", "file", "", "file"},
        {"D:\\dir\\", "", "D:", 'D', "\\dir\\", "D:\\dir\\", "\\dir", "", "", ""},
        {"D:\\dir.d\\file", "", "D:", 'D', "\\dir.d\\file", "D:\\dir.d\\", "\\dir.d", "file", "d\\file", "file"},
        {"D:\\dir\\.profile", "", "D:", 'D', "\\dir\\.profile", "D:\\dir\\", "\\dir", ".profile", "profile", ""},
        {"||BACKUP1||\\dir\\file.txt", "BACKUP1", "", 0, "\\dir\\file.txt", "", "\\dir", "file.txt", "txt", "file"},
        {"||BACKUP1||file.txt", "BACKUP1", "", 0, "\\file.txt", "", "", "file.txt", "txt", "file"},
        {"abc:def", "", "c:", 'c', "\\def", "", "", "def", "", "def"},  // any drive character
        {"", "", "", 0, "", "", "", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("value '") + row.value + "'");
        const FileString name(row.value);
        EXPECT_EQ(row.volumeName, plain(name.volumeName()));
        EXPECT_EQ(row.driveName, plain(name.driveName()));
        EXPECT_EQ(row.drive, name.drive());
        EXPECT_EQ(row.pathName, plain(name.pathName()));
        EXPECT_EQ(row.driveAndDirectory, plain(name.driveAndDirectory()));
        EXPECT_EQ(row.directoryName, plain(name.directoryName()));
        EXPECT_EQ(row.fileName, plain(name.fileName()));
        EXPECT_EQ(row.extension, plain(name.extension()));
        EXPECT_EQ(row.baseName, plain(name.baseName()));
        EXPECT_EQ(row.value, plain(name));  // the accessors leave the value alone
    }
}

// Single parts of unusual names: accessors never read past the value.
TEST(FileString, OddNamesSplitWithinTheValue) {
    using Part = FileString (FileString::*)() const;
    const struct {
        const char* value;
        Part part;
        const char* expected;
    } rows[] = {
        // An unclosed or malformed volume prefix gives no volume.
        {"||BACKUP1|x", &FileString::volumeName, ""}, {"|BACKUP1||x", &FileString::volumeName, ""},
        {"||BACKUP1", &FileString::volumeName, ""}, {"||", &FileString::volumeName, ""},
        {"||||x", &FileString::volumeName, ""},  // an empty label
        {"||||x", &FileString::pathName, "\\x"},
        // The closing bar is the value's last character: nothing follows the
        // prefix. A bar without its partner makes a prefix of the first character.
        {"||a|", &FileString::pathName, "\\"}, {"||a||", &FileString::pathName, "\\"},
        {"||BACKUP1|x", &FileString::pathName, "\\"}, {"a|b", &FileString::pathName, "\\|b"},
        {"a|b", &FileString::fileName, "b"},
        // The directory needs a separator behind the drive character, not in front.
        {"||BACKUP1||\\dir\\file.txt", &FileString::driveAndDirectory, ""},
        {":\\dir\\file", &FileString::driveAndDirectory, ""},  // ':' at position 0
        {"\\ab:c", &FileString::driveAndDirectory, ""}, {"x\\ab:c", &FileString::driveAndDirectory, ""},
        {"\\ab:\\c", &FileString::driveAndDirectory, "b:\\"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.expected, plain((FileString(row.value).*row.part)())) << row.value;
    }
}

TEST(FileString, EqualityIgnoresCaseButNotSeparatorsNorTypes) {
    EXPECT_TRUE(FileString("d:\\DIR\\a") == FileString("D:\\dir\\A"));
    EXPECT_TRUE(FileString("D:\\a") != FileString("D:/a"));
    EXPECT_TRUE(FileString("abc") != StdString("abc"));
    const FileString name("D:\\dir\\file.txt");
    EXPECT_TRUE(name.fileName() == FileString("FILE.TXT"));  // accessors give FileStrings
    EXPECT_FALSE(StdString("file.txt") == name.fileName());
}

TEST(FileString, CopiesTakeTheValueUpToTheFirstZeroByte) {
    StdString withZero("ab");
    withZero += '\0';
    withZero += "cd";
    EXPECT_EQ("ab", plain(FileString(withZero)));
    EXPECT_EQ("x", plain(FileString('x')));
    FileString name("D:\\x");
    name = FileString("E:\\y");
    const FileString& same = name;
    name = same;
    EXPECT_EQ("E:\\y", plain(FileString(name)));
}

TEST(FileString, IncrementNumbersASeriesWithoutLimit) {
    const std::string nines(5000, '9');
    const std::pair<std::string, std::string> rows[] = {
        {"D:\\dir\\file7.txt", "D:\\dir\\file8.txt"},
        {"D:\\dir\\file.txt", "D:\\dir\\file1.txt"},
        {"D:\\dir\\file099.txt", "D:\\dir\\file100.txt"},
        {"D:\\dir\\file009.txt", "D:\\dir\\file10.txt"},  // leading zeros go
        {"file-3.txt", "file-4.txt"},
        {"file", "file1"},
        {"file.tar.gz", "file.tar1.gz"},
        {"name.", "name1"},
        {".txt", "1.txt"},
        {"", "1"},
        {"D:\\dir.d\\file", "D:\\dir1.d\\file"},
        {"file000.txt", "file1.txt"},
        {"file9", "file10"},
        // Beyond the range of an int and of 64 bits.
        {"log2147483647.txt", "log2147483648.txt"},
        {"x18446744073709551615", "x18446744073709551616"},
        {"a0012345678901234567890123456789.b", "a12345678901234567890123456790.b"},
        {"n" + nines, "n1" + std::string(5000, '0')},
    };
    for (const auto& row : rows) {
        FileString name(row.first.c_str());
        name.increment();
        EXPECT_EQ(row.second, plain(name)) << "before: '" << row.first << "'";
    }
}
