// StdString's searches on 4 MiB texts: find against glibc's strcasestr, on
// English-like text and on texts of near matches everywhere ('a's, needles
// of 'a's ending in 'b'); rfind and the find_..._of members against the
// standard string's (case-sensitive) members on the same text.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/strings/StdString.h"

namespace {

const std::size_t size = 4u << 20;

// English-like text: words of a small vocabulary in mixed case.
std::string makeText() {
    const char* const words[] = {"the", "Quick", "brown", "FOX", "jumps", "over", "lazy", "dog", "and",
                                 "Then", "runs", "into", "the", "forest", "where", "nobody", "finds", "it"};
    std::mt19937 random(42);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += words[random() % (sizeof words / sizeof words[0])];
        text += (random() % 12 == 0) ? ".\n" : " ";
    }
    text.resize(size);
    return text;
}

std::string lowerCase(std::string s) {
    for (char& ch : s) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return s;
}

// find of needle in text against strcasestr; false on differing results.
bool findCase(const char* label, const std::string& text, const std::string& needle) {
    const quen::StdString ours(text.c_str());
    volatile std::size_t sink = 0;
    const double quenTime = bench::bestSeconds(15, [&] { sink = ours.find(needle.c_str()); });
    const std::size_t found = ours.find(needle.c_str());
    const char* hit = nullptr;
    const double baseTime = bench::bestSeconds(15, [&] { hit = strcasestr(text.c_str(), needle.c_str()); });
    const std::size_t expected = hit != nullptr ? static_cast<std::size_t>(hit - text.c_str()) : quen::StdString::npos;
    if (found != expected) {
        std::printf("MISMATCH for %s: %zu against %zu\n", label, found, expected);
        return false;
    }
    bench::report(label, quenTime, "strcasestr", baseTime, 1.0);
    return true;
}

// One of StdString's searches against the standard string's, on inputs
// where ignoring case changes nothing; false on differing results.
template <typename Ours, typename Theirs>
bool memberCase(const char* label, Ours ours, Theirs theirs) {
    volatile std::size_t sink = 0;
    const double quenTime = bench::bestSeconds(15, [&] { sink = ours(); });
    const double baseTime = bench::bestSeconds(15, [&] { sink = theirs(); });
    if (ours() != theirs()) {
        std::printf("MISMATCH for %s: %zu against %zu\n", label, ours(), theirs());
        return false;
    }
    bench::report(label, quenTime, "std::string", baseTime, 1.0);
    return true;
}

}  // namespace

int main() {
    const std::string text = makeText();
    std::printf("StdString::find on %zu bytes of text against strcasestr\n", size);
    struct Case {
        const char* label;
        const char* needle;
        bool present;
    };
    const Case cases[] = {
        {"needle at the end, 14 chars", "Needle In Hay!", true},
        {"needle at the end, 3 chars", "ZYX", true},
        {"absent needle, frequent first letter", "thex", false},
        {"absent needle, rare first letter", "qqq", false},
    };
    for (const Case& c : cases) {
        std::string haystack = text;
        if (c.present) {
            std::memcpy(&haystack[size - std::strlen(c.needle) - 10], c.needle, std::strlen(c.needle));
        }
        if (!findCase(c.label, haystack, lowerCase(c.needle))) {
            return 1;
        }
    }

    // Near matches at every position: a search that compares the needle at
    // each one takes needle length times text length.
    std::string as(size, 'a');
    as[size / 2] = 'c';
    for (std::size_t length : {10u, 100u, 1000u}) {
        const std::string label = "'a' x " + std::to_string(length) + " + 'b' in 'a's";
        if (!findCase(label.c_str(), as, std::string(length, 'a') + "b")) {
            return 1;
        }
    }

    std::printf("the other searches against std::string's (case-sensitive) members\n");
    const quen::StdString ours(text.c_str());
    const quen::StdString oursA(as.c_str());
    const std::string nearBackwards = "b" + std::string(100, 'a');
    const bool ok =
        memberCase("rfind, absent needle", [&] { return ours.rfind("thex"); }, [&] { return text.rfind("thex"); }) &&
        memberCase("rfind, 'b' + 'a' x 100 in 'a's", [&] { return oursA.rfind(nearBackwards.c_str()); },
                   [&] { return as.rfind(nearBackwards); }) &&
        memberCase("rfind, absent character", [&] { return ours.rfind('#'); }, [&] { return text.rfind('#'); }) &&
        memberCase("find_first_of, absent set", [&] { return ours.find_first_of("#%&"); },
                   [&] { return text.find_first_of("#%&"); }) &&
        memberCase("find_last_of, absent set", [&] { return ours.find_last_of("#%&"); },
                   [&] { return text.find_last_of("#%&"); }) &&
        memberCase("find_first_not_of, one character", [&] { return oursA.find_first_not_of('a'); },
                   [&] { return as.find_first_not_of('a'); }) &&
        memberCase("find_last_not_of, a set", [&] { return oursA.find_last_not_of("ab"); },
                   [&] { return as.find_last_not_of("ab"); });
    return ok ? 0 : 1;
}
