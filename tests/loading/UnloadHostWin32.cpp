// A host that loads a plugin using quen.dll, compares strings through it on its own thread and on another, and frees it
// again: quen.dll must go with the plugin (nothing per thread may pin it), and come back working when the plugin is
// loaded again.     unload_host PLUGIN
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <thread>

static const char* loadUseAndFree(const char* path) {
    if (GetModuleHandleA("quen.dll") != nullptr) return "quen.dll is loaded before the plugin";
    const HMODULE plugin = LoadLibraryA(path);
    if (plugin == nullptr) return "the plugin does not load";
    const auto same = reinterpret_cast<int (*)(const char*, const char*)>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "pluginSameIgnoringCase")));
    const auto message =
        reinterpret_cast<void (*)(int, char*, int)>(reinterpret_cast<void*>(GetProcAddress(plugin, "pluginMessage")));
    if (!same || !message || GetModuleHandleA("quen.dll") == nullptr) return "a function or quen.dll is missing";
    int otherThread = -1;
    std::thread([&] { otherThread = same("ABC", "abc"); }).join();
    char text[64];
    message(1, text, sizeof text);  // the module entry stored this load's handle for the table
    if (same("Quen Ltd.", "qUEN lTD.") != 1 || same("a", "b") != 0 || otherThread != 1) return "comparisons";
    if (std::strcmp(text, "File READ error") != 0) return "message 1";
    if (!FreeLibrary(plugin) || GetModuleHandleA("quen.dll") != nullptr) return "quen.dll stays after FreeLibrary";
    return nullptr;
}

int main(int argc, char** argv) {
    const char* failure = argc != 2 ? "usage: unload_host PLUGIN" : loadUseAndFree(argv[1]);
    if (failure == nullptr) failure = loadUseAndFree(argv[1]);
    if (failure != nullptr) std::fprintf(stderr, "%s\n", failure);
    return failure != nullptr ? 1 : 0;
}
