#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <climits>
#include <clocale>
#include <random>
#include <string>
#include <thread>

#include "quen/strings/StdString.h"
#include "support/Locales.h"
#include "support/Texts.h"

using quen::StdString;
using support::plain;

namespace {

// A string type of its own, to check that equality looks at dynamic types.
class OtherString : public StdString {
public:
    using StdString::StdString;
};

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
