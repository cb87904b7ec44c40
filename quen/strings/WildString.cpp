#include "quen/strings/WildString.h"

#include <cstring>

#include "quen/platform/CaseFolding.h"

namespace quen {
namespace {

typedef StdString::size_type Position;

// Throws the standard string's own out-of-range error for a position beyond
// the end, so callers see the same exception as from any other member.
void checkPosition(const StdString& s, unsigned int position) {
    if (position > s.size()) {
        (void)s.substr(position, 0);
    }
}

// One pattern character against one subject character; never a '*'. The
// case folding is fetched only when two characters differ, as most
// comparisons settle without it.
class CharMatch {
public:
    bool operator()(char patternChar, char subjectChar) const {
        if (patternChar == subjectChar || patternChar == '?') {
            return true;
        }
        if (patternChar == '.') {  // only a '.' itself, which was not it
            return false;
        }
        // Two ASCII characters that differ in more than the bit that tells
        // 'a' from 'A' are not case variants of each other in any locale,
        // since toupper changes no ASCII character but a letter; this
        // settles most mismatches without the folding table.
        const unsigned char a = static_cast<unsigned char>(patternChar);
        const unsigned char b = static_cast<unsigned char>(subjectChar);
        if (((a | b) & 0x80) == 0 && ((a ^ b) & ~0x20) != 0) {
            return false;
        }
        if (upper_ == nullptr) {
            upper_ = platform::caseFolding().upper;
        }
        return upper_[a] == upper_[b];
    }

private:
    mutable const unsigned char* upper_ = nullptr;
};

}  // namespace

const char* WildString::version() {
    return "WildString 1.0, 16.08.1999";
}

WildString::WildString(const char* pattern) : StdString(pattern) {}

WildString::WildString(const StdString& pattern) : StdString(pattern) {}

WildString::WildString(const WildString& other) : StdString(other) {}

WildString::~WildString() = default;

WildString& WildString::operator=(const WildString& other) {
    StdString::operator=(other);  // leaves a self-assignment alone
    return *this;
}

bool WildString::match(const StdString& subject, unsigned int patternPos, unsigned int subjectPos,
                       unsigned int count) const {
    // compare() checks both positions and cuts both runs at their ends; it
    // folds case through the traits, and is 0 only for equal lengths.
    return compare(patternPos, count, subject, subjectPos, count) == 0;
}

// The match walks pattern and subject once, remembering only the latest
// '*' met and where in the subject its run ended; a mismatch lets that star
// take one more character and resumes behind it. Earlier stars never need
// revisiting: the latest star was reached at the earliest subject position
// possible, and anything the pattern behind it can match further on, the
// star can reach by taking more. So the work is at most pattern length times
// subject length, with no recursion and no copies, where the literal-by-
// literal backtracking over every star would take exponential time on
// patterns like '*a*a*a*a*b' and a stack level per star.
bool WildString::match(const StdString& subject, unsigned int patternPos, unsigned int subjectPos) const {
    checkPosition(*this, patternPos);
    checkPosition(subject, subjectPos);

    const char* const pattern = data();
    const Position patternEnd = size();
    const char* const text = subject.data();
    const Position textEnd = subject.size();
    const CharMatch same;

    // Up to the first star, each pattern character takes one subject
    // character; without a star the lengths alone turn most subjects away.
    Position p = patternPos;
    Position q = subjectPos;
    Position prefixEnd = p;
    while (prefixEnd < patternEnd && pattern[prefixEnd] != '*') {
        ++prefixEnd;  // patterns are short: cheaper than a call to memchr
    }
    if (prefixEnd == patternEnd ? textEnd - q != patternEnd - p : textEnd - q < prefixEnd - p) {
        return false;
    }
    for (; p < prefixEnd; ++p, ++q) {
        if (!same(pattern[p], text[q])) {
            return false;
        }
    }
    if (p == patternEnd) {
        return true;  // the lengths are equal
    }

    Position lastStar = patternEnd - 1;
    while (pattern[lastStar] != '*') {
        --lastStar;  // stops at the star found above at the latest
    }

    // The first subject position at or after from where the pattern
    // character c (a literal or '.') can match, or npos.
    const auto seek = [&](char c, Position from) -> Position {
        if (from >= textEnd) {
            return npos;
        }
        const char* found = c == '.' ? static_cast<const char*>(std::memchr(text + from, '.', textEnd - from))
                                     : traits_type::find(text + from, textEnd - from, c);
        return found != nullptr ? static_cast<Position>(found - text) : npos;
    };

    // Behind the last star run the pattern has a fixed length, so the
    // subject's end must match it whatever the stars take: testing that
    // first turns most names away at once ('*.txt' against 'notes.doc').
    Position tailStart = lastStar + 1;
    while (tailStart < patternEnd && pattern[tailStart] == '?') {
        ++tailStart;
    }
    const auto tailMatches = [&](Position from) {
        const Position tail = patternEnd - tailStart;
        if (textEnd - from < tail) {
            return false;
        }
        for (Position i = 0; i < tail; ++i) {
            if (!same(pattern[tailStart + i], text[textEnd - tail + i])) {
                return false;
            }
        }
        return true;
    };
    if (!tailMatches(q)) {
        return false;
    }

    Position starPattern = npos;  // pattern position behind the latest star run
    Position starText = 0;        // where in the subject that run's match ends

    for (;;) {
        if (p < patternEnd && pattern[p] == '*') {
            while (p < patternEnd && (pattern[p] == '*' || pattern[p] == '?')) {
                ++p;
            }
            if (p > lastStar) {
                return tailMatches(q);
            }
            // A literal (or '.') follows the run: the star reaches as far as
            // the next place where that character stands.
            starPattern = p;
            starText = seek(pattern[p], q);
            if (starText == npos) {
                return false;
            }
            q = starText;
            continue;
        }
        if (p < patternEnd && q < textEnd && same(pattern[p], text[q])) {
            ++p;
            ++q;
            continue;
        }
        if (p == patternEnd && q == textEnd) {
            return true;
        }
        if (starPattern == npos) {
            return false;
        }
        starText = seek(pattern[starPattern], starText + 1);
        if (starText == npos) {
            return false;
        }
        p = starPattern;
        q = starText;
    }
}

}  // namespace quen
