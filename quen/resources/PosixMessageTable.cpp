#include "quen/resources/PosixMessageTable.h"

#include <dlfcn.h>

#include "quen/platform/Win32.h"

namespace quen {
namespace resources {
namespace {

#define QUEN_MESSAGE(id, text) {id, text},
const posix::StringResource messageTable[] = {
#include "quen/resources/MessageTexts.def"
};
#undef QUEN_MESSAGE

}  // namespace

void* libraryModuleHandle() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&libraryModuleHandle), &info) != 0) {
        return info.dli_fbase;
    }
    return nullptr;
}

void registerMessageTable(void* module) {
    posix::registerStringTable(static_cast<HINSTANCE>(module), messageTable,
                               sizeof messageTable / sizeof messageTable[0]);
}

void unregisterMessageTable(void* module) {
    posix::unregisterStringTable(static_cast<HINSTANCE>(module));
}

}  // namespace resources
}  // namespace quen
