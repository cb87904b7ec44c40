#include "support/Locales.h"

#include <cctype>
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

}  // namespace support
