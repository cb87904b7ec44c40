// A plugin, as a host loads it: a DLL that links quen.dll and uses it, so that quen comes and goes with the plugin.
#include <cstring>

#include "quen/strings/StdString.h"
#include "quen/strings/UtilityStrings.h"

extern "C" __declspec(dllexport) int pluginSameIgnoringCase(const char* a, const char* b) {
    return quen::StdString(a) == quen::StdString(b) ? 1 : 0;
}

extern "C" __declspec(dllexport) void pluginMessage(int id, char* buffer, int size) {  // size > 0
    std::strncpy(buffer, quen::utilityStrings(id).c_str(), static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
}
