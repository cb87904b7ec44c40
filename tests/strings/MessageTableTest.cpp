#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/strings/FileString.h"
#include "quen/strings/UtilityStrings.h"
#include "quen/strings/WildString.h"
#include "support/Texts.h"

using quen::utilityStrings;
using support::plain;

namespace {

// A reader of a module that has no string table at all: the program itself.
class ProgramStrings : public quen::StringTable {
public:
    void* instance() const override { return nullptr; }
};

}  // namespace

TEST(MessageTable, BannersAndTheTwentyMessagesExactly) {
    const std::pair<std::string, std::string> banners[] = {
        {"StdString 1.0, 16.08.1999", quen::StdString::version()},
        {"FileString 1.0, 15.09.1999", quen::FileString::version()},
        {"WildString 1.0, 16.08.1999", quen::WildString::version()},
        {"StringTable<> 1.0, 21.12.1999", quen::StringTable::version()},
    };
    for (const auto& banner : banners) {
        EXPECT_EQ(banner.first, banner.second);
    }
    const char* const messages[] = {
        "File READ error", "File WRITE error", "File SEEK error", "File TELL error", "File OPEN error",
        "File CLOSE error", "File BAD FILE error", "File NOT FOUND error", "Please insert volume named:\n",
        "\ncontaining file named:\n", "Invalid drive specified", " with mode ", "File INVALID OPERATION error",
        "Cannot shift to higher offsets", "Memory ALLOCATION error", "File WRITE READ-ONLY error",
        "Enumeration error", "Invlaid Registry value type", "Not yet implemented: ", "File SIZE error",
    };
    for (int id = 1; id <= 20; ++id) {
        EXPECT_EQ(messages[id - 1], plain(utilityStrings(id))) << "message " << id;
    }
}

TEST(MessageTable, IdsOutsideTheTableThrowInvalidResourceId) {
    // Beyond 16 bits too, though LoadStringA would find the text of the low 16.
    for (const int id : {0, 21, -1, 65535, 65536, 65537, -65535, 131084, INT_MIN, INT_MAX}) {
        EXPECT_EQ("Invalid resource id", support::thrown([&] { utilityStrings(id); })) << id;
    }
    EXPECT_EQ("Invalid resource id", support::thrown([] { ProgramStrings()[1]; }));  // a module without a table
    char text[64] = {0};
    EXPECT_EQ(0, LoadStringA(nullptr, 1, text, sizeof text));
}

TEST(MessageTable, IsReadFromTheLibrarysOwnModuleByEveryReader) {
    quen::UtilityStrings strings;
    const quen::UtilityStrings second;
    ASSERT_NE(nullptr, strings.instance());
    EXPECT_EQ(strings.instance(), second.instance());
    EXPECT_EQ("File SIZE error", plain(second[20]));
    const HINSTANCE module = static_cast<HINSTANCE>(strings.instance());
    char text[64] = {0};
    EXPECT_EQ(15, LoadStringA(module, 1, text, sizeof text));
    EXPECT_STREQ("File READ error", text);
    // LoadStringA cuts a text to the buffer and keeps the terminating zero.
    EXPECT_EQ(4, LoadStringA(module, 1, text, 5));
    EXPECT_STREQ("File", text);
    // Only the low 16 bits of the id count, as on Windows.
    EXPECT_EQ(11, LoadStringA(module, 131084, text, sizeof text));
    EXPECT_STREQ(" with mode ", text);
}
