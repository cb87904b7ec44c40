// A host that loads a plugin using quen.dll, compares strings through it on
// its own thread and on another, and frees it again: quen.dll must go with
// the plugin (nothing per thread may pin it), and come back working when
// the plugin is loaded again.
//
//     unload_host PLUGIN
//
// Exit code 0 when every cycle loaded, worked and unloaded.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace {

typedef int (*SameIgnoringCase)(const char*, const char*);
typedef void (*Message)(int, char*, int);

int fail(int cycle, const char* what) {
    std::fprintf(stderr, "cycle %d: %s\n", cycle, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: unload_host PLUGIN\n");
        return 2;
    }
    for (int cycle = 0; cycle < 2; ++cycle) {
        if (GetModuleHandleA("quen.dll") != nullptr) {
            return fail(cycle, "quen.dll is loaded before the plugin");
        }
        HMODULE plugin = LoadLibraryA(argv[1]);
        if (plugin == nullptr) {
            return fail(cycle, "LoadLibrary of the plugin failed");
        }
        const SameIgnoringCase same =
            reinterpret_cast<SameIgnoringCase>(reinterpret_cast<void*>(GetProcAddress(plugin, "pluginSameIgnoringCase")));
        const Message message = reinterpret_cast<Message>(reinterpret_cast<void*>(GetProcAddress(plugin, "pluginMessage")));
        if (same == nullptr || message == nullptr || GetModuleHandleA("quen.dll") == nullptr) {
            return fail(cycle, "the plugin's functions or quen.dll are missing");
        }
        if (same("Quen Ltd.", "qUEN lTD.") != 1 || same("a", "b") != 0) {
            return fail(cycle, "comparison on the loading thread");
        }
        int otherThread = -1;
        std::thread([&] { otherThread = same("ABC", "abc"); }).join();
        if (otherThread != 1) {
            return fail(cycle, "comparison on another thread");
        }
        // The module entry stored this load's module handle for the table.
        char text[64];
        message(1, text, sizeof text);
        if (std::strcmp(text, "File READ error") != 0) {
            return fail(cycle, "message 1");
        }
        if (!FreeLibrary(plugin)) {
            return fail(cycle, "FreeLibrary failed");
        }
        if (GetModuleHandleA("quen.dll") != nullptr) {
            return fail(cycle, "quen.dll stays loaded after FreeLibrary");
        }
    }
    std::printf("quen.dll loaded, worked and unloaded twice\n");
    return 0;
}
