#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <climits>
#include <clocale>
#include <random>
#include <string>
#include <thread>
#include <type_traits>

#include "quen/strings/FileString.h"
#include "quen/strings/StdString.h"
#include "quen/strings/WildString.h"
#include "support/Locales.h"
#include "support/Texts.h"

using quen::FileString;
using quen::StdString;
using quen::WildString;
using support::plain;

namespace {

// A string type of its own, to check that equality looks at dynamic types.
class OtherString : public StdString {
public:
    using StdString::StdString;
};

// Every comparison of a string of type S with a text, in both orders, against
// the sign that the text comparison should give.
template <typename S>
void expectOrderedAgainstText(const S& value, const char* text, int sign) {
    SCOPED_TRACE(plain(value) + " vs " + (text == nullptr ? "null" : text));
    EXPECT_EQ(sign == 0, value == text);
    EXPECT_EQ(sign == 0, text == value);
    EXPECT_EQ(sign != 0, value != text);
    EXPECT_EQ(sign != 0, text != value);
    EXPECT_EQ(sign < 0, value < text);
    EXPECT_EQ(sign > 0, text < value);
    EXPECT_EQ(sign <= 0, value <= text);
    EXPECT_EQ(sign >= 0, text <= value);
    EXPECT_EQ(sign > 0, value > text);
    EXPECT_EQ(sign < 0, text > value);
    EXPECT_EQ(sign >= 0, value >= text);
    EXPECT_EQ(sign <= 0, text >= value);
}

// Joining keeps the type StdString, whichever string type stands beside a
// text or a char; the base string's operator+ would give the base type.
template <typename S>
constexpr bool joinsToStdString() {
    const S* s = nullptr;
    return std::is_same<decltype(*s + "x"), StdString>::value && std::is_same<decltype("x" + *s), StdString>::value &&
           std::is_same<decltype(*s + 'x'), StdString>::value && std::is_same<decltype('x' + *s), StdString>::value &&
           std::is_same<decltype(*s + *s), StdString>::value;
}
static_assert(joinsToStdString<StdString>() && joinsToStdString<FileString>() && joinsToStdString<WildString>(),
              "operator+ with a text, a char or a string must give a StdString");

}  // namespace

TEST(StdString, VersionBanner) {
    EXPECT_STREQ("StdString 1.0, 16.08.1999", StdString::version());
}

TEST(StdString, EqualityIgnoresCaseAndRequiresTheSameDynamicType) {
    EXPECT_TRUE(StdString("abc") == StdString("ABC"));
    EXPECT_FALSE(StdString("abc") == StdString("abcd"));
    EXPECT_FALSE(StdString("abc") == OtherString("abc"));
    EXPECT_FALSE(OtherString("abc") == StdString("abc"));
    EXPECT_TRUE(OtherString("abc") == OtherString("AbC"));
    const StdString& asBase = OtherString("x");
    EXPECT_FALSE(asBase == StdString("x"));
}

TEST(StdString, SearchesIgnoreCase) {
    const StdString text("xxabc");
    EXPECT_EQ(2u, text.find("ABC"));
    EXPECT_EQ(2u, text.find("aBc"));
    EXPECT_EQ(2u, text.find('A'));
    EXPECT_EQ(4u, text.rfind('C'));
    EXPECT_EQ(1u, StdString("axb").find_first_of("X"));
    EXPECT_EQ(2u, StdString("aab").find_first_not_of("A"));
    EXPECT_EQ(StdString::npos, text.find("abd"));
}

TEST(StdString, OrderingFoldsCaseAndTreatsHighBytesAsNegative) {
    EXPECT_EQ(0, StdString("Hello").compare("hELLO"));
    EXPECT_LT(StdString("apple").compare("BANANA"), 0);
    EXPECT_TRUE(StdString("a") < StdString("B"));
    // 0xE9 is negative as a signed char, so it orders before every ASCII byte.
    EXPECT_LT(StdString("\xE9").compare("A"), 0);
    EXPECT_GT(StdString("A").compare("\xE9"), 0);
    EXPECT_LT(StdString("ab").compare("abc"), 0);
}

TEST(StdString, FoldingFollowsTheLocaleInForceInEveryThread) {
    // A worker folds in the C locale, the main thread then sets a Latin-1
    // locale: from then on both fold as toupper does there.
    EXPECT_TRUE(support::foldsAsToupper());
    EXPECT_FALSE(quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    std::atomic<int> stage{0};
    bool latin1Set = false;
    std::thread worker([&] {
        EXPECT_TRUE(support::foldsAsToupper());
        stage = 1;
        while (stage != 2) {
            std::this_thread::yield();
        }
        EXPECT_TRUE(support::foldsAsToupper());
        EXPECT_EQ(latin1Set, quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    });
    while (stage != 1) {
        std::this_thread::yield();
    }
    latin1Set = std::setlocale(LC_CTYPE, support::latin1Locale()) != nullptr;
    stage = 2;
    worker.join();
    EXPECT_TRUE(support::foldsAsToupper());
    std::setlocale(LC_CTYPE, "C");
    EXPECT_TRUE(latin1Set) << support::latin1Locale();
    EXPECT_FALSE(quen::ICharTraits<char>::eq('\xE9', '\xC9'));
}

TEST(StdString, FindScansLongTextsForBothCases) {
    std::string text(1000, 'z');
    text[997] = 'Q';
    const StdString haystack(text.c_str());
    EXPECT_EQ(997u, haystack.find('q'));
    EXPECT_EQ(997u, haystack.find("qZ"));
    EXPECT_EQ(StdString::npos, haystack.find("qq"));
    for (std::size_t at = 0; at < 20; ++at) {
        std::string shortText(20, '.');
        shortText[at] = 'k';
        EXPECT_EQ(at, StdString(shortText.c_str()).find('K')) << at;
    }
}

TEST(StdString, ConstructionAndAssignmentStopAtTheFirstZeroByte) {
    StdString withZero("ab");
    withZero += '\0';
    withZero += "cd";
    ASSERT_EQ(5u, withZero.size());
    EXPECT_EQ(2u, StdString(withZero).size());
    StdString assigned("zzzzzz");
    assigned = withZero;
    EXPECT_EQ("ab", plain(assigned));
    const StdString::BaseString base("x\0y", 3);
    EXPECT_EQ("x", plain(StdString(base)));

    StdString self("same");
    const StdString& alias = self;
    self = alias;
    EXPECT_EQ("same", plain(self));

    EXPECT_EQ(1u, StdString('\0').size());
    EXPECT_EQ("q", plain(StdString('q')));
    EXPECT_EQ("", plain(StdString()));
}

TEST(StdString, ConversionToCharPointerIsNeverNull) {
    const StdString empty;
    const char* text = empty;
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("", text);
    EXPECT_STREQ("abc", static_cast<const char*>(StdString("abc")));
    StdString indexed("abc");
    EXPECT_EQ('b', indexed[1]);
    indexed[0] = 'X';
    EXPECT_EQ("Xbc", plain(indexed));
}

TEST(StdString, CaseConversionInPlace) {
    StdString s("MiXeD 123 z");
    s.toUpper();
    EXPECT_EQ("MIXED 123 Z", plain(s));
    s.toLower();
    EXPECT_EQ("mixed 123 z", plain(s));
}

TEST(StdString, AppendsCharactersAndDecimalNumbers) {
    StdString s;
    s += static_cast<unsigned char>(65);
    s += 'b';
    s += "cd";
    EXPECT_EQ("Abcd", plain(s));

    const auto text = [](auto value) {
        StdString t;
        t += value;
        return plain(t);
    };
    EXPECT_EQ("-5", text(-5));
    EXPECT_EQ("0", text(0));
    EXPECT_EQ("4294967295", text(4294967295u));
    EXPECT_EQ("-2147483648", text(INT_MIN));
    EXPECT_EQ("-123456", text(-123456L));
    EXPECT_EQ("123456", text(123456UL));
    const __int64 smallest = LLONG_MIN;
    const unsigned __int64 largest = ULLONG_MAX;
    EXPECT_EQ("-9223372036854775808", text(smallest));
    EXPECT_EQ("18446744073709551615", text(largest));

    StdString withZero("a");
    StdString zero('\0');
    withZero += zero;
    EXPECT_EQ(2u, withZero.size());
    const StdString& result = (withZero += 7);
    EXPECT_EQ(&withZero, &result);
}

TEST(StdString, ConcatenationBuildsANewValue) {
    const StdString first("File OPEN error");
    const StdString joined = first + StdString("name.txt");
    EXPECT_EQ("File OPEN errorname.txt", plain(joined));
    EXPECT_EQ("File OPEN error", plain(first));
}

TEST(StdString, ComparesWithTextsIgnoringCaseWhateverItsDynamicType) {
    StdString withZero("ab");
    withZero += '\0';
    const struct {
        const char* value;
        const char* text;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0}, {"abc", "abd", -1}, {"b", "ABC", 1}, {"ab", "abc", -1},
        {"abc", "ab", 1},  {"", "", 0},        {"", "a", -1},   {"\xE9", "A", -1},
    };
    for (const auto& c : cases) {
        expectOrderedAgainstText(StdString(c.value), c.text, c.sign);
        expectOrderedAgainstText(FileString(c.value), c.text, c.sign);
        expectOrderedAgainstText(WildString(c.value), c.text, c.sign);
        expectOrderedAgainstText(OtherString(c.value), c.text, c.sign);
    }
    // The whole value takes part; the text ends at its zero; null is empty.
    expectOrderedAgainstText(withZero, "ab", 1);
    const char* const none = nullptr;
    expectOrderedAgainstText(StdString(), none, 0);
    expectOrderedAgainstText(FileString("a"), none, 1);
    // A string beside a string still requires the same dynamic type.
    EXPECT_TRUE(FileString("abc") == "ABC");
    EXPECT_FALSE(FileString("abc") == StdString("ABC"));
}

TEST(StdString, JoiningWithTextsAndCharactersKeepsEveryByte) {
    StdString w("ab");
    w += '\0';
    w += "cd";
    ASSERT_EQ(5u, w.size());
    const std::string kept("ab\0cd", 5);
    const StdString withText = w + "x";
    const StdString withChar = w + 'x';
    const StdString withString = w + StdString("x");
    const StdString textFirst = "x" + w;
    const StdString charFirst = 'x' + w;
    EXPECT_EQ(kept + "x", plain(withText));
    EXPECT_EQ(kept + "x", plain(withChar));
    EXPECT_EQ(kept + "x", plain(withString));
    EXPECT_EQ("x" + kept, plain(textFirst));
    EXPECT_EQ("x" + kept, plain(charFirst));
    EXPECT_EQ(kept + std::string(1, '\0'), plain(w + '\0'));
    EXPECT_EQ(kept + kept, plain(w + w));
    const char* const none = nullptr;
    EXPECT_EQ(kept, plain(w + none));
    EXPECT_EQ(kept, plain(none + w));
    const FileString name("D:\\dir\\file");
    EXPECT_EQ("D:\\dir\\file.txt", plain(name + ".txt"));
    EXPECT_EQ("<D:\\dir\\file>", plain('<' + name + '>'));
}

TEST(StdString, TokenFindsTokensWithoutAdvancing) {
    const StdString s("a,,bc");
    unsigned int start = 0;
    unsigned int length = 99;
    EXPECT_TRUE(s.token(",", start, length));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(1u, length);

    start = 1;
    EXPECT_TRUE(s.token(",", start, length));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(2u, length);

    start = 5;
    length = 42;
    EXPECT_FALSE(s.token(",", start, length));
    EXPECT_EQ(4294967295u, start);
    EXPECT_EQ(42u, length);

    start = 1000;
    EXPECT_FALSE(s.token(",", start, length));
    EXPECT_EQ(4294967295u, start);

    start = 0;
    EXPECT_FALSE(StdString(",,,").token(",", start, length));
    EXPECT_EQ(4294967295u, start);
}

TEST(StdString, TokenDelimitersIgnoreCaseAndAnEmptySetTakesTheRest) {
    unsigned int start = 0;
    unsigned int length = 0;
    EXPECT_TRUE(StdString("oneXtwo").token("x", start, length));
    EXPECT_EQ(3u, length);
    start += length;
    EXPECT_TRUE(StdString("oneXtwo").token("x", start, length));
    EXPECT_EQ(4u, start);
    EXPECT_EQ(3u, length);

    start = 2;
    EXPECT_TRUE(StdString("a b c").token("", start, length));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(3u, length);
}

TEST(StdString, SearchesAgreeWithThePositionByPositionSearch) {
    // Every search must give exactly what the base string's member gives
    // with the same traits, for every start position: on short texts (byte
    // by byte) and long ones (sixteen bytes at a time), with needles of a
    // small alphabet that nearly match everywhere, and needles cut from the
    // text itself with one byte changed.
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'A', 'b', 'B', 'x', '\xC9', '\xE9', ' '};
    const auto pick = [&](std::size_t letters) {
        // Mostly 'a' or 'A' at times, for runs of near matches.
        return random() % 3 == 0 ? alphabet[random() % 2] : alphabet[random() % letters];
    };
    for (int round = 0; round < 400; ++round) {
        std::string text(round % 4 == 0 ? 150 + random() % 300 : random() % 70, ' ');
        for (char& c : text) {
            c = pick(round % 2 == 0 ? 3 : sizeof alphabet);
        }
        const StdString haystack(text.c_str());
        const StdString::BaseString& base = haystack;
        std::string needle(random() % 8, ' ');
        for (char& c : needle) {
            c = pick(4);
        }
        if (round % 3 == 0 && !text.empty()) {
            const std::size_t from = random() % text.size();
            needle = text.substr(from, 1 + random() % 40);
            needle[random() % needle.size()] = pick(4);
        }
        const char* const n = needle.c_str();
        const std::size_t count = needle.size();
        const std::size_t step = text.size() > 100 ? 7 : 1;
        for (std::size_t at = 0; at <= text.size() + 1; at += step) {
            const std::size_t back = text.size() - at;  // from the end as well, npos among them
            ASSERT_EQ(base.find(n, at, count), haystack.find(n, at, count)) << text << " / " << needle << " / " << at;
            ASSERT_EQ(base.rfind(n, back, count), haystack.rfind(n, back, count)) << text << " / " << needle << " / " << back;
            ASSERT_EQ(base.find_first_of(n, at, count), haystack.find_first_of(n, at, count)) << text << " / " << needle;
            ASSERT_EQ(base.find_last_of(n, back, count), haystack.find_last_of(n, back, count)) << text << " / " << needle;
            ASSERT_EQ(base.find_first_not_of(n, at, count), haystack.find_first_not_of(n, at, count)) << text << " / " << needle;
            ASSERT_EQ(base.find_last_not_of(n, back, count), haystack.find_last_not_of(n, back, count)) << text << " / " << needle;
            const char c = count > 0 ? n[0] : '\xC9';
            ASSERT_EQ(base.find(c, at), haystack.find(c, at)) << text << " / " << c;
            ASSERT_EQ(base.rfind(c, back), haystack.rfind(c, back)) << text << " / " << c;
            ASSERT_EQ(base.find_first_not_of(c, at), haystack.find_first_not_of(c, at)) << text << " / " << c;
            ASSERT_EQ(base.find_last_not_of(c, back), haystack.find_last_not_of(c, back)) << text << " / " << c;
        }
    }
    EXPECT_EQ(3u, StdString("abcABC").find(StdString("aBC"), 1));
    EXPECT_EQ(0u, StdString("abcABC").rfind(StdString("aBC"), 2));
    EXPECT_EQ(StdString::npos, StdString("abc").find("abcd"));
    EXPECT_EQ(3u, StdString("abc").find("", 3));
    EXPECT_EQ(StdString::npos, StdString("abc").find("", 4));
    EXPECT_EQ(3u, StdString("abc").rfind(""));
}
