// A host that has used up the static TLS block, as a program that dlopens many plugins may have, then dlopens
// libquen.so, which must load all the same (it uses no static TLS) and fold case.
//     tls_host LIBQUEN HOG...   (HOGs: libraries of initial-exec TLS, largest first)
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

static int fail(const char* what, const char* detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail != nullptr ? detail : "");
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage", "tls_host LIBQUEN HOG...");
    int refused = 0;
    for (int i = 2; i < argc; ++i) {
        if (dlopen(argv[i], RTLD_NOW | RTLD_LOCAL) != nullptr) continue;
        const char* error = dlerror();
        if (error == nullptr || std::strstr(error, "static TLS") == nullptr) return fail("a hog failed otherwise", error);
        ++refused;
    }
    if (refused == 0) return fail("the static TLS block is not used up", "add hogs");
    void* const quen = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (quen == nullptr) return fail("dlopen of quen", dlerror());
    // quen::StdString::version() and quen::platform::caseFolding(), whose first 256 bytes are the upper-case table.
    const auto version = reinterpret_cast<const char* (*)()>(dlsym(quen, "_ZN4quen9StdString7versionEv"));
    const auto folding = reinterpret_cast<const unsigned char* (*)()>(dlsym(quen, "_ZN4quen8platform11caseFoldingEv"));
    if (version == nullptr || folding == nullptr) return fail("dlsym", dlerror());
    const unsigned char* upper = folding();
    const bool right = std::strcmp(version(), "StdString 1.0, 16.08.1999") == 0 && upper[int{'q'}] == 'Q';
    return right && upper[int{'Q'}] == 'Q' ? 0 : fail("quen", "answers wrongly");
}
