#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <clocale>
#include <string>
#include <thread>
#include <vector>

#include "quen/platform/Win32.h"
#include "quen/strings/FileString.h"
#include "quen/strings/UtilityStrings.h"
#include "quen/strings/WildString.h"
#include "support/Locales.h"
#include "support/Texts.h"

using quen::FileString;
using quen::StdString;
using quen::WildString;
using quen::utilityStrings;
using support::plain;

namespace {

// A string type of its own, to check that equality looks at dynamic types.
class OtherString : public StdString {
public:
    using StdString::StdString;
};

// All twelve comparisons of a string of type S with a text, in both operand
// orders (each must also compile unambiguously, which clang once refused).
template <typename S>
void expectOrderedAgainstText(const S& value, const char* text, int sign) {
    const bool got[] = {value == text, text == value, value != text, text != value, value < text,  text > value,
                        value <= text, text >= value, value > text,  text < value,  value >= text, text <= value};
    const bool want[] = {sign == 0, sign == 0, sign != 0, sign != 0, sign < 0,  sign < 0,
                         sign <= 0, sign <= 0, sign > 0,  sign > 0,  sign >= 0, sign >= 0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(want[i], got[i]) << plain(value) << " vs " << (text == nullptr ? "null" : text) << ", comparison " << i;
    }
}

// A reader of a module that has no string table at all: the program itself.
class ProgramStrings : public quen::StringTable {
public:
    void* instance() const override { return nullptr; }
};

StdString withZero() {  // "ab\0cd"
    StdString s("ab");
    s += '\0';
    s += "cd";
    return s + "";
}

}  // namespace

// Between two strings equality ignores case but requires equal dynamic
// types; beside a text, which has no type, every comparison ignores case.
TEST(StdString, ComparisonsIgnoreCaseAndEqualityOfStringsNeedsTheSameType) {
    EXPECT_TRUE(StdString("abc") == StdString("ABC") && OtherString("abc") == OtherString("AbC"));
    EXPECT_FALSE(StdString("abc") == StdString("abcd") || StdString("abc") == OtherString("abc") ||
                 OtherString("abc") == StdString("abc"));
    EXPECT_TRUE(static_cast<const StdString&>(OtherString("x")) != StdString("x"));
    EXPECT_TRUE(StdString("a") < StdString("B"));  // the base string's ordering, folded
    const struct { const char *value, *text; int sign; } cases[] = {
        {"abc", "ABC", 0}, {"abc", "abd", -1}, {"b", "ABC", 1}, {"ab", "abc", -1},
        {"abc", "ab", 1},  {"", "", 0},        {"", "a", -1},   {"\xE9", "A", -1},  // 0xE9 is a negative char
    };
    for (const auto& c : cases) {
        expectOrderedAgainstText(StdString(c.value), c.text, c.sign);
        expectOrderedAgainstText(FileString(c.value), c.text, c.sign);
        expectOrderedAgainstText(WildString(c.value), c.text, c.sign);
        expectOrderedAgainstText(OtherString(c.value), c.text, c.sign);
    }
    // The whole value takes part; the text ends at its zero; null is empty.
    expectOrderedAgainstText(withZero(), "ab", 1);
    expectOrderedAgainstText(StdString(), static_cast<const char*>(nullptr), 0);
    expectOrderedAgainstText(FileString("a"), static_cast<const char*>(nullptr), 1);
}

TEST(StdString, FoldingFollowsTheLocaleInForceInEveryThread) {
    // A worker folds in the C locale, then the main thread sets a Latin-1
    // locale: from then on both fold as toupper does there.
    EXPECT_TRUE(support::foldsAsToupper());
    EXPECT_FALSE(quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    std::atomic<int> stage{0};
    bool latin1Set = false;
    std::thread worker([&] {
        EXPECT_TRUE(support::foldsAsToupper());
        for (stage = 1; stage != 2;) std::this_thread::yield();
        EXPECT_TRUE(support::foldsAsToupper());
        EXPECT_EQ(latin1Set, quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    });
    while (stage != 1) std::this_thread::yield();
    latin1Set = std::setlocale(LC_CTYPE, support::latin1Locale()) != nullptr;
    stage = 2;
    worker.join();
    EXPECT_TRUE(support::foldsAsToupper());
    std::setlocale(LC_CTYPE, "C");
    EXPECT_TRUE(latin1Set) << support::latin1Locale();
}

// Every search gives exactly what the base string's member gives: on short
// texts (byte by byte) and long ones (sixteen bytes at a time), with needles
// that nearly match everywhere, or cut from the text with one byte changed.
TEST(StdString, SearchesAgreeWithThePositionByPositionSearch) {
    EXPECT_TRUE(support::searchesAsTheBaseString(std::string("aAbBx\xC9\xE9 "), 7));
    const std::size_t found[] = {StdString("abcABC").find(StdString("aBC"), 1), StdString("abcABC").rfind(StdString("aBC"), 2),
                                 StdString("axb").find_first_of("X"), StdString("abc").find("", 4), StdString("abc").rfind("")};
    EXPECT_EQ((std::vector<std::size_t>{3, 0, 1, StdString::npos, 3}), std::vector<std::size_t>(found, found + 5));
}

TEST(StdString, CopiesStopAtTheFirstZeroByteAndTextsAreNeverNull) {
    const StdString five = withZero();
    ASSERT_EQ(5u, five.size());
    StdString assigned("zzzzzz");
    assigned = five;
    assigned = static_cast<const StdString&>(assigned);
    const std::pair<std::string, std::string> rows[] = {
        {"ab", plain(StdString(five))}, {"ab", plain(assigned)}, {"x", plain(StdString(StdString::BaseString("x\0y", 3)))},
        {std::string(1, '\0'), plain(StdString('\0'))}, {"", plain(StdString(static_cast<const char*>(nullptr)))},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
    EXPECT_STREQ("", static_cast<const char*>(StdString()));  // never null
    StdString indexed("abc 1z");
    indexed[0] = 'X';
    EXPECT_EQ('b', indexed[1u]);
    indexed.toUpper();
    EXPECT_EQ("XBC 1Z", plain(indexed));
    indexed.toLower();
    EXPECT_EQ("xbc 1z", plain(indexed));
}

TEST(StdString, AppendsCharactersAsCharactersAndIntegersAsDecimals) {
    const auto text = [](const auto& value) {
        StdString t("=");
        EXPECT_EQ(&t, &(t += value));
        return plain(t);
    };
    const __int64 smallest = LLONG_MIN;
    const unsigned __int64 largest = ULLONG_MAX;
    const std::pair<std::string, std::string> rows[] = {
        {"=A", text(static_cast<unsigned char>(65))}, {"=b", text('b')}, {"=cd", text("cd")},
        {"=", text(static_cast<const char*>(nullptr))}, {std::string("=\0", 2), text(StdString('\0'))},
        {"=-5", text(-5)}, {"=0", text(0)}, {"=4294967295", text(4294967295u)}, {"=-2147483648", text(INT_MIN)},
        {"=-123456", text(-123456L)}, {"=123456", text(123456UL)}, {"=-9223372036854775808", text(smallest)},
        {"=18446744073709551615", text(largest)},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}

TEST(StdString, JoiningWithTextsCharactersAndStringsKeepsEveryByte) {
    const StdString w = withZero();
    const std::string kept("ab\0cd", 5);
    const char* const none = nullptr;
    const StdString empty;
    const std::pair<std::string, std::string> rows[] = {
        {kept + "x", plain(w + "x")}, {kept + "x", plain(w + 'x')}, {kept + "x", plain(w + StdString("x"))},
        {"x" + kept, plain("x" + w)}, {"x" + kept, plain('x' + w)}, {kept + std::string(1, '\0'), plain(w + '\0')},
        {kept + kept, plain(w + w)},  {kept, plain(w + none)},      {kept, plain(none + w)},
        {"x", plain(empty + 'x')},    {"x", plain('x' + empty)},    {"x", plain(empty + "x")},
        {"x", plain("x" + empty)},    {"", plain(empty + empty)},   {"<D:\\f.txt>", plain('<' + FileString("D:\\f") + ".txt>")},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
    EXPECT_EQ(kept, plain(w));  // the operands are left alone
}

TEST(StdString, TokenFindsTheNextTokenWithoutAdvancing) {
    // Delimiters compare ignoring case; none or "" takes the rest.
    const struct { const char *text, *delimiters; unsigned int start, wantStart, wantLength; } rows[] = {
        {"a,,bc", ",", 0, 0, 1},          {"a,,bc", ",", 1, 3, 2},         {"oneXtwo", "x", 3, 4, 3},
        {"a b c", "", 2, 2, 3},           {"a b c", nullptr, 1, 1, 4},     {"a,,bc", ",", 5, 4294967295u, 42},
        {"a,,bc", ",", 1000, 4294967295u, 42}, {",,,", ",", 0, 4294967295u, 42}, {"", ",", 0, 4294967295u, 42},
    };
    for (const auto& row : rows) {
        unsigned int start = row.start;
        unsigned int length = 42;  // left alone without a token
        EXPECT_EQ(row.wantStart != 4294967295u, StdString(row.text).token(row.delimiters, start, length)) << row.text;
        EXPECT_EQ(row.wantStart, start) << row.text << " from " << row.start;
        EXPECT_EQ(row.wantLength, length) << row.text << " from " << row.start;
    }
}

TEST(MessageTable, TheTwentyMessagesExactly) {
    const char* const messages[] = {
        "File READ error", "File WRITE error", "File SEEK error", "File TELL error", "File OPEN error", "File CLOSE error",
        "File BAD FILE error", "File NOT FOUND error", "Please insert volume named:\n", "\ncontaining file named:\n",
        "Invalid drive specified", " with mode ", "File INVALID OPERATION error", "Cannot shift to higher offsets",
        "Memory ALLOCATION error", "File WRITE READ-ONLY error", "Enumeration error", "Invlaid Registry value type",
        "Not yet implemented: ", "File SIZE error",
    };
    for (int id = 1; id <= 20; ++id) EXPECT_EQ(messages[id - 1], plain(utilityStrings(id))) << "message " << id;
}

TEST(MessageTable, IdsOutsideTheTableThrowInvalidResourceId) {
    // Beyond 16 bits too, though LoadStringA would find the text of the low 16.
    for (const int id : {0, 21, -1, 65535, 65536, 65537, -65535, 131084, INT_MIN, INT_MAX})
        EXPECT_EQ("Invalid resource id", support::thrown([&] { utilityStrings(id); })) << id;
    EXPECT_EQ("Invalid resource id", support::thrown([] { ProgramStrings()[1]; }));  // a module without a table
    char text[64] = {0};
    EXPECT_EQ(0, LoadStringA(nullptr, 1, text, sizeof text));
}

TEST(MessageTable, IsReadFromTheLibrarysOwnModuleByEveryReader) {
    const quen::UtilityStrings strings, second;
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
