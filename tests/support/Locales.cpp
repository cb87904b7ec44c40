#include "support/Locales.h"

#include <cctype>
#include <random>
#include <string>

#include "quen/strings/StdString.h"

namespace support {

::testing::AssertionResult foldsAsToupper() {
    typedef quen::ICharTraits<char> Traits;
    const auto fold = [](int b) { return static_cast<signed char>(std::toupper(static_cast<signed char>(b))); };
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const quen::StdString text(all.c_str());
    // The first or last position of the text whose byte folds as a does (or not).
    const auto where = [&](int a, bool alike, bool last) {
        for (std::size_t k = 0; k < all.size(); ++k) {
            const std::size_t i = last ? all.size() - 1 - k : k;
            if ((fold(static_cast<unsigned char>(all[i])) == fold(a)) == alike) {
                return i;
            }
        }
        return quen::StdString::npos;
    };
    for (int a = 0; a < 256; ++a) {
        const char ca = static_cast<char>(a);
        const std::size_t found[] = {text.find(ca), text.rfind(ca), text.find_first_not_of(ca), text.find_last_not_of(ca)};
        for (int kind = 0; kind < 4 && a != 0; ++kind) {
            if (found[kind] != where(a, kind < 2, kind % 2 == 1)) {
                return ::testing::AssertionFailure() << "search " << kind << " of byte " << a << ": " << found[kind]
                                                     << ", toupper says " << where(a, kind < 2, kind % 2 == 1);
            }
        }
        for (int b = 0; b < 256; ++b) {
            const char cb = static_cast<char>(b);
            if (Traits::eq(ca, cb) != (fold(a) == fold(b)) || Traits::lt(ca, cb) != (fold(a) < fold(b))) {
                return ::testing::AssertionFailure() << "bytes " << a << " and " << b << " fold to " << int(fold(a))
                                                     << " and " << int(fold(b)) << " with toupper; eq "
                                                     << Traits::eq(ca, cb) << ", lt " << Traits::lt(ca, cb);
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
        const quen::StdString::BaseString& base = s;
        const char* const n = needle.c_str();
        const std::size_t k = needle.size();
        const char c = k > 0 ? n[0] : alphabet.back();
        for (std::size_t at = 0; at <= text.size() + 1; at += text.size() > 100 ? 7 : 1) {
            const std::size_t back = text.size() - at;  // npos among them
            const std::size_t got[] = {s.find(n, at, k),           s.rfind(n, back, k),         s.find_first_of(n, at, k),
                                       s.find_last_of(n, back, k), s.find_first_not_of(n, at, k), s.find_last_not_of(n, back, k),
                                       s.rfind(c, back),           s.find_first_not_of(c, at),  s.find_last_not_of(c, back)};
            const std::size_t want[] = {base.find(n, at, k),           base.rfind(n, back, k),
                                        base.find_first_of(n, at, k),  base.find_last_of(n, back, k),
                                        base.find_first_not_of(n, at, k), base.find_last_not_of(n, back, k),
                                        base.rfind(c, back),           base.find_first_not_of(c, at),
                                        base.find_last_not_of(c, back)};
            for (int i = 0; i < 9; ++i) {
                if (got[i] != want[i]) {
                    return ::testing::AssertionFailure() << "search " << i << " from " << at << " (back " << back
                                                         << "): " << got[i] << " for " << want[i] << ", text '" << text
                                                         << "', needle '" << needle << "'";
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace support
