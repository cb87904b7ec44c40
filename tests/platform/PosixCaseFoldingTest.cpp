// Case folding under glibc's per-thread locales (uselocale) and locales loaded and freed while the library runs.
#include <gtest/gtest.h>

#include <locale.h>

#include <atomic>
#include <thread>

#include "quen/strings/StdString.h"
#include "support/Locales.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

typedef quen::ICharTraits<char> Traits;

// glibc 2.36 leaks the search path that newlocale builds from LOCPATH.
locale_t newCtypeLocale(const char* name) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler leaksIgnored;
#endif
    return newlocale(LC_CTYPE_MASK, name, locale_t(0));
}

}  // namespace

// One thread folds in the C locale while another loads, uses and frees Latin-1 and Greek locales in turn: glibc
// unmaps a locale with its last object and often loads the next at the same address. 0xFC folds to 0xDC in
// Latin-1, to 0xBC in ISO-8859-7, where sigma has three forms (0xF3, 0xF2, 0xD3) that no pair of bytes covers.
TEST(PosixCaseFolding, EachThreadFoldsInTheLocaleItUsesAlsoWhereAFreedOneWas) {
    std::atomic<bool> done{false};
    std::thread inC([&] {
        do {
            EXPECT_TRUE(support::foldsAsToupper());
            EXPECT_EQ(quen::StdString::npos, quen::StdString("a\xC9").find("\xE9"));
        } while (!done);
    });
    for (int round = 0; round < 4; ++round) {
        const bool greek = round % 2 == 1;
        const locale_t locale = newCtypeLocale(greek ? support::greekLocale() : support::latin1Locale());
        EXPECT_NE(locale_t(0), locale) << round;
        if (locale == locale_t(0)) break;  // the thread in C must still be joined
        uselocale(locale);
        EXPECT_TRUE(support::foldsAsToupper()) << round;
        EXPECT_TRUE(Traits::eq('\xFC', '\xDC') != greek && Traits::eq('\xFC', '\xBC') == greek &&
                    Traits::eq('\xF2', '\xF3') == greek) << round;
        EXPECT_TRUE(support::searchesAsTheBaseString(std::string("\xF3\xD3\xF2\xE1\xC1\xDC\xB6\xFC "), round)) << round;
        uselocale(LC_GLOBAL_LOCALE);
        freelocale(locale);
    }
    done = true;
    inC.join();
}
