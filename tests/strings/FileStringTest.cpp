#include <gtest/gtest.h>

#include <string>

#include "quen/strings/FileString.h"
#include "support/Texts.h"

using quen::FileString;
using quen::StdString;
using support::plain;

namespace {

// The parts of one name, as the accessors give them.
struct Parts {
    const char* value;
    const char* volumeName;
    const char* driveName;
    char drive;
    const char* pathName;
    const char* driveAndDirectory;
    const char* directoryName;
    const char* fileName;
    const char* extension;
    const char* baseName;
};

const Parts partsTable[] = {
    {"D:\\dir\\sub\\file.tar.gz", "", "D:", 'D', "\\dir\\sub\\file.tar.gz", "D:\\dir\\sub\\", "\\dir\\sub",
     "file.tar.gz", "gz", "file.tar"},
    {"D:file.txt", "", "D:", 'D', "\\file.txt", "", "", "file.txt", "txt", "file"},
    {"D:\\", "", "D:", 'D', "\\", "D:\\", "", "", "", ""},
    {"D:", "", "D:", 'D', "\\", "", "", "", "", ""},
    {"D:/dir/file.txt", "", "D:", 'D', "/dir/file.txt", "D:/dir/", "/dir", "file.txt", "txt", "file"},
    {"\\\\server\\share\\file", "", "", 0, "\\\\server\\share\\file", "", "\\\\server\\share", "file", "",
     "file"},
    {"dir\\file.txt", "", "", 0, "dir\\file.txt", "", "dir", "file.txt", "txt", "file"},
    {"file", "", "", 0, "file", "", "", "file", "", "file"},
    {"D:\\dir\\", "", "D:", 'D', "\\dir\\", "D:\\dir\\", "\\dir", "", "", ""},
    {"D:\\dir.d\\file", "", "D:", 'D', "\\dir.d\\file", "D:\\dir.d\\", "\\dir.d", "file", "d\\file", "file"},
    {"D:\\dir\\.profile", "", "D:", 'D', "\\dir\\.profile", "D:\\dir\\", "\\dir", ".profile", "profile", ""},
    // Volume form.
    {"||BACKUP1||\\dir\\file.txt", "BACKUP1", "", 0, "\\dir\\file.txt", "", "\\dir", "file.txt", "txt", "file"},
    {"||BACKUP1||file.txt", "BACKUP1", "", 0, "\\file.txt", "", "", "file.txt", "txt", "file"},
    // A drive character need not be a letter.
    {"abc:def", "", "c:", 'c', "\\def", "", "", "def", "", "def"},
    {"", "", "", 0, "", "", "", "", "", ""},
};

void expectParts(const Parts& row) {
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

std::string incremented(const char* value) {
    FileString name(value);
    name.increment();
    return plain(name);
}

}  // namespace

TEST(FileString, VersionBanner) {
    EXPECT_STREQ("FileString 1.0, 15.09.1999", FileString::version());
}

TEST(FileString, AccessorsSplitEveryForm) {
    for (const Parts& row : partsTable) {
        expectParts(row);
    }
}

TEST(FileString, AccessorsReturnFileStrings) {
    const FileString name("D:\\dir\\file.txt");
    EXPECT_TRUE(name.fileName() == FileString("FILE.TXT"));
    EXPECT_FALSE(name.fileName() == StdString("file.txt"));  // the types differ
    EXPECT_FALSE(StdString("file.txt") == name.fileName());
}

// Single parts of unusual names.
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
        {"D:file.txt", &FileString::driveAndDirectory, ""},
        {"||BACKUP1||\\dir\\file.txt", &FileString::driveAndDirectory, ""},
        {":\\dir\\file", &FileString::driveAndDirectory, ""},  // ':' at position 0
        {"\\ab:c", &FileString::driveAndDirectory, ""}, {"x\\ab:c", &FileString::driveAndDirectory, ""},
        {"\\ab:\\c", &FileString::driveAndDirectory, "b:\\"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.expected, plain((FileString(row.value).*row.part)())) << row.value;
    }
}

TEST(FileString, EqualityIgnoresCaseButNotSeparators) {
    EXPECT_TRUE(FileString("d:\\DIR\\a") == FileString("D:\\dir\\A"));
    EXPECT_FALSE(FileString("D:\\a") == FileString("D:/a"));
    EXPECT_TRUE(FileString("D:\\a") != FileString("D:/a"));
    EXPECT_FALSE(FileString("abc") == StdString("abc"));
    EXPECT_TRUE(FileString("abc") != StdString("abc"));
}

TEST(FileString, ConstructionAndAssignmentCopyUpToTheFirstZeroByte) {
    StdString withZero("ab");
    withZero += '\0';
    withZero += "cd";
    EXPECT_EQ("ab", plain(FileString(withZero)));
    EXPECT_EQ(std::string(1, 'x'), plain(FileString('x')));
    FileString name("D:\\x");
    name = FileString("E:\\y");
    EXPECT_EQ("E:\\y", plain(name));
    FileString& same = name;
    name = same;
    EXPECT_EQ("E:\\y", plain(name));
}

TEST(FileString, IncrementNumbersASeries) {
    const struct {
        const char* before;
        const char* after;
    } rows[] = {
        {"D:\\dir\\file7.txt", "D:\\dir\\file8.txt"},
        {"D:\\dir\\file.txt", "D:\\dir\\file1.txt"},
        {"D:\\dir\\file099.txt", "D:\\dir\\file100.txt"},
        {"D:\\dir\\file009.txt", "D:\\dir\\file10.txt"},
        {"file-3.txt", "file-4.txt"},
        {"file", "file1"},
        {"file.tar.gz", "file.tar1.gz"},
        {"name.", "name1"},
        {".txt", "1.txt"},
        {"123", "124"},
        {"", "1"},
        {"D:\\dir.d\\file", "D:\\dir1.d\\file"},
        {"file000.txt", "file1.txt"},
        {"file9", "file10"},
        // Beyond the range of an int and of 64 bits.
        {"log2147483647.txt", "log2147483648.txt"},
        {"log4294967295.txt", "log4294967296.txt"},
        {"x99999999999999999999", "x100000000000000000000"},
        {"x18446744073709551615", "x18446744073709551616"},
        {"a0012345678901234567890123456789.b", "a12345678901234567890123456790.b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.after, incremented(row.before)) << "before: '" << row.before << "'";
    }
}

TEST(FileString, IncrementCountsBeyondTheRangeOfAnInt) {
    const std::string nines(5000, '9');
    EXPECT_EQ("n1" + std::string(5000, '0'), incremented(("n" + nines).c_str()));
}

TEST(FileString, IncrementRepeatedlyWalksTheSeries) {
    FileString name("D:\\scan\\page98.tif");
    name.increment();
    name.increment();
    name.increment();
    EXPECT_EQ("D:\\scan\\page101.tif", plain(name));
}
