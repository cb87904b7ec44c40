#include "quen/resources/ModuleEntry.h"

#include "quen/platform/Win32.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace resources {

bool moduleEntry(void* module) {
    UtilityStrings::instance(module);
    return true;
}

}  // namespace resources
}  // namespace quen

#if defined(_WIN32) && !defined(QUEN_STATIC)
// The system calls this for process and thread attach and detach, after the
// runtime has built the library's static objects (and before it destroys
// them); every call stores the same handle.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD, LPVOID) {
    return quen::resources::moduleEntry(module) ? TRUE : FALSE;
}
#endif
