// StdString's searches. Each gives exactly the result of the base string's
// position-by-position search, with the case folding taken once per call.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "quen/platform/CaseFolding.h"
#include "quen/strings/StdString.h"

namespace quen {
namespace {

typedef StdString::size_type Size;
const Size npos = StdString::npos;

unsigned char byte(char c) {
    return static_cast<unsigned char>(c);
}

// Sixteen bytes at once. No function takes or returns one by value: where
// the target has no vector registers (32-bit Windows without SSE) that
// would change the calling convention.
typedef unsigned char Bytes __attribute__((vector_size(16)));

// The lanes of a comparison result (0 or all ones each) as a bit mask, lane
// 0 in bit 0.
unsigned laneMask(const Bytes& hits) {
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    unsigned mask = 0;
    for (int half = 0; half < 2; ++half) {
        // Gathers bit 0 of each byte into the top byte of the product.
        const std::uint64_t bits = halves[half] & 0x0101010101010101ULL;
        mask |= static_cast<unsigned>((bits * 0x0102040810204080ULL) >> 56) << (8 * half);
    }
    return mask;
}

// Sets the lanes of passing whose byte at p is neither a nor b to 0.
void keepEither(Bytes& passing, const char* p, unsigned char a, unsigned char b) {
    Bytes chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    passing &= (chunk == a) | (chunk == b);
}

// The sixteen bytes at p that are a or b, as a bit mask.
unsigned eitherMask(const char* p, unsigned char a, unsigned char b) {
    Bytes passing = Bytes{} + 0xFF;
    keepEither(passing, p, a, b);
    return laneMask(passing);
}

// The first of the n bytes at p that is a or b (Wanted) or neither
// (!Wanted); null when there is none.
template <bool Wanted>
const char* scanForward(const char* p, Size n, unsigned char a, unsigned char b) {
    const char* const end = p + n;
    for (; end - p >= 16; p += 16) {
        unsigned mask = eitherMask(p, a, b);
        if (!Wanted) {
            mask ^= 0xFFFF;
        }
        if (mask != 0) {
            return p + __builtin_ctz(mask);
        }
    }
    for (; p < end; ++p) {
        if ((byte(*p) == a || byte(*p) == b) == Wanted) {
            return p;
        }
    }
    return nullptr;
}

// The last of the n bytes at p that is a or b (Wanted) or neither.
template <bool Wanted>
const char* scanBackward(const char* p, Size n, unsigned char a, unsigned char b) {
    const char* end = p + n;
    for (; end - p >= 16; end -= 16) {
        unsigned mask = eitherMask(end - 16, a, b);
        if (!Wanted) {
            mask ^= 0xFFFF;
        }
        if (mask != 0) {
            return end - 16 + (31 - __builtin_clz(mask));
        }
    }
    while (end > p) {
        --end;
        if ((byte(*end) == a || byte(*end) == b) == Wanted) {
            return end;
        }
    }
    return nullptr;
}

// A character c that a scan looks for as the bytes folding alike: false when
// more than two bytes fold as c does (a scan must then fold every byte).
bool variantsOf(const platform::CaseFolding& tables, char c, unsigned char& a, unsigned char& b) {
    if (tables.variantCount[byte(c)] == 0) {
        return false;
    }
    a = tables.variants[byte(c)][0];
    b = tables.variants[byte(c)][1];
    return true;
}

// ---------------------------------------------------------------------------
// The Two-Way search (Crochemore and Perrin) over folded bytes.
//
// The needle is cut at a critical position: the right half is compared left
// to right from the cut, the left half right to left after it, and the
// shifts that follow a mismatch never pass an occurrence. Each text byte is
// compared a bounded number of times, so the time is linear in the text
// whatever the needle, where comparing the whole needle at every position
// takes needle length times text length on texts of near matches.

class TwoWay {
public:
    // needle: the folded needle, count >= 1 bytes.
    TwoWay(const unsigned char* needle, Size count) : needle_(needle), count_(count) {
        Size forwardPeriod = 0;
        Size reversePeriod = 0;
        const Size forward = maximalSuffix(false, forwardPeriod);
        const Size reverse = maximalSuffix(true, reversePeriod);
        // The later of the two maximal suffixes gives a critical position.
        if (forward > reverse) {
            cut_ = forward;
            period_ = forwardPeriod;
        } else {
            cut_ = reverse;
            period_ = reversePeriod;
        }
        // When the left half is repeated at the period, the needle is
        // periodic: a shift by the period keeps the part already seen.
        periodic_ = std::memcmp(needle_, needle_ + period_, cut_) == 0;
        if (!periodic_) {
            period_ = (cut_ > count_ - cut_ ? cut_ : count_ - cut_) + 1;
        }
    }

    Size cut() const { return cut_; }

    // The first alignment j in [from, last] at which the needle matches the
    // text, or npos. folded(j, i) is the folded text byte that needle byte i
    // meets at alignment j (text[j + i] for a forward search; a backward
    // search runs over the text and the needle reversed). skip(j) returns
    // an alignment >= j below which nothing can match (npos for none), for
    // a filter that passes over alignments in bulk; it is consulted only
    // where the search keeps nothing in mind.
    template <typename Folded, typename Skip>
    Size search(Size from, Size last, Folded folded, Skip skip) const {
        Size j = from;
        Size memory = 0;  // needle bytes known to match at alignment j
        while (j <= last) {
            if (memory == 0) {
                j = skip(j);
                if (j == npos || j > last) {
                    return npos;
                }
            }
            Size i = cut_ > memory ? cut_ : memory;
            while (i < count_ && needle_[i] == folded(j, i)) {
                ++i;
            }
            if (i < count_) {
                j += i - cut_ + 1;
                memory = 0;
                continue;
            }
            i = cut_;
            while (i > memory && needle_[i - 1] == folded(j, i - 1)) {
                --i;
            }
            if (i <= memory) {
                return j;
            }
            j += period_;
            memory = periodic_ ? count_ - period_ : 0;
        }
        return npos;
    }

private:
    // The start of the needle's maximal suffix under the byte order
    // (reversed or not), with the period of that suffix.
    Size maximalSuffix(bool reversed, Size& period) const {
        Size start = 0;  // of the best suffix so far
        Size j = 1;      // of the suffix compared with it
        Size k = 0;      // bytes of both compared so far
        period = 1;
        while (j + k < count_) {
            const unsigned char a = needle_[j + k];
            const unsigned char b = needle_[start + k];
            if (a == b) {
                if (k + 1 == period) {
                    j += period;
                    k = 0;
                } else {
                    ++k;
                }
            } else if ((a < b) != reversed) {
                // The suffix at j is smaller: the best suffix's period grows
                // to everything up to here.
                j += k + 1;
                k = 0;
                period = j - start;
            } else {
                // The suffix at j is larger: it becomes the best.
                start = j;
                j = start + 1;
                k = 0;
                period = 1;
            }
        }
        return start;
    }

    const unsigned char* needle_;
    Size count_;
    Size cut_;
    Size period_;
    bool periodic_;
};

// Up to three needle bytes, each as the bytes that fold alike: a condition
// every match meets, tested at sixteen alignments at once.
class Filter {
public:
    // Takes needle bytes first to first + 2 (those within the needle);
    // bytes with more than two variants are left out.
    Filter(const platform::CaseFolding& table, const char* needle, Size count, Size first) {
        for (Size i = first; i < count && i < first + 3; ++i) {
            if (variantsOf(table, needle[i], variants_[width_][0], variants_[width_][1])) {
                offsets_[width_++] = i;
            }
        }
    }

    bool empty() const { return width_ == 0; }

    // The first alignment in [from, last] that passes, or npos.
    Size next(const char* text, Size from, Size last) const {
        Size j = from;
        for (; j <= last && last - j >= 15; j += 16) {  // sixteen alignments, all at most last
            const unsigned mask = passing(text + j);
            if (mask != 0) {
                return j + __builtin_ctz(mask);
            }
        }
        for (; j <= last; ++j) {
            if (passes(text + j)) {
                return j;
            }
        }
        return npos;
    }

    // The last alignment at most from that passes, or npos.
    Size previous(const char* text, Size from) const {
        Size j = from + 1;  // one past the alignments left
        for (; j >= 16; j -= 16) {
            const unsigned mask = passing(text + j - 16);
            if (mask != 0) {
                return j - 16 + (31 - __builtin_clz(mask));
            }
        }
        while (j > 0) {
            if (passes(text + --j)) {
                return j;
            }
        }
        return npos;
    }

private:
    // The alignments at to at + 15 that pass, as a bit mask.
    unsigned passing(const char* at) const {
        Bytes passing = Bytes{} + 0xFF;
        for (int i = 0; i < width_; ++i) {
            keepEither(passing, at + offsets_[i], variants_[i][0], variants_[i][1]);
        }
        return laneMask(passing);
    }

    bool passes(const char* at) const {
        for (int i = 0; i < width_; ++i) {
            const unsigned char c = byte(at[offsets_[i]]);
            if (c != variants_[i][0] && c != variants_[i][1]) {
                return false;
            }
        }
        return true;
    }

    int width_ = 0;
    Size offsets_[3] = {};
    unsigned char variants_[3][2] = {};
};

// A needle folded (and reversed for a backward search), on the stack when
// it is short.
class FoldedNeedle {
public:
    FoldedNeedle(const platform::CaseFolding& folding, const char* s, Size count, bool reversed) {
        if (count > sizeof short_) {
            long_.reset(new unsigned char[count]);
            bytes_ = long_.get();
        }
        for (Size i = 0; i < count; ++i) {
            bytes_[reversed ? count - 1 - i : i] = folding.upper[byte(s[i])];
        }
    }
    FoldedNeedle(const FoldedNeedle&) = delete;
    FoldedNeedle& operator=(const FoldedNeedle&) = delete;

    const unsigned char* bytes() const { return bytes_; }

private:
    unsigned char short_[256];
    std::unique_ptr<unsigned char[]> long_;
    unsigned char* bytes_ = short_;
};

// The set of a find_..._of call, folded: member(c) when c folds as one of
// the set's characters does.
class FoldedSet {
public:
    FoldedSet(const platform::CaseFolding& folding, const char* s, Size count) : upper_(folding.upper) {
        for (Size i = 0; i < count; ++i) {
            const unsigned char c = folding.upper[byte(s[i])];
            bits_[c / 64] |= std::uint64_t(1) << (c % 64);
        }
    }
    bool member(char c) const {
        const unsigned char folded = upper_[byte(c)];
        return (bits_[folded / 64] >> (folded % 64)) & 1;
    }

private:
    const unsigned char* upper_;
    std::uint64_t bits_[4] = {};
};

// The first (Wanted) position at or after position whose character is, or
// (!Wanted) is not, equal to c ignoring case.
template <bool Wanted>
Size findChar(const StdString& s, char c, Size position) {
    const Size length = s.size();
    if (position >= length) {
        return npos;
    }
    const char* const text = s.data();
    const platform::CaseFolding& folding = platform::caseFolding();
    unsigned char a = 0;
    unsigned char b = 0;
    if (variantsOf(folding, c, a, b)) {
        const char* found = scanForward<Wanted>(text + position, length - position, a, b);
        return found != nullptr ? static_cast<Size>(found - text) : npos;
    }
    const unsigned char wanted = folding.upper[byte(c)];
    for (Size i = position; i < length; ++i) {
        if ((folding.upper[byte(text[i])] == wanted) == Wanted) {
            return i;
        }
    }
    return npos;
}

// The last position at or before position whose character is (Wanted), or
// is not, equal to c ignoring case.
template <bool Wanted>
Size findLastChar(const StdString& s, char c, Size position) {
    const Size length = s.size();
    if (length == 0) {
        return npos;
    }
    const Size end = (position < length ? position : length - 1) + 1;  // one past the last candidate
    const char* const text = s.data();
    const platform::CaseFolding& folding = platform::caseFolding();
    unsigned char a = 0;
    unsigned char b = 0;
    if (variantsOf(folding, c, a, b)) {
        const char* found = scanBackward<Wanted>(text, end, a, b);
        return found != nullptr ? static_cast<Size>(found - text) : npos;
    }
    const unsigned char wanted = folding.upper[byte(c)];
    for (Size i = end; i-- > 0;) {
        if ((folding.upper[byte(text[i])] == wanted) == Wanted) {
            return i;
        }
    }
    return npos;
}

}  // namespace

StdString::size_type StdString::find(const char* s, size_type position, size_type count) const {
    const size_type length = size();
    if (count == 0) {
        return position <= length ? position : npos;
    }
    if (position >= length || count > length - position) {
        return npos;
    }
    if (count == 1) {
        return BaseString::find(s[0], position);
    }
    const char* const text = data();
    const size_type last = length - count;  // the last alignment that fits
    const platform::CaseFolding& folding = platform::caseFolding();
    const FoldedNeedle needle(folding, s, count, false);
    const TwoWay twoWay(needle.bytes(), count);
    // The filter's bytes start at the cut, where the comparisons start.
    const Filter filter(folding, s, count, count < 3 ? 0 : std::min(twoWay.cut(), count - 3));
    const unsigned char* const upper = folding.upper;
    const auto folded = [&](size_type j, size_type i) { return upper[byte(text[j + i])]; };
    if (filter.empty()) {
        return twoWay.search(position, last, folded, [](size_type j) { return j; });
    }
    return twoWay.search(position, last, folded, [&](size_type j) { return filter.next(text, j, last); });
}

StdString::size_type StdString::rfind(const char* s, size_type position, size_type count) const {
    const size_type length = size();
    if (count > length) {
        return npos;
    }
    const size_type start = position < length - count ? position : length - count;  // the last alignment
    if (count == 0) {
        return start;
    }
    if (count == 1) {
        return rfind(s[0], start);
    }
    // The same search over the text and the needle reversed: alignment j
    // of the reversed needle is alignment start - j of the needle.
    const char* const text = data();
    const size_type end = start + count;  // one past the last byte a match may take
    const platform::CaseFolding& folding = platform::caseFolding();
    const FoldedNeedle needle(folding, s, count, true);
    const TwoWay twoWay(needle.bytes(), count);
    const size_type cut = count - 1 - twoWay.cut();  // where the comparisons start, in the needle
    const Filter filter(folding, s, count, cut < 2 ? 0 : cut - 2);
    const unsigned char* const upper = folding.upper;
    const auto folded = [&](size_type j, size_type i) { return upper[byte(text[end - 1 - j - i])]; };
    const size_type found =
        filter.empty() ? twoWay.search(0, start, folded, [](size_type j) { return j; })
                       : twoWay.search(0, start, folded, [&](size_type j) {
                             const size_type alignment = filter.previous(text, start - j);
                             return alignment == npos ? npos : start - alignment;
                         });
    return found == npos ? npos : start - found;
}

StdString::size_type StdString::rfind(char c, size_type position) const {
    return findLastChar<true>(*this, c, position);
}

StdString::size_type StdString::find_first_of(const char* s, size_type position, size_type count) const {
    if (count == 1) {
        return find(s[0], position);
    }
    if (count == 0) {
        return npos;
    }
    const FoldedSet set(platform::caseFolding(), s, count);
    for (size_type i = position; i < size(); ++i) {
        if (set.member(data()[i])) {
            return i;
        }
    }
    return npos;
}

StdString::size_type StdString::find_last_of(const char* s, size_type position, size_type count) const {
    if (count == 1) {
        return rfind(s[0], position);
    }
    if (count == 0 || empty()) {
        return npos;
    }
    const FoldedSet set(platform::caseFolding(), s, count);
    for (size_type i = (position < size() ? position : size() - 1) + 1; i-- > 0;) {
        if (set.member(data()[i])) {
            return i;
        }
    }
    return npos;
}

StdString::size_type StdString::find_first_not_of(const char* s, size_type position, size_type count) const {
    if (count == 1) {
        return find_first_not_of(s[0], position);
    }
    const FoldedSet set(platform::caseFolding(), s, count);
    for (size_type i = position; i < size(); ++i) {
        if (!set.member(data()[i])) {
            return i;
        }
    }
    return npos;
}

StdString::size_type StdString::find_first_not_of(char c, size_type position) const {
    return findChar<false>(*this, c, position);
}

StdString::size_type StdString::find_last_not_of(const char* s, size_type position, size_type count) const {
    if (count == 1) {
        return find_last_not_of(s[0], position);
    }
    if (empty()) {
        return npos;
    }
    const FoldedSet set(platform::caseFolding(), s, count);
    for (size_type i = (position < size() ? position : size() - 1) + 1; i-- > 0;) {
        if (!set.member(data()[i])) {
            return i;
        }
    }
    return npos;
}

StdString::size_type StdString::find_last_not_of(char c, size_type position) const {
    return findLastChar<false>(*this, c, position);
}

}  // namespace quen
