#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

#include "quen/strings/WildString.h"

using quen::StdString;
using quen::WildString;

namespace {

bool matches(const char* pattern, const char* subject) {
    return WildString(pattern).match(subject, 0, 0);
}

// The reference semantics, written out as a plain recursive matcher: literal
// by literal, one level of recursion for each '*', trying every later
// occurrence of the literal behind it. Exponential on hostile patterns, so
// it only ever sees short ones here.
class Oracle {
public:
    explicit Oracle(const StdString& pattern) : pattern_(pattern) {}

    bool match(const StdString& subject, unsigned int p, unsigned int q) const {
        for (;;) {
            const StdString::size_type k = pattern_.find_first_of("?*.", p);
            if (k == StdString::npos) {
                return literal(subject, p, q, 4294967295u);
            }
            const unsigned int length = static_cast<unsigned int>(k) - p;
            if (!literal(subject, p, q, length)) {
                return false;
            }
            q += length;
            switch (pattern_[k]) {
            case '?':
                if (q >= subject.size()) {
                    return false;
                }
                p = static_cast<unsigned int>(k) + 1;
                ++q;
                break;
            case '.':
                if (q >= subject.size() || subject[q] != '.') {
                    return false;
                }
                p = static_cast<unsigned int>(k) + 1;
                ++q;
                break;
            default:
                p = static_cast<unsigned int>(k);
                break;
            }
            if (p < pattern_.size() && pattern_[p] == '*') {
                return star(subject, p, q);
            }
        }
    }

private:
    bool star(const StdString& subject, unsigned int s, unsigned int q) const {
        unsigned int start = s + 1;
        unsigned int length = 0;
        if (!pattern_.token("*?", start, length)) {
            return true;
        }
        const StdString literalText(pattern_.substr(start, length));
        for (StdString::size_type o = subject.find(literalText, q); o != StdString::npos;
             o = subject.find(literalText, o + 1)) {
            if (match(subject, start + length, static_cast<unsigned int>(o) + length)) {
                return true;
            }
        }
        return false;
    }

    bool literal(const StdString& subject, unsigned int p, unsigned int q, unsigned int count) const {
        const StdString a(pattern_.substr(p, count));
        const StdString b(subject.substr(q, count));
        return a.size() == b.size() && StdString::traits_type::compare(a.data(), b.data(), a.size()) == 0;
    }

    StdString pattern_;
};

// Where the recursive rules alone decide: every run of '*' is followed by a
// literal or ends the pattern (for a '?' directly behind a star run in the
// middle of a pattern, the one-star-run rule decides).
bool definedByTheRules(const std::string& pattern) {
    for (std::string::size_type i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '*') {
            continue;
        }
        std::string::size_type end = i;
        bool question = false;
        while (end < pattern.size() && (pattern[end] == '*' || pattern[end] == '?')) {
            question = question || pattern[end] == '?';
            ++end;
        }
        if (question && end < pattern.size()) {
            return false;
        }
        i = end;
    }
    return true;
}

std::string randomText(std::mt19937& random, const char* alphabet, std::size_t maxLength) {
    const std::size_t alphabetSize = std::char_traits<char>::length(alphabet);
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabetSize - 1);
    std::string text(length(random), ' ');
    for (char& c : text) {
        c = alphabet[pick(random)];
    }
    return text;
}

}  // namespace

TEST(WildString, VersionBanner) {
    EXPECT_STREQ("WildString 1.0, 16.08.1999", WildString::version());
}

// The rules by example; the random comparisons below cover the rest.
TEST(WildString, MatchesWholeSubjectsByTheRules) {
    const struct {
        const char *pattern, *subject;
        bool matches;
    } rows[] = {
        // Literals ignore case and must cover the whole subject.
        {"ABC", "abc", true}, {"ABC", "abcd", false}, {"ABC", "ab", false}, {"*.txt", "readme.TXT", true},
        {"*X", "ax", true}, {"", "", true}, {"", "a", false},
        // A star takes any run and backtracks to later occurrences.
        {"a*b", "aXXb", true}, {"a*b", "aXbXb", true}, {"a*b", "aXbX", false}, {"*", "", true},
        {"*", "anything.at.all", true}, {"*a*.*", "xxa.b", true}, {"*a*.*", "xx.ba", false},
        {"report*.dat", "Report-2024.DAT", true}, {"report*.dat", "report.dat.bak", false},
        // A '?' takes exactly one character, also in front of a star.
        {"?", "a", true}, {"?", "", false}, {"?", "ab", false}, {"a?", "a", false},
        {"IMG_????.jpg", "img_0042.JPG", true}, {"IMG_????.jpg", "img_042.jpg", false}, {"?*", "a", true},
        {"?*", "", false},
        // A dot is never a wildcard.
        {"a.b", "aXb", false}, {"a.b", "a.b", true}, {"*.*", "file.txt", true}, {"*.*", "README", false},
        {"a.", "a", false},
        // A star run counts as one star wherever it stands: a '?' behind a
        // star takes nothing, at the end and in the middle alike.
        {"abc*", "abc", true}, {"abc*?", "abc", true}, {"abc*", "abcdef", true}, {"abc*?", "abcdef", true},
        {"a*?b", "ab", true}, {"a*??*?b", "ab", true}, {"a*?b", "aXXb", true}, {"a**b", "ab", true},
        {"a*?b", "aXXc", false}, {"*?", "", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.matches, matches(row.pattern, row.subject)) << row.pattern << " on " << row.subject;
    }
}

TEST(WildString, MatchesFromTheGivenPositions) {
    const WildString pattern("x*.TXT");
    EXPECT_TRUE(pattern.match("abc.txt", 1, 0));
    EXPECT_TRUE(pattern.match("abc.txt", 2, 3));
    EXPECT_FALSE(pattern.match("abc.txt", 2, 4));
    EXPECT_TRUE(pattern.match("abc.txt", 6, 7));  // both at their ends
    EXPECT_FALSE(pattern.match("abc.txt", 6, 6));
    // From inside a star run, the '?' in front of the position's star is gone.
    EXPECT_FALSE(WildString("*?a").match("a", 1, 0));
    EXPECT_TRUE(WildString("*?a").match("ba", 1, 0));
}

TEST(WildString, LiteralComparisonCutsAtTheEnds) {
    const WildString pattern("abc");
    EXPECT_TRUE(pattern.match("BCx", 1, 0, 2));
    EXPECT_FALSE(pattern.match("BCx", 1, 0, 3));  // 'bc' against 'BCx'
    EXPECT_TRUE(pattern.match("xBC", 1, 1, 4294967295u));
    EXPECT_FALSE(pattern.match("xBCd", 1, 1, 4294967295u));
    EXPECT_TRUE(pattern.match("zzz", 3, 3, 4294967295u));
    EXPECT_TRUE(pattern.match("zzz", 0, 1, 0));
    EXPECT_TRUE(pattern.match("", 3, 0, 0));
    EXPECT_FALSE(pattern.match("a*c", 0, 0, 3));  // no wildcards here
}

TEST(WildString, PositionsBeyondTheEndAreOutOfRange) {
    const WildString pattern("abc");
    EXPECT_THROW(pattern.match("abc", 4, 0), std::out_of_range);
    EXPECT_THROW(pattern.match("abc", 0, 4), std::out_of_range);
    EXPECT_THROW(pattern.match("abc", 4, 0, 0), std::out_of_range);
    EXPECT_THROW(pattern.match("abc", 0, 4, 0), std::out_of_range);
    EXPECT_THROW(WildString("*").match("", 0, 1), std::out_of_range);
    EXPECT_NO_THROW(pattern.match("abc", 3, 3));
}

TEST(WildString, CopiesAndAssignmentTakeThePattern) {
    StdString withZero("a*");
    withZero += '\0';
    withZero += "b";
    const WildString cut(withZero);
    EXPECT_EQ(2u, cut.size());
    EXPECT_TRUE(cut.match("aXb", 0, 0));
    WildString pattern("x");
    pattern = WildString("*.dat");
    EXPECT_TRUE(pattern.match("a.DAT", 0, 0));
    const WildString& same = pattern;
    pattern = same;
    EXPECT_EQ(StdString("*.dat"), StdString(pattern));
    EXPECT_FALSE(WildString("a") == StdString("a"));  // the types differ
}

// The two matchers agree on random patterns over a small alphabet, where the
// rules define the result and, by the one-star-run rule, everywhere else too.
TEST(WildString, AgreesWithTheRecursiveRules) {
    std::mt19937 random(20261206);
    int defined = 0;
    int compared = 0;
    int matched = 0;
    for (int round = 0; round < 60000; ++round) {
        const std::string pattern = randomText(random, "aAb.?*", 9);
        const std::string subject = randomText(random, "aAb.", 10);
        const WildString wild(pattern.c_str());
        const bool expected = Oracle(wild).match(subject.c_str(), 0, 0);
        ASSERT_EQ(expected, wild.match(subject.c_str(), 0, 0))
            << "pattern '" << pattern << "', subject '" << subject << "'";
        ++compared;
        defined += definedByTheRules(pattern) ? 1 : 0;
        matched += expected ? 1 : 0;
    }
    // The random cases must exercise both outcomes and mostly defined patterns.
    EXPECT_GT(defined, compared / 2);
    EXPECT_GT(matched, compared / 50);
    EXPECT_LT(matched, compared - compared / 50);
}

TEST(WildString, AgreesWithTheRecursiveRulesFromInnerPositions) {
    std::mt19937 random(4711);
    for (int round = 0; round < 20000; ++round) {
        const std::string pattern = randomText(random, "aAb.?*", 8);
        const std::string subject = randomText(random, "aAb.", 8);
        const unsigned int p = std::uniform_int_distribution<unsigned int>(0, pattern.size())(random);
        const unsigned int q = std::uniform_int_distribution<unsigned int>(0, subject.size())(random);
        const WildString wild(pattern.c_str());
        ASSERT_EQ(Oracle(wild).match(subject.c_str(), p, q), wild.match(subject.c_str(), p, q))
            << "pattern '" << pattern << "' from " << p << ", subject '" << subject << "' from " << q;
    }
}

// Long subjects of nearly one letter, against segments cut from them (some
// characters turned into '?' or the other case) or made up: the segments
// almost match at every position, so the searches behind the stars leave
// their first, simple strategy for the linear ones (plain segments, and
// segments with '?' up to and beyond 64 characters). Few stars keep the
// recursive rules affordable on subjects this long.
TEST(WildString, AgreesWithTheRecursiveRulesOnLongSubjects) {
    std::mt19937 random(1303);
    const auto chance = [&](unsigned percent) { return random() % 100 < percent; };
    int matched = 0;
    const int rounds = 100;
    for (int round = 0; round < rounds; ++round) {
        std::string subject(300 + random() % 400, 'a');
        for (char& c : subject) {
            c = chance(3) ? "bB."[random() % 3] : (chance(10) ? 'A' : 'a');
        }
        std::string pattern = chance(30) ? "a" : "";
        const int segments = chance(30) ? 2 : 1;
        for (int k = 0; k < segments; ++k) {
            const std::size_t length = 1 + random() % (chance(50) ? 20 : 100);
            std::string segment;
            if (chance(70) && length < subject.size()) {
                segment = subject.substr(random() % (subject.size() - length), length);
            } else {
                segment = std::string(length - 1, 'a') + "b";
            }
            const bool questions = chance(50);
            for (std::size_t i = 1; i < segment.size(); ++i) {
                if (questions && chance(8)) {
                    segment[i] = '?';
                } else if (chance(5)) {
                    segment[i] = segment[i] == 'a' ? 'A' : 'a';
                }
            }
            pattern += (chance(20) ? "*?" : "*") + segment;
        }
        pattern += chance(50) ? "*" : (chance(50) ? "*a" : "*.");
        const WildString wild(pattern.c_str());
        const bool expected = Oracle(wild).match(subject.c_str(), 0, 0);
        ASSERT_EQ(expected, wild.match(subject.c_str(), 0, 0)) << "pattern '" << pattern << "'";
        matched += expected ? 1 : 0;
    }
    EXPECT_GT(matched, rounds / 10);
    EXPECT_LT(matched, rounds - rounds / 10);
}

TEST(WildString, HostilePatternsFinish) {
    // Exponential for a literal-by-literal backtracking matcher.
    const std::string many(20000, 'a');
    EXPECT_FALSE(matches("*a*a*a*a*a*a*a*a*a*a*b", many.c_str()));
    EXPECT_TRUE(matches("*a*a*a*a*a*a*a*a*a*a*a", many.c_str()));
    EXPECT_FALSE(matches("*a*a*a*a*a*a*a*a*a*a*ba*", many.c_str()));
    // A stack level per star would overflow here.
    const std::string stars(100000, '*');
    EXPECT_TRUE(matches(stars.c_str(), many.c_str()));
    EXPECT_FALSE(matches((stars + "b" + stars).c_str(), many.c_str()));
    std::string alternating;
    for (int i = 0; i < 50000; ++i) {
        alternating += "*a";
    }
    EXPECT_FALSE(matches(alternating.c_str(), many.c_str()));  // more 'a' wanted than there are
    EXPECT_TRUE(matches(alternating.c_str(), std::string(50000, 'A').c_str()));
    // A '.' in a segment with '?' still matches only itself once the search
    // has left its first strategy, in segments of up to 64 characters and longer.
    for (const std::string& run : {std::string(8, 'a'), std::string(70, 'a')}) {
        const std::string pattern = "*" + run + "?" + run + ".a*";
        EXPECT_TRUE(matches(pattern.c_str(), (many.substr(0, 500) + ".ab").c_str())) << run.size();
        EXPECT_FALSE(matches(pattern.c_str(), many.c_str())) << run.size();
    }
}
