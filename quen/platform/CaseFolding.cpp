#include "quen/platform/CaseFolding.h"

#include <cctype>
#include <clocale>
#include <string>

namespace quen {
namespace platform {
namespace {

void build(CaseFolding& folding) {
    for (int b = 0; b < 256; ++b) {
        const int c = static_cast<signed char>(static_cast<unsigned char>(b));
        folding.upper[b] = static_cast<unsigned char>(std::toupper(c));
    }
    for (int b = 0; b < 256; ++b) {
        unsigned char* const variants = folding.variants[b];
        variants[0] = static_cast<unsigned char>(b);
        variants[1] = 0;
        int count = 1;
        for (int other = 0; other < 256 && count <= 2; ++other) {
            if (other != b && folding.upper[other] == folding.upper[b]) {
                if (count == 1) {
                    variants[1] = static_cast<unsigned char>(other);
                }
                ++count;
            }
        }
        folding.variantCount[b] = static_cast<unsigned char>(count <= 2 ? count : 0);
    }
}

// What identifies the thread's locale cheaply: glibc hands out the toupper
// table of the locale in force, which is a new table whenever it changes;
// elsewhere the name of the LC_CTYPE category tells.
struct LocaleKey {
#if defined(__GLIBC__)
    const void* table;  // zero-initialised, as thread_local data is
    bool matchesCurrent() const { return table == *__ctype_toupper_loc(); }
    void takeCurrent() { table = *__ctype_toupper_loc(); }
#else
    std::string name;
    bool valid;
    bool matchesCurrent() const {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        return valid && current != nullptr && name == current;
    }
    void takeCurrent() {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        name = current != nullptr ? current : "";
        valid = true;
    }
#endif
};

#if defined(__GLIBC__)
// Every search asks for the folding, so the thread's copy must be cheap to
// reach from inside the shared library: the initial-exec model makes it a
// plain offset from the thread pointer instead of a __tls_get_addr call.
#  define QUEN_FAST_TLS __attribute__((tls_model("initial-exec")))
#else
#  define QUEN_FAST_TLS
#endif

struct ThreadFolding {
    LocaleKey key;
    CaseFolding folding;
};

// Per thread, as the locale may be per thread (uselocale).
thread_local ThreadFolding threadFolding QUEN_FAST_TLS;

}  // namespace

const CaseFolding& caseFolding() {
    ThreadFolding& mine = threadFolding;
    if (!mine.key.matchesCurrent()) {
        mine.key.takeCurrent();
        build(mine.folding);
    }
    return mine.folding;
}

}  // namespace platform
}  // namespace quen
