#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/strings/UtilityStrings.h"
#include "support/Texts.h"

using quen::QuenException;
using quen::StdString;
using quen::utilityStrings;
using support::plain;

namespace {

// A reader of a module that has no string table at all: the program itself.
class ProgramStrings : public quen::StringTable {
public:
    void* instance() const override { return nullptr; }
};

}  // namespace

TEST(MessageTable, HoldsTheTwentyTextsExactly) {
    const char* const expected[] = {
        "File READ error",
        "File WRITE error",
        "File SEEK error",
        "File TELL error",
        "File OPEN error",
        "File CLOSE error",
        "File BAD FILE error",
        "File NOT FOUND error",
        "Please insert volume named:\n",
        "\ncontaining file named:\n",
        "Invalid drive specified",
        " with mode ",
        "File INVALID OPERATION error",
        "Cannot shift to higher offsets",
        "Memory ALLOCATION error",
        "File WRITE READ-ONLY error",
        "Enumeration error",
        "Invlaid Registry value type",
        "Not yet implemented: ",
        "File SIZE error",
    };
    for (int id = 1; id <= 20; ++id) {
        EXPECT_EQ(expected[id - 1], plain(utilityStrings(id))) << "message " << id;
    }
}

TEST(MessageTable, IdsOutsideTheTableThrowInvalidResourceId) {
    // Beyond 16 bits too, though LoadStringA would find the text of the low 16.
    for (const int id : {0, 21, -1, 1000, 65535, 65536, 65537, -65535, INT_MIN + 1, 131084, INT_MIN, INT_MAX}) {
        try {
            utilityStrings(id);
            ADD_FAILURE() << "no exception for id " << id;
        } catch (const QuenException& error) {
            EXPECT_STREQ("Invalid resource id", error.what());
        }
    }
}

TEST(MessageTable, IsReadFromTheLibrarysOwnModule) {
    quen::UtilityStrings strings;
    ASSERT_NE(nullptr, strings.instance());
    char text[64] = {0};
    EXPECT_EQ(15, LoadStringA(static_cast<HINSTANCE>(strings.instance()), 1, text, sizeof text));
    EXPECT_STREQ("File READ error", text);
    // LoadStringA cuts a text to the buffer and keeps the terminating zero.
    EXPECT_EQ(4, LoadStringA(static_cast<HINSTANCE>(strings.instance()), 1, text, 5));
    EXPECT_STREQ("File", text);
    // Only the low 16 bits of the id count, as on Windows.
    EXPECT_EQ(11, LoadStringA(static_cast<HINSTANCE>(strings.instance()), 131084, text, sizeof text));
    EXPECT_STREQ(" with mode ", text);
    EXPECT_EQ("File SIZE error", plain(strings[20]));
}

TEST(MessageTable, AModuleWithoutTheTableHasNoTexts) {
    char text[64] = {0};
    EXPECT_EQ(0, LoadStringA(nullptr, 1, text, sizeof text));
    const ProgramStrings program;
    EXPECT_THROW(program[1], QuenException);
}

TEST(MessageTable, SecondReaderIsAllowedAndReadsTheSameTable) {
    quen::UtilityStrings first;
    quen::UtilityStrings second;
    EXPECT_EQ(first.instance(), second.instance());
    EXPECT_EQ(" with mode ", plain(second[12]));
    EXPECT_STREQ("StringTable<> 1.0, 21.12.1999", quen::StringTable::version());
}
