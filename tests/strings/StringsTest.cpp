#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <clocale>
#include <random>
#include <stdexcept>
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

struct OtherString : StdString { using StdString::StdString; };

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

struct ProgramStrings : quen::StringTable { void* instance() const override { return nullptr; } };

StdString withZero() { return StdString("ab") + '\0' + "cd"; }

// Every part of a name, joined by '#' (the drive character after the drive name).
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

bool matches(const std::string& pattern, const std::string& subject) {
    return WildString(pattern.c_str()).match(subject.c_str(), 0, 0);
}

// The rules as a table over the positions of both: can[i][j] tells whether the pattern from i matches the subject from
// j. A literal takes one equal character ignoring case, '?' any one, '.' only a '.', and a star run (a '*' with the '*'
// and '?' behind it) any run of characters.
bool reference(const std::string& pattern, std::size_t from, const std::string& subject, std::size_t at) {
    const std::size_t m = pattern.size(), n = subject.size();
    std::vector<std::vector<char>> can(m + 1, std::vector<char>(n + 1, 0));
    can[m][n] = 1;
    for (std::size_t i = m; i-- > from;) {
        const char p = pattern[i];
        std::size_t behind = i + 1;
        while (p == '*' && behind < m && (pattern[behind] == '*' || pattern[behind] == '?')) ++behind;
        for (std::size_t j = n + 1; j-- > 0;) {
            if (p == '*') {
                can[i][j] = can[behind][j] || (j < n && can[i][j + 1]);
            } else if (j < n) {
                const bool one = p == '?' || (p == '.' ? subject[j] == '.' : quen::ICharTraits<char>::eq(p, subject[j]));
                can[i][j] = one && can[i + 1][j + 1];
            }
        }
    }
    return can[from][at] != 0;
}

std::string randomText(std::mt19937& random, const char* alphabet, std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) c = alphabet[random() % std::char_traits<char>::length(alphabet)];
    return text;
}

}  // namespace

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
    expectOrderedAgainstText(withZero(), "ab", 1);
    expectOrderedAgainstText(StdString(), static_cast<const char*>(nullptr), 0);
    expectOrderedAgainstText(FileString("a"), static_cast<const char*>(nullptr), 1);
}

TEST(StdString, FoldingFollowsTheLocaleInForceInEveryThread) {
    // A worker folds in the C locale, then the main thread sets a Latin-1
    // locale: from then on both fold as toupper does there.
    EXPECT_TRUE(support::foldsAsToupper() && !quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    std::atomic<int> stage{0};
    bool latin1Set = false;
    std::thread worker([&] {
        EXPECT_TRUE(support::foldsAsToupper());
        for (stage = 1; stage != 2;) std::this_thread::yield();
        EXPECT_TRUE(support::foldsAsToupper() && latin1Set == quen::ICharTraits<char>::eq('\xE9', '\xC9'));
    });
    while (stage != 1) std::this_thread::yield();
    latin1Set = std::setlocale(LC_CTYPE, support::latin1Locale()) != nullptr;
    stage = 2;
    worker.join();
    EXPECT_TRUE(support::foldsAsToupper());
    std::setlocale(LC_CTYPE, "C");
    EXPECT_TRUE(latin1Set) << support::latin1Locale();
}

TEST(StdString, SearchesAgreeWithThePositionByPositionSearch) {
    EXPECT_TRUE(support::searchesAsTheBaseString(std::string("aAbBx\xC9\xE9 "), 7));
    const std::size_t found[] = {StdString("abcABC").find(StdString("aBC"), 1), StdString("abcABC").rfind(StdString("aBC"), 2),
                                 StdString("axb").find_first_of("X"), StdString("abc").find("", 4), StdString("abc").rfind("")};
    EXPECT_EQ((std::vector<std::size_t>{3, 0, 1, StdString::npos, 3}), std::vector<std::size_t>(found, found + 5));
}

TEST(StdString, CopiesStopAtTheFirstZeroByteAndTextsAreNeverNull) {
    const StdString five = withZero();
    StdString assigned("zzzzzz");
    assigned = five;
    assigned = static_cast<const StdString&>(assigned);
    const std::pair<std::string, std::string> rows[] = {
        {"ab", plain(StdString(five))}, {"ab", plain(assigned)}, {"x", plain(StdString(StdString::BaseString("x\0y", 3)))},
        {std::string(1, '\0'), plain(StdString('\0'))}, {"", plain(StdString(static_cast<const char*>(nullptr)))},
        {"", static_cast<const char*>(StdString())},  // never null
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
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
    const std::pair<std::string, std::string> rows[] = {
        {"=A", text(static_cast<unsigned char>(65))}, {"=b", text('b')}, {"=cd", text("cd")},
        {"=", text(static_cast<const char*>(nullptr))}, {std::string("=\0", 2), text(StdString('\0'))},
        {"=-5", text(-5)}, {"=0", text(0)}, {"=4294967295", text(4294967295u)}, {"=-2147483648", text(INT_MIN)},
        {"=-123456", text(-123456L)}, {"=123456", text(123456UL)},
        {"=-9223372036854775808", text(static_cast<__int64>(LLONG_MIN))},
        {"=18446744073709551615", text(static_cast<unsigned __int64>(ULLONG_MAX))},
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
        unsigned int start = row.start, length = 42;  // left alone without a token
        const bool found = StdString(row.text).token(row.delimiters, start, length);
        EXPECT_TRUE(found == (row.wantStart != 4294967295u) && start == row.wantStart && length == row.wantLength)
            << row.text << " from " << row.start << ": " << found << " " << start << " " << length;
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
}

TEST(MessageTable, IsReadFromTheLibrarysOwnModuleByEveryReader) {
    const quen::UtilityStrings strings, second;
    ASSERT_NE(nullptr, strings.instance());
    EXPECT_TRUE(strings.instance() == second.instance() && plain(second[20]) == "File SIZE error");
    const HINSTANCE module = static_cast<HINSTANCE>(strings.instance());
    char text[64] = {0};
    EXPECT_EQ(0, LoadStringA(nullptr, 1, text, sizeof text));  // the program has no table
    const auto load = [&](UINT id, int size) { return std::to_string(LoadStringA(module, id, text, size)) + ":" + text; };
    // LoadStringA cuts a text to the buffer, keeping the terminating zero;
    // only the low 16 bits of the id count, as on Windows.
    EXPECT_EQ("15:File READ error", load(1, sizeof text));
    EXPECT_EQ("4:File", load(1, 5));
    EXPECT_EQ("11: with mode ", load(131084, sizeof text));
}

TEST(FileString, AccessorsSplitEveryForm) {
    const std::pair<std::string, std::string> rows[] = {
        {"D:file.txt", "#D:#D#\\file.txt###file.txt#txt#file#"}, {"D:\\", "#D:#D#\\#D:\\#####"}, {"D:", "#D:#D#\\######"},
        {"D:/dir/file.txt", "#D:#D#/dir/file.txt#D:/dir/#/dir#file.txt#txt#file#"}, {"file", "###file###file##file#"},
        {"\\\\server\\share\\file", "###\\\\server\\share\\file##\\\\server\\share#file##file#"},
        {"dir\\file.txt", "###dir\\file.txt##dir#file.txt#txt#file#"}, {"D:\\dir\\", "#D:#D#\\dir\\#D:\\dir\\#\\dir####"},
        {"D:\\dir.d\\file", "#D:#D#\\dir.d\\file#D:\\dir.d\\#\\dir.d#file#d\\file#file#"},
        {"D:\\dir\\.profile", "#D:#D#\\dir\\.profile#D:\\dir\\#\\dir#.profile#profile##"},
        {"||BACKUP1||\\dir\\file.txt", "BACKUP1###\\dir\\file.txt##\\dir#file.txt#txt#file#"},
        {"||BACKUP1||file.txt", "BACKUP1###\\file.txt###file.txt#txt#file#"},
        {"abc:def", "#c:#c#\\def###def##def#"}, {"", "#########"},  // any drive character
    };
    for (const auto& row : rows) {
        const FileString name(row.first.c_str());
        EXPECT_EQ(row.second, parts(name)) << row.first;
        EXPECT_EQ(row.first, plain(name));  // the accessors leave the value alone
    }
}

TEST(FileString, OddNamesSplitWithinTheValue) {
    const struct { const char* value; FileString (FileString::*part)() const; const char* expected; } rows[] = {
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
    EXPECT_TRUE(FileString("d:\\DIR\\a") == FileString("D:\\dir\\A") && FileString("D:\\a") != FileString("D:/a"));
    EXPECT_TRUE(FileString("abc") != StdString("abc"));
    // Accessors give FileStrings.
    EXPECT_TRUE(FileString("D:\\file.txt").fileName() == FileString("FILE.TXT"));
    EXPECT_FALSE(StdString("file.txt") == FileString("D:\\file.txt").fileName());
    FileString name("D:\\x");
    name = FileString(StdString("ab") + '\0' + "cd");  // copies stop at a zero byte
    name = static_cast<const FileString&>(name);
    EXPECT_EQ("ab", plain(FileString(name)));
    EXPECT_EQ("x", plain(FileString('x')));
}

TEST(FileString, IncrementNumbersASeriesWithoutLimit) {
    const std::pair<std::string, std::string> rows[] = {
        {"D:\\dir\\file7.txt", "D:\\dir\\file8.txt"}, {"D:\\dir\\file.txt", "D:\\dir\\file1.txt"}, {"file", "file1"},
        {"D:\\dir\\file099.txt", "D:\\dir\\file100.txt"}, {"D:\\dir\\file009.txt", "D:\\dir\\file10.txt"}, {"", "1"},
        {"file-3.txt", "file-4.txt"}, {"file.tar.gz", "file.tar1.gz"}, {"name.", "name1"}, {".txt", "1.txt"},
        {"D:\\dir.d\\file", "D:\\dir1.d\\file"}, {"file000.txt", "file1.txt"}, {"log2147483647.txt", "log2147483648.txt"},
        {"n" + std::string(5000, '9'), "n1" + std::string(5000, '0')},
    };
    for (const auto& row : rows) {
        FileString name(row.first.c_str());
        name.increment();
        EXPECT_EQ(row.second, plain(name)) << "before: '" << row.first << "'";
    }
}

TEST(WildString, MatchesWholeSubjectsByTheRules) {
    const struct { const char *pattern, *subject; bool matches; } rows[] = {
        {"ABC", "abc", true}, {"ABC", "abcd", false}, {"", "", true}, {"*.txt", "readme.TXT", true},
        {"a*b", "aXbXb", true}, {"a*b", "aXbX", false}, {"*", "", true}, {"report*.dat", "report.dat.bak", false},
        {"?", "", false}, {"a?", "a", false}, {"IMG_????.jpg", "img_0042.JPG", true}, {"?*", "", false},
        {"a.b", "aXb", false}, {"*.*", "README", false}, {"a.", "a", false},
        {"abc*?", "abc", true}, {"a*?b", "ab", true}, {"a*??*?b", "ab", true}, {"a*?b", "aXXc", false}, {"*?", "", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.matches, matches(row.pattern, row.subject)) << row.pattern << " on " << row.subject;
        EXPECT_EQ(row.matches, reference(row.pattern, 0, row.subject, 0)) << row.pattern << " on " << row.subject;
    }
}

TEST(WildString, RefusesPositionsBeyondTheEndsAndComparesLiterallyWithACount) {
    for (const auto& [p, q] : {std::pair<unsigned, unsigned>{3, 0}, {0, 4}}) {
        EXPECT_THROW(WildString("x*").match("abc", p, q), std::out_of_range);
        EXPECT_THROW(WildString("x*").match("abc", p, q, 0), std::out_of_range);
    }
    EXPECT_TRUE(WildString("abc").match("BCx", 1, 0, 2) && WildString("abc").match("xBC", 1, 1, 4294967295u) &&
                WildString("abc").match("", 3, 0, 0));
    EXPECT_FALSE(WildString("abc").match("BCx", 1, 0, 3) || WildString("a*c").match("abc", 0, 0, 3));
}

TEST(WildString, AgreesWithTheRulesOnRandomPatterns) {
    std::mt19937 random(20261206);
    int matched = 0, rounds = 60000;
    for (int round = 0; round < rounds; ++round) {
        const std::string pattern = randomText(random, "aAb.?*", 9);
        const std::string subject = randomText(random, "aAb.", 10);
        const bool inner = round % 4 == 0;  // from inner positions of both
        const unsigned p = inner ? random() % (pattern.size() + 1) : 0, q = inner ? random() % (subject.size() + 1) : 0;
        const bool expected = reference(pattern, p, subject, q);
        ASSERT_EQ(expected, WildString(pattern.c_str()).match(subject.c_str(), p, q))
            << "pattern '" << pattern << "' from " << p << ", subject '" << subject << "' from " << q;
        matched += expected ? 1 : 0;
    }
    EXPECT_TRUE(matched > rounds / 50 && matched < rounds - rounds / 50) << matched;
}

// Near misses enough to hand over to the linear searches (two-way; shift-and for a segment with '?', in one word,
// several or exactly two) at every point: long runs of one letter, the occurrence often ending the subject.
TEST(WildString, AgreesWithTheRulesAfterManyNearMisses) {
    std::mt19937 random(20261207);
    const auto run = [&] { return std::string(random() % 64, 'a'); };
    for (int round = 0; round < 6000; ++round) {
        std::string segment = run() + "?.b"[random() % 3] + run() + randomText(random, "aAb?.", 3), subject;
        if (round % 5 == 4) {
            segment = randomText(random, "aaaaaaaAb?.", 40);
            subject = randomText(random, "aaaaaaaaaab.", 400);
        } else {
            subject = std::string(random() % 40, 'a') + segment + randomText(random, "ab", 2);
            for (char& c : subject) c = c == '?' ? "aAb."[random() % 4] : round % 5 == 2 && c == '.' ? 'a' : c;
            if (round % 5 == 0) subject[random() % subject.size()] = "+.aA"[random() % 4];
            if (round % 5 == 1) subject.pop_back();
        }
        const std::string pattern = "*" + segment + "*" + randomText(random, "b.", 1) + "*";  // at times more to find
        ASSERT_EQ(reference(pattern, 0, subject, 0), matches(pattern, subject)) << pattern << " on " << subject;
    }
}

TEST(WildString, HostilePatternsFinish) {
    // Exponential for a literal-by-literal backtracking matcher.
    const std::string many(20000, 'a');
    EXPECT_TRUE(matches("*a*a*a*a*a*a*a*a*a*a*a", many));
    EXPECT_FALSE(matches("*a*a*a*a*a*a*a*a*a*a*b", many) || matches("*a*a*a*a*a*a*a*a*a*a*ba*", many));
    // A stack level per star would overflow here.
    const std::string stars(100000, '*');
    EXPECT_TRUE(matches(stars, many) && !matches(stars + "b" + stars, many));
    std::string alternating;
    for (int i = 0; i < 50000; ++i) alternating += "*a";
    EXPECT_FALSE(matches(alternating, many));  // more 'a' wanted than there are
    EXPECT_TRUE(matches(alternating, std::string(50000, 'A')));
}
