#include "support/Locales.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "quen/strings/StdString.h"

namespace support {

::testing::AssertionResult foldsAsToupper() {
    typedef quen::ICharTraits<char> Traits;
    const auto fold = [](int b) { return static_cast<signed char>(std::toupper(static_cast<signed char>(b))); };
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const quen::StdString text(all.c_str());
    for (int a = 0; a < 256; ++a) {
        const char ca = static_cast<char>(a);
        // Where the first and last bytes that fold as a does, and that do not, stand.
        std::size_t want[4] = {quen::StdString::npos, quen::StdString::npos, quen::StdString::npos, quen::StdString::npos};
        for (std::size_t i = 0; i < all.size(); ++i) {
            const int kind = fold(static_cast<unsigned char>(all[i])) == fold(a) ? 0 : 2;
            want[kind] = want[kind] == quen::StdString::npos ? i : want[kind];
            want[kind + 1] = i;
        }
        const std::size_t found[] = {text.find(ca), text.rfind(ca), text.find_first_not_of(ca), text.find_last_not_of(ca)};
        for (int kind = 0; kind < 4 && a != 0; ++kind)
            if (found[kind] != want[kind])
                return ::testing::AssertionFailure() << "search " << kind << " of byte " << a << ": " << found[kind];
        for (int b = 0; b < 256; ++b) {
            const char cb = static_cast<char>(b);
            if (Traits::eq(ca, cb) != (fold(a) == fold(b)) || Traits::lt(ca, cb) != (fold(a) < fold(b))) {
                return ::testing::AssertionFailure() << "bytes " << a << " and " << b << ": eq " << Traits::eq(ca, cb)
                                                     << ", lt " << Traits::lt(ca, cb) << " against toupper";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult searchesAsTheBaseString(const std::string& alphabet, unsigned int seed) {
    std::mt19937 random(seed);
    const auto pick = [&](std::size_t letters) { return alphabet[random() % 3 == 0 ? random() % 2 : random() % letters]; };
    for (int round = 0; round < 400; ++round) {
        std::string text(round % 4 == 0 ? 150 + random() % 300 : random() % 70, ' ');
        std::string needle(random() % 8, ' ');
        for (char& c : text) c = pick(round % 2 == 0 ? 3 : alphabet.size());
        for (char& c : needle) c = random() % 20 == 0 ? '\0' : pick(4);
        if (round % 3 == 0 && !text.empty()) {
            needle = text.substr(random() % text.size(), 1 + random() % 40);
            needle[random() % needle.size()] = pick(4);
        }
        const quen::StdString s(text.c_str());
        const char* const n = needle.c_str();
        const std::size_t k = needle.size();
        const char c = k > 0 ? n[0] : alphabet.back();
        // Called with the StdString and with its base string, whose members search position by position.
        const auto searches = [&](const auto& str, std::size_t at, std::size_t back) {
            return std::vector<std::size_t>{str.find(n, at, k), str.rfind(n, back, k), str.find_first_of(n, at, k),
                str.find_last_of(n, back, k), str.find_first_not_of(n, at, k), str.find_last_not_of(n, back, k),
                str.rfind(c, back), str.find_first_not_of(c, at), str.find_last_not_of(c, back)};
        };
        for (std::size_t at = 0; at <= text.size() + 1; at += text.size() > 100 ? 7 : 1) {
            const std::size_t back = text.size() - at;  // npos among them
            const auto got = searches(s, at, back), want = searches(static_cast<const quen::StdString::BaseString&>(s), at, back);
            const auto i = std::mismatch(got.begin(), got.end(), want.begin()).first - got.begin();
            if (i < 9) {
                return ::testing::AssertionFailure() << "search " << i << " from " << at << ": " << got[i] << " for "
                                                     << want[i] << ", text '" << text << "', needle '" << needle << "'";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace support
