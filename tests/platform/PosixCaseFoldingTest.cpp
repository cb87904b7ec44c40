// Case folding under glibc's per-thread locales (uselocale) and locales
// loaded and freed while the library runs.
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

// Two threads at once, one in a Latin-1 locale object, one in the global C
// locale, each folding many times over.
TEST(PosixCaseFolding, EachThreadFoldsInTheLocaleItUses) {
    const locale_t latin1 = newCtypeLocale(support::latin1Locale());
    ASSERT_NE(locale_t(0), latin1);
    std::atomic<int> ready{0};
    const auto work = [&](locale_t use, bool folds) {
        uselocale(use != locale_t(0) ? use : LC_GLOBAL_LOCALE);
        for (++ready; ready != 2;) std::this_thread::yield();
        for (int round = 0; round < 10; ++round) {
            EXPECT_TRUE(support::foldsAsToupper());
            EXPECT_EQ(folds, Traits::eq('\xE9', '\xC9'));
            EXPECT_EQ(folds ? 1u : quen::StdString::npos, quen::StdString("a\xC9").find("\xE9"));
        }
        uselocale(LC_GLOBAL_LOCALE);
    };
    std::thread inLatin1(work, latin1, true), inC(work, locale_t(0), false);
    inLatin1.join();
    inC.join();
    freelocale(latin1);
}

// glibc unmaps a locale read from files with its last locale object, and the
// next one it loads often lands at the same address: the folding of the one in
// use must be its own. 0xFC folds to 0xDC in Latin-1, to 0xBC in ISO-8859-7,
// where sigma has three forms (0xF3, 0xF2, 0xD3), which the searches cannot
// take as a pair of bytes.
TEST(PosixCaseFolding, ALocaleLoadedWhereAFreedOneWasFoldsAsItself) {
    for (int round = 0; round < 4; ++round) {
        const bool greek = round % 2 == 1;
        const locale_t locale = newCtypeLocale(greek ? support::greekLocale() : support::latin1Locale());
        ASSERT_NE(locale_t(0), locale) << round;
        uselocale(locale);
        EXPECT_TRUE(support::foldsAsToupper()) << round;
        EXPECT_TRUE(Traits::eq('\xFC', '\xDC') != greek && Traits::eq('\xFC', '\xBC') == greek &&
                    Traits::eq('\xF2', '\xF3') == greek) << round;
        EXPECT_TRUE(support::searchesAsTheBaseString(std::string("\xF3\xD3\xF2\xE1\xC1\xDC\xB6\xFC "), round)) << round;
        uselocale(LC_GLOBAL_LOCALE);
        freelocale(locale);
    }
}
