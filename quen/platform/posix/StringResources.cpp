#include "quen/platform/posix/StringResources.h"

#include <cstring>
#include <map>
#include <mutex>

#include "quen/platform/posix/Errors.h"

namespace {

struct Table {
    const quen::posix::StringResource* entries;
    std::size_t count;
};

// Tables are registered while shared objects load and unload, which can
// happen on any thread.
std::mutex& tablesMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<HINSTANCE, Table>& tables() {
    static std::map<HINSTANCE, Table> registered;
    return registered;
}

}  // namespace

extern "C" int WINAPI LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size) {
    const char* text = nullptr;
    {
        std::lock_guard<std::mutex> lock(tablesMutex());
        const auto found = tables().find(module);
        if (found != tables().end()) {
            for (std::size_t i = 0; i < found->second.count; ++i) {
                // Windows finds a text by the low 16 bits of the id alone.
                if (found->second.entries[i].id == (id & 0xFFFFu)) {
                    text = found->second.entries[i].text;
                    break;
                }
            }
        }
    }
    if (text == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    if (buffer == nullptr || size <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length = std::strlen(text);
    if (length > static_cast<std::size_t>(size - 1)) {
        length = static_cast<std::size_t>(size - 1);
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

namespace quen {
namespace posix {

void registerStringTable(HINSTANCE module, const StringResource* table, std::size_t count) {
    std::lock_guard<std::mutex> lock(tablesMutex());
    tables()[module] = Table{table, count};
}

void unregisterStringTable(HINSTANCE module) {
    std::lock_guard<std::mutex> lock(tablesMutex());
    tables().erase(module);
}

}  // namespace posix
}  // namespace quen
