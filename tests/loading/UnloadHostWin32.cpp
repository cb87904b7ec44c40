// A host that loads a plugin using quen.dll, compares strings through it on
// its own thread and on another, and frees it again: quen.dll must go with
// the plugin (nothing per thread may pin it), and come back working when
// the plugin is loaded again.     unload_host PLUGIN
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    typedef int (*SameIgnoringCase)(const char*, const char*);
    typedef void (*Message)(int, char*, int);
    const char* failure = argc != 2 ? "usage: unload_host PLUGIN" : nullptr;
    for (int cycle = 0; cycle < 2 && failure == nullptr; ++cycle) {
        if (GetModuleHandleA("quen.dll") != nullptr) {
            failure = "quen.dll is loaded before the plugin";
            break;
        }
        const HMODULE plugin = LoadLibraryA(argv[1]);
        const auto function = [plugin](const char* name) {
            return plugin != nullptr ? reinterpret_cast<void*>(GetProcAddress(plugin, name)) : nullptr;
        };
        const SameIgnoringCase same = reinterpret_cast<SameIgnoringCase>(function("pluginSameIgnoringCase"));
        const Message message = reinterpret_cast<Message>(function("pluginMessage"));
        if (same == nullptr || message == nullptr || GetModuleHandleA("quen.dll") == nullptr) {
            failure = "the plugin, its functions or quen.dll are missing";
            break;
        }
        int otherThread = -1;
        std::thread([&] { otherThread = same("ABC", "abc"); }).join();
        char text[64];
        message(1, text, sizeof text);  // the module entry stored this load's handle for the table
        if (same("Quen Ltd.", "qUEN lTD.") != 1 || same("a", "b") != 0 || otherThread != 1) {
            failure = "comparisons";
        } else if (std::strcmp(text, "File READ error") != 0) {
            failure = "message 1";
        } else if (!FreeLibrary(plugin) || GetModuleHandleA("quen.dll") != nullptr) {
            failure = "quen.dll stays loaded after FreeLibrary";
        }
    }
    std::fprintf(failure != nullptr ? stderr : stdout, "%s\n",
                 failure != nullptr ? failure : "quen.dll loaded, worked and unloaded twice");
    return failure != nullptr ? 1 : 0;
}
