#include "quen/strings/WildString.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "quen/platform/CaseFolding.h"

namespace quen {
namespace {

typedef StdString::size_type Position;
const Position npos = StdString::npos;

// Throws the standard string's own out-of-range error for a position beyond
// the end, so callers see the same exception as from any other member.
void checkPosition(const StdString& s, unsigned int position) {
    if (position > s.size()) {
        (void)s.substr(position, 0);
    }
}

unsigned char byte(char c) {
    return static_cast<unsigned char>(c);
}

// One pattern character against one subject character; never a '*'. The
// case folding is fetched only when two characters differ, as most
// comparisons settle without it, and only here: every part of the match
// that folds takes the table from this object.
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
        const unsigned char a = byte(patternChar);
        const unsigned char b = byte(subjectChar);
        if (((a | b) & 0x80) == 0 && ((a ^ b) & ~0x20) != 0) {
            return false;
        }
        const unsigned char* const upper = folding().upper;
        return upper[a] == upper[b];
    }

    const platform::CaseFolding& folding() const {
        if (folding_ == nullptr) {
            folding_ = &platform::caseFolding();
        }
        return *folding_;
    }

private:
    mutable const platform::CaseFolding* folding_ = nullptr;
};

// The first position in [from, to) of the subject where the pattern
// character c (a literal or '.') can match, or npos.
Position seek(const char* text, Position from, Position to, char c) {
    if (from >= to) {
        return npos;
    }
    const char* const found = c == '.' ? static_cast<const char*>(std::memchr(text + from, '.', to - from))
                                       : StdString::traits_type::find(text + from, to - from, c);
    return found != nullptr ? static_cast<Position>(found - text) : npos;
}

// The leftmost occurrence of the needle in [from, to) of the text, with
// characters compared as the table folds them: Crochemore and Perrin's
// two-way search. The needle is cut at a critical factorisation into a left
// and a right half; each alignment compares the right half forwards, then
// the left half backwards, and a mismatch shifts the needle by as much as
// the factorisation proves safe, so the text is read in linear time and no
// memory beyond a few counters is needed.
class TwoWaySearch {
public:
    TwoWaySearch(const char* needle, Position length, const unsigned char* upper)
        : needle_(needle), length_(length), upper_(upper) {
        Position forwardPeriod = 1;
        Position reversePeriod = 1;
        const Position forward = maximalSuffix(false, forwardPeriod);
        const Position reverse = maximalSuffix(true, reversePeriod);
        // The later of the two maximal suffixes gives a critical position.
        if (forward + 1 >= reverse + 1) {
            split_ = forward + 1;
            period_ = forwardPeriod;
        } else {
            split_ = reverse + 1;
            period_ = reversePeriod;
        }
        periodic_ = split_ <= length_ - period_ && samePrefix(period_, split_);
        if (!periodic_) {
            // The halves share no period: any mismatch in the left half
            // allows a shift past the longer half.
            period_ = (split_ > length_ - split_ ? split_ : length_ - split_) + 1;
        }
    }

    Position find(const char* text, Position from, Position to) const {
        if (to < from || to - from < length_) {
            return npos;
        }
        const Position last = to - length_;  // the last start that fits
        Position start = from;
        Position memory = 0;  // of a periodic needle: how much of the left is known to match
        while (start <= last) {
            const char* const window = text + start;
            Position i = split_ > memory ? split_ : memory;
            while (i < length_ && fold(needle_[i]) == fold(window[i])) {
                ++i;
            }
            if (i < length_) {
                start += i - split_ + 1;
                memory = 0;
                continue;
            }
            Position j = split_;
            const Position low = periodic_ ? memory : 0;
            while (j > low && fold(needle_[j - 1]) == fold(window[j - 1])) {
                --j;
            }
            if (j <= low) {
                return start;
            }
            start += period_;
            memory = periodic_ ? length_ - period_ : 0;
        }
        return npos;
    }

private:
    unsigned char fold(char c) const { return upper_[byte(c)]; }

    // The start of the needle's maximal suffix for the order of the folded
    // bytes (or its reverse), and that suffix's period.
    Position maximalSuffix(bool reversed, Position& period) const {
        Position suffix = npos;  // one before the suffix's start, wrapping
        Position j = 0;
        Position k = 1;
        period = 1;
        while (j + k < length_) {
            const unsigned char a = fold(needle_[j + k]);
            const unsigned char b = fold(needle_[suffix + k]);
            if (reversed ? b < a : a < b) {
                j += k;
                k = 1;
                period = j - suffix;
            } else if (a == b) {
                if (k != period) {
                    ++k;
                } else {
                    j += period;
                    k = 1;
                }
            } else {
                suffix = j++;
                k = 1;
                period = 1;
            }
        }
        return suffix;
    }

    // Whether the needle's first count characters equal those from offset.
    bool samePrefix(Position offset, Position count) const {
        for (Position i = 0; i < count; ++i) {
            if (fold(needle_[i]) != fold(needle_[offset + i])) {
                return false;
            }
        }
        return true;
    }

    const char* needle_;
    Position length_;
    const unsigned char* upper_;
    Position split_;
    Position period_;
    bool periodic_;
};

// The leftmost occurrence of a segment holding '?' (or of one where '.'
// cannot be taken as a folded letter) in [from, to): the shift-and
// automaton, one bit per segment character in words of 64, so the text is
// read once and each character costs one word operation per 64 characters
// of the segment.
Position shiftAndFind(const char* segment, Position length, const char* text, Position from, Position to,
                      const platform::CaseFolding& folding) {
    if (to < from || to - from < length) {
        return npos;
    }
    const Position words = (length + 63) / 64;
    // Which segment characters each byte of the subject matches: literals
    // by their folded value, '?' every byte, '.' only itself.
    std::vector<std::uint64_t> masks(256 * words, 0);
    std::vector<std::uint64_t> byUpper(256 * words, 0);
    std::vector<std::uint64_t> any(words, 0);
    std::vector<std::uint64_t> dot(words, 0);
    for (Position i = 0; i < length; ++i) {
        const std::uint64_t bit = std::uint64_t(1) << (i % 64);
        const char c = segment[i];
        if (c == '?') {
            any[i / 64] |= bit;
        } else if (c == '.') {
            dot[i / 64] |= bit;
        } else {
            byUpper[folding.upper[byte(c)] * words + i / 64] |= bit;
        }
    }
    for (unsigned x = 0; x < 256; ++x) {
        for (Position w = 0; w < words; ++w) {
            masks[x * words + w] = byUpper[folding.upper[x] * words + w] | any[w] | (x == byte('.') ? dot[w] : 0);
        }
    }
    const std::uint64_t top = std::uint64_t(1) << ((length - 1) % 64);
    std::vector<std::uint64_t> state(words, 0);
    for (Position position = from; position < to; ++position) {
        const std::uint64_t* const mask = masks.data() + byte(text[position]) * words;
        std::uint64_t carry = 1;  // a match may begin at every position
        for (Position w = 0; w < words; ++w) {
            const std::uint64_t next = (state[w] << 1) | carry;
            carry = state[w] >> 63;
            state[w] = next & mask[w];
        }
        if ((state[words - 1] & top) != 0) {
            return position + 1 - length;
        }
    }
    return npos;
}

// The same for segments of at most 64 characters, in one word and with the
// masks on the stack.
Position shiftAndFindShort(const char* segment, Position length, const char* text, Position from, Position to,
                           const platform::CaseFolding& folding) {
    if (to < from || to - from < length) {
        return npos;
    }
    std::uint64_t byUpper[256] = {};
    std::uint64_t any = 0;
    std::uint64_t dot = 0;
    for (Position i = 0; i < length; ++i) {
        const std::uint64_t bit = std::uint64_t(1) << i;
        const char c = segment[i];
        if (c == '?') {
            any |= bit;
        } else if (c == '.') {
            dot |= bit;
        } else {
            byUpper[folding.upper[byte(c)]] |= bit;
        }
    }
    std::uint64_t masks[256];
    for (unsigned x = 0; x < 256; ++x) {
        masks[x] = byUpper[folding.upper[x]] | any | (x == byte('.') ? dot : 0);
    }
    const std::uint64_t top = std::uint64_t(1) << (length - 1);
    std::uint64_t state = 0;
    for (Position position = from; position < to; ++position) {
        state = ((state << 1) | 1) & masks[byte(text[position])];
        if ((state & top) != 0) {
            return position + 1 - length;
        }
    }
    return npos;
}

// The leftmost occurrence in [from, to) of the text of a segment: the
// pattern characters between a star run and the next '*', which start with
// a literal or '.' and may hold '?' and '.' further on.
//
// Most segments are short and most candidates fail at once, so the search
// first jumps from one occurrence of the segment's first character to the
// next and compares the rest in place. That costs up to the segment's
// length at every candidate, so once it has compared more than a few times
// the text it has passed, the rest of the range goes to a search that is
// linear in the text whatever the segment: two-way for plain literals,
// shift-and for segments with '?'. Either way the time is proportional to
// the part of the text read, up to the occurrence found.
Position findSegment(const char* segment, Position length, const char* text, Position from, Position to,
                     const CharMatch& same) {
    if (to < from || to - from < length) {
        return npos;
    }
    const Position last = to - length;
    Position work = 0;
    for (Position start = from; start <= last; ++start) {
        start = seek(text, start, last + 1, segment[0]);
        if (start == npos) {
            return npos;
        }
        Position i = 1;
        while (i < length && same(segment[i], text[start + i])) {
            ++i;
        }
        if (i == length) {
            return start;
        }
        work += i;
        if (work > 4 * (start - from) + 2 * length + 32) {
            const platform::CaseFolding& folding = same.folding();
            const bool question = std::memchr(segment, '?', length) != nullptr;
            // '.' matches only itself: as a folded byte only when no other
            // byte folds as it does.
            const bool dotAlone = folding.variantCount[byte('.')] == 1;
            if (!question && (dotAlone || std::memchr(segment, '.', length) == nullptr)) {
                return TwoWaySearch(segment, length, folding.upper).find(text, start + 1, to);
            }
            return length <= 64 ? shiftAndFindShort(segment, length, text, start + 1, to, folding)
                                : shiftAndFind(segment, length, text, start + 1, to, folding);
        }
    }
    return npos;
}

// The first position after the star run at p (its '*' and '?'), or one
// past the last star. Runs of stars alone are passed eight at a time, as a
// pattern may be made of little else.
Position skipStarRun(const char* pattern, Position p, Position lastStar) {
    static const char stars[8] = {'*', '*', '*', '*', '*', '*', '*', '*'};
    while (p <= lastStar) {
        if (lastStar - p >= 8 && std::memcmp(pattern + p, stars, 8) == 0) {
            p += 8;
        } else if (pattern[p] == '*' || pattern[p] == '?') {
            ++p;
        } else {
            break;
        }
    }
    return p;
}

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

// The pattern is a prefix, then star runs with a segment between each two
// and a tail after the last. The prefix and the tail have fixed lengths and
// stand at the subject's two ends; each middle segment is taken at its
// leftmost occurrence after the one before it, since taking it earlier only
// leaves more room to the ones after it. So no choice is ever revisited,
// and each segment's search reads the subject only from where the previous
// one ended: the whole match is linear in the subject (see findSegment),
// without recursion.
bool WildString::match(const StdString& subject, unsigned int patternPos, unsigned int subjectPos) const {
    checkPosition(*this, patternPos);
    checkPosition(subject, subjectPos);

    const char* const pattern = data();
    const Position patternEnd = size();
    const char* const text = subject.data();
    const Position textEnd = subject.size();
    const CharMatch same;

    // Up to the first star, each pattern character takes one subject
    // character: one pass settles a pattern without star, and turns most
    // subjects away at their first characters.
    Position p = patternPos;
    Position q = subjectPos;
    for (;; ++p, ++q) {
        if (p == patternEnd) {
            return q == textEnd;
        }
        if (pattern[p] == '*') {
            break;
        }
        if (q == textEnd || !same(pattern[p], text[q])) {
            return false;
        }
    }

    Position lastStar = patternEnd - 1;
    while (pattern[lastStar] != '*') {
        --lastStar;  // stops at the star found above at the latest
    }

    // Behind the last star run the pattern has a fixed length, so the
    // subject's end must match it whatever the stars take: testing that
    // first turns most names away at once ('*.txt' against 'notes.doc').
    Position tailStart = lastStar + 1;
    while (tailStart < patternEnd && pattern[tailStart] == '?') {
        ++tailStart;
    }
    const Position tail = patternEnd - tailStart;
    if (textEnd - q < tail) {
        return false;
    }
    const Position limit = textEnd - tail;  // where the tail begins in the subject
    for (Position i = 0; i < tail; ++i) {
        if (!same(pattern[tailStart + i], text[limit + i])) {
            return false;
        }
    }

    // The segments between the first and the last star run, each found in
    // the subject between the previous one and the tail.
    for (;;) {
        p = skipStarRun(pattern, p, lastStar);
        if (p > lastStar) {
            return true;
        }
        Position segmentEnd = p + 1;
        while (pattern[segmentEnd] != '*') {
            ++segmentEnd;  // stops at the last star at the latest
        }
        const Position found = findSegment(pattern + p, segmentEnd - p, text, q, limit, same);
        if (found == npos) {
            return false;
        }
        q = found + (segmentEnd - p);
        p = segmentEnd;
    }
}

}  // namespace quen
