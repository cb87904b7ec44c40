#include "quen/resources/MessageTable.h"

#include <cstring>

#include "quen/platform/Win32.h"

#if !defined(_WIN32) && !defined(QUEN_STATIC)
#  include <dlfcn.h>
#endif

namespace quen {
namespace resources {

// quen.dll reads its texts from its resource (quen.rc); everywhere else they
// are compiled in.
#if !defined(_WIN32) || defined(QUEN_STATIC)
namespace {

#if defined(_WIN32)
struct Message {
    unsigned int id;
    const char* text;
};
#else
using Message = posix::StringResource;
#endif

#define QUEN_MESSAGE(id, text) {id, text},
const Message messageTable[] = {
#include "quen/resources/MessageTexts.def"
};
#undef QUEN_MESSAGE

const std::size_t messageCount = sizeof messageTable / sizeof messageTable[0];

}  // namespace
#endif

#if defined(QUEN_STATIC)
namespace {
// Its address is the static library's module handle.
const char staticModule = 0;
}  // namespace

void* libraryModuleHandle() {
    return const_cast<char*>(&staticModule);
}
#elif !defined(_WIN32)
void* libraryModuleHandle() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&libraryModuleHandle), &info) != 0) {
        return info.dli_fbase;
    }
    return nullptr;
}
#endif

#if defined(_WIN32)
void registerMessageTable(void*) {}
void unregisterMessageTable(void*) {}
#else
void registerMessageTable(void* module) {
    posix::registerStringTable(static_cast<HINSTANCE>(module), messageTable, messageCount);
}

void unregisterMessageTable(void* module) {
    posix::unregisterStringTable(static_cast<HINSTANCE>(module));
}
#endif

int loadModuleString(void* module, unsigned int id, char* buffer, int size) {
#if defined(_WIN32) && defined(QUEN_STATIC)
    // As LoadStringA: cut to size - 1 characters; 0 for no such text.
    if (module == libraryModuleHandle()) {
        for (std::size_t i = 0; i < messageCount; ++i) {
            if (messageTable[i].id == id) {
                if (buffer == nullptr || size <= 0) {
                    return 0;
                }
                std::size_t length = std::strlen(messageTable[i].text);
                if (length > static_cast<std::size_t>(size - 1)) {
                    length = static_cast<std::size_t>(size - 1);
                }
                std::memcpy(buffer, messageTable[i].text, length);
                buffer[length] = '\0';
                return static_cast<int>(length);
            }
        }
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
#endif
    return LoadStringA(static_cast<HINSTANCE>(module), static_cast<UINT>(id), buffer, size);
}

}  // namespace resources
}  // namespace quen
