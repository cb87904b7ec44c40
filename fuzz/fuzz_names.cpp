// File names and wildcard patterns on arbitrary bytes.
//
// The input is split at its first zero byte: what stands before it is the
// pattern, what follows the subject (without a zero byte, the whole input is
// both). The pattern is matched against the subject, from position 0 and
// from a few inner positions, and checked against a plain recursive matcher
// when the pattern has few stars. The subject repeated to some 1000
// characters is matched too and checked against a table of which prefixes
// of the pattern match which prefixes of the subject, which costs pattern
// times subject whatever the stars; repetition is where the searches behind
// the stars find near-matches everywhere. Both texts go through every
// FileString accessor and increment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "quen/strings/FileString.h"
#include "quen/strings/WildString.h"

namespace {

// The reference rules, as simple as can be: '*' (with the '*' and '?' that
// follow it) takes any run, '?' one character, '.' only '.', anything else
// itself ignoring case. Exponential in the number of stars, so only used
// for patterns with few.
bool reference(const quen::StdString& pattern, std::size_t p, const quen::StdString& subject, std::size_t q) {
    for (;;) {
        if (p == pattern.size()) {
            return q == subject.size();
        }
        const char c = pattern[p];
        if (c == '*') {
            while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '?')) {
                ++p;
            }
            for (std::size_t from = q; from <= subject.size(); ++from) {
                if (reference(pattern, p, subject, from)) {
                    return true;
                }
            }
            return false;
        }
        if (q == subject.size()) {
            return false;
        }
        const bool same = c == '?' || (c == '.' ? subject[q] == '.'
                                                : quen::StdString::traits_type::eq(c, subject[q]));
        if (!same) {
            return false;
        }
        ++p;
        ++q;
    }
}

// The same rules by dynamic programming over the subject: after each
// pattern character, which subject positions the pattern so far can reach.
bool table(const quen::StdString& pattern, std::size_t p, const quen::StdString& subject, std::size_t q) {
    const std::size_t length = subject.size() - q;
    const char* const text = subject.data() + q;
    std::vector<char> rows(2 * (length + 1), 0);
    char* reach = rows.data();
    char* next = reach + length + 1;
    reach[0] = 1;
    while (p < pattern.size()) {
        const char c = pattern[p];
        if (c == '*') {
            while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '?')) {
                ++p;
            }
            for (std::size_t j = 1; j <= length; ++j) {
                reach[j] |= reach[j - 1];
            }
            continue;
        }
        next[0] = 0;
        for (std::size_t j = 0; j < length; ++j) {
            next[j + 1] = reach[j] & (c == '?' || (c == '.' ? text[j] == '.' : quen::StdString::traits_type::eq(c, text[j])));
        }
        std::swap(reach, next);
        ++p;
    }
    return reach[length] != 0;
}

std::size_t stars(const quen::StdString& pattern) {
    std::size_t count = 0;
    for (const char c : pattern) {
        count += c == '*' ? 1 : 0;
    }
    return count;
}

void exerciseName(const std::string& text) {
    const quen::FileString name(text.c_str());
    const quen::FileString parts[] = {name.volumeName(), name.driveName(), name.pathName(),
                                      name.driveAndDirectory(), name.directoryName(), name.fileName(),
                                      name.extension(), name.baseName()};
    for (const quen::FileString& part : parts) {
        // Every part is cut from the value; only the path may gain a '\'.
        if (part.size() > name.size() + 1) {
            std::abort();
        }
    }
    // The value holds no zero byte, so a drive is there exactly when its name is.
    if ((name.drive() == '\0') != name.driveName().empty()) {
        std::abort();
    }
    quen::FileString next(name);
    next.increment();
    const quen::FileString extension = name.extension();
    const std::size_t keep = extension.empty() ? 0 : extension.size() + 1;
    if (next.size() < keep + 1 || (!extension.empty() && next.compare(next.size() - extension.size(),
                                                                      extension.size(), extension) != 0)) {
        std::abort();  // a number, then the old extension
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string patternText = split == std::string::npos ? input : input.substr(0, split);
    const std::string subjectText = split == std::string::npos ? input : input.substr(split + 1);

    const quen::WildString pattern(patternText.c_str());
    quen::StdString subject;
    subject.append(subjectText.data(), subjectText.size());  // zero bytes and all

    const bool whole = pattern.match(subject, 0, 0);
    if (stars(pattern) <= 3 && subject.size() <= 64 && whole != reference(pattern, 0, subject, 0)) {
        std::abort();
    }
    const unsigned int inner[] = {1u, static_cast<unsigned int>(pattern.size() / 2)};
    for (const unsigned int p : inner) {
        if (p <= pattern.size() && subject.size() >= 1) {
            const bool partial = pattern.match(subject, p, 1);
            if (stars(pattern) <= 3 && subject.size() <= 64 && partial != reference(pattern, p, subject, 1)) {
                std::abort();
            }
        }
    }
    if (!subject.empty() && pattern.size() <= 32) {
        quen::StdString repeated;
        while (repeated.size() < 1024) {
            repeated += subject;
        }
        const std::size_t from = size % 3;  // also from inner subject positions
        if (from <= repeated.size() &&
            pattern.match(repeated, 0, static_cast<unsigned int>(from)) != table(pattern, 0, repeated, from)) {
            std::abort();
        }
    }
    (void)pattern.match(subject, 0, 0, static_cast<unsigned int>(size % 7));
    (void)pattern.match(subject, 0, 0, 4294967295u);

    exerciseName(patternText);
    exerciseName(subjectText);
    return 0;
}
