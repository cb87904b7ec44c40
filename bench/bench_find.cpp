// StdString::find (case-insensitive, through ICharTraits) against glibc's
// strcasestr on a 4 MiB text.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/strings/StdString.h"

namespace {

// English-like text: words of a small vocabulary in mixed case.
std::string makeText(std::size_t size) {
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

}  // namespace

int main() {
    const std::size_t size = 4u << 20;
    std::string text = makeText(size);
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
    std::printf("StdString::find on %zu bytes of text against strcasestr\n", size);
    for (const Case& c : cases) {
        std::string haystack = text;
        if (c.present) {
            std::memcpy(&haystack[size - std::strlen(c.needle) - 10], c.needle, std::strlen(c.needle));
        }
        const quen::StdString ours(haystack.c_str());
        std::string lower = c.needle;
        for (char& ch : lower) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        volatile std::size_t sink = 0;
        const double quenTime = bench::bestSeconds(15, [&] { sink = ours.find(lower.c_str()); });
        const std::size_t found = ours.find(lower.c_str());
        const char* hit = nullptr;
        const double baseTime = bench::bestSeconds(15, [&] { hit = strcasestr(haystack.c_str(), lower.c_str()); });
        const std::size_t expected = hit != nullptr ? static_cast<std::size_t>(hit - haystack.c_str())
                                                    : quen::StdString::npos;
        if (found != expected) {
            std::printf("MISMATCH for %s: %zu against %zu\n", c.label, found, expected);
            return 1;
        }
        bench::report(c.label, quenTime, "strcasestr", baseTime, 1.0);
    }
    return 0;
}
