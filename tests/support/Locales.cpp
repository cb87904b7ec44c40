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
    for (int a = 0; a < 256; ++a) {
        const char ca = static_cast<char>(a);
        if (a != 0) {
            const std::size_t expected = [&] {
                for (std::size_t i = 0; i < all.size(); ++i) {
                    if (fold(static_cast<unsigned char>(all[i])) == fold(a)) {
                        return i;
                    }
                }
                return quen::StdString::npos;
            }();
            if (text.find(ca) != expected) {
                return ::testing::AssertionFailure() << "find of byte " << a << ": " << text.find(ca) << ", toupper says "
                                                     << expected;
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
