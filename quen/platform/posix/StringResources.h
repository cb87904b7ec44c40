// Module string tables: LoadStringA and the registration that stands in for
// a module's STRINGTABLE resource.
#ifndef QUEN_PLATFORM_POSIX_STRINGRESOURCES_H
#define QUEN_PLATFORM_POSIX_STRINGRESOURCES_H

#include "quen/platform/posix/Types.h"

extern "C" {

// Copies string `id` of the module's table into the buffer, cut to size - 1
// characters and zero-terminated, and returns the number of characters
// copied. As on Windows, only the low 16 bits of the id select the string. Returns 0 when the module has no table, the table has no such
// string, the string is empty or the buffer has no room.
QUEN_API int WINAPI LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size);
}

namespace quen {
namespace posix {

struct StringResource {
    UINT id;
    const char* text;
};

// Makes the table (which must outlive the registration) the string table of
// the module; a later registration for the same module replaces it.
QUEN_API void registerStringTable(HINSTANCE module, const StringResource* table, std::size_t count);
QUEN_API void unregisterStringTable(HINSTANCE module);

}  // namespace posix
}  // namespace quen

#endif
