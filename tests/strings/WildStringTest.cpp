#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "quen/strings/WildString.h"

using quen::WildString;

namespace {

bool matches(const std::string& pattern, const std::string& subject) {
    return WildString(pattern.c_str()).match(subject.c_str(), 0, 0);
}

// The rules as a table over the positions of both: can[i][j] tells whether
// the pattern from i matches the subject from j. A literal takes one equal
// character ignoring case, '?' any one, '.' only a '.', and a star run (a '*'
// with the '*' and '?' behind it) any run of characters.
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

TEST(WildString, MatchesWholeSubjectsByTheRules) {
    const struct { const char *pattern, *subject; bool matches; } rows[] = {
        // Literals ignore case and cover the whole subject; a star takes any run.
        {"ABC", "abc", true}, {"ABC", "abcd", false}, {"", "", true}, {"*.txt", "readme.TXT", true},
        {"a*b", "aXbXb", true}, {"a*b", "aXbX", false}, {"*", "", true}, {"report*.dat", "report.dat.bak", false},
        // A '?' takes exactly one character; a dot is never a wildcard.
        {"?", "", false}, {"a?", "a", false}, {"IMG_????.jpg", "img_0042.JPG", true}, {"?*", "", false},
        {"a.b", "aXb", false}, {"*.*", "README", false}, {"a.", "a", false},
        // A star run counts as one star wherever it stands: a '?' behind a star takes nothing.
        {"abc*?", "abc", true}, {"a*?b", "ab", true}, {"a*??*?b", "ab", true}, {"a*?b", "aXXc", false}, {"*?", "", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.matches, matches(row.pattern, row.subject)) << row.pattern << " on " << row.subject;
        EXPECT_EQ(row.matches, reference(row.pattern, 0, row.subject, 0)) << row.pattern << " on " << row.subject;
    }
}

// Positions beyond either end are the standard string's out-of-range error;
// with a count both runs are compared literally, cut at their ends.
TEST(WildString, RefusesPositionsBeyondTheEndsAndComparesLiterallyWithACount) {
    for (const auto& [p, q] : {std::pair<unsigned, unsigned>{3, 0}, {0, 4}}) {
        EXPECT_THROW(WildString("x*").match("abc", p, q), std::out_of_range);
        EXPECT_THROW(WildString("x*").match("abc", p, q, 0), std::out_of_range);
    }
    EXPECT_TRUE(WildString("abc").match("BCx", 1, 0, 2));
    EXPECT_FALSE(WildString("abc").match("BCx", 1, 0, 3));
    EXPECT_TRUE(WildString("abc").match("xBC", 1, 1, 4294967295u));
    EXPECT_TRUE(WildString("abc").match("", 3, 0, 0));
    EXPECT_FALSE(WildString("a*c").match("abc", 0, 0, 3));
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

// Long subjects of nearly one letter, against segments cut from them (some
// characters turned into '?' or the other case) or made up: the segments
// almost match everywhere, so the searches behind the stars hand over to
// the linear ones (plain segments; segments with '?' up to and beyond 64
// characters).
TEST(WildString, AgreesWithTheRulesOnLongSubjects) {
    std::mt19937 random(1303);
    const auto chance = [&](unsigned percent) { return random() % 100 < percent; };
    int matched = 0;
    for (int round = 0; round < 100; ++round) {
        std::string subject(300 + random() % 400, 'a');
        for (char& c : subject) c = chance(3) ? "bB."[random() % 3] : (chance(10) ? 'A' : 'a');
        std::string pattern = chance(30) ? "a" : "";
        for (int k = chance(30) ? 2 : 1; k > 0; --k) {
            const std::size_t length = 1 + random() % (chance(50) ? 20 : 100);
            std::string segment = chance(70) ? subject.substr(random() % (subject.size() - length), length)
                                             : std::string(length - 1, 'a') + "b";
            const bool questions = chance(50);
            for (std::size_t i = 1; i < segment.size(); ++i) {
                segment[i] = questions && chance(8) ? '?' : (chance(5) ? (segment[i] == 'a' ? 'A' : 'a') : segment[i]);
            }
            pattern += (chance(20) ? "*?" : "*") + segment;
        }
        pattern += chance(50) ? "*" : (chance(50) ? "*a" : "*.");
        const bool expected = reference(pattern, 0, subject, 0);
        ASSERT_EQ(expected, matches(pattern, subject)) << "pattern '" << pattern << "'";
        matched += expected ? 1 : 0;
    }
    EXPECT_TRUE(matched > 10 && matched < 90) << matched;
}

// A segment whose only occurrence ends the subject, after so many near
// misses that the search has handed over to a linear one (two-way, or
// shift-and for a segment with '?', in one word or several): whatever the
// hand-over point, also where the occurrence fills the rest exactly. A '.'
// matches only itself there as well.
TEST(WildString, FindsASegmentThatEndsTheSubject) {
    for (const std::size_t half : {9, 34}) {
        const std::string run(half, 'a');
        for (const std::string& segment :
             {run + run + "b", run + "?" + run + "b", run + "?" + run + ".b", run + "." + run + "b"}) {
            const std::string pattern = "*" + segment + "*";
            std::string text = segment;
            std::replace(text.begin(), text.end(), '?', 'a');
            for (std::size_t extra = 0; extra < 40; ++extra) {
                const std::string subject = std::string(extra, 'a') + text;
                std::string noDot = subject;
                std::replace(noDot.begin(), noDot.end(), '.', 'a');
                EXPECT_TRUE(matches(pattern, subject) && !matches(pattern, subject.substr(0, subject.size() - 1)))
                    << pattern << " after " << extra;
                EXPECT_EQ(segment.find('.') == std::string::npos, matches(pattern, noDot)) << pattern << " after " << extra;
            }
        }
    }
}

TEST(WildString, HostilePatternsFinish) {
    // Exponential for a literal-by-literal backtracking matcher.
    const std::string many(20000, 'a');
    EXPECT_FALSE(matches("*a*a*a*a*a*a*a*a*a*a*b", many));
    EXPECT_TRUE(matches("*a*a*a*a*a*a*a*a*a*a*a", many));
    EXPECT_FALSE(matches("*a*a*a*a*a*a*a*a*a*a*ba*", many));
    // A stack level per star would overflow here.
    const std::string stars(100000, '*');
    EXPECT_TRUE(matches(stars, many));
    EXPECT_FALSE(matches(stars + "b" + stars, many));
    std::string alternating;
    for (int i = 0; i < 50000; ++i) alternating += "*a";
    EXPECT_FALSE(matches(alternating, many));  // more 'a' wanted than there are
    EXPECT_TRUE(matches(alternating, std::string(50000, 'A')));
}
