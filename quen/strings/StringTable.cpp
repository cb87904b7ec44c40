#include "quen/strings/StringTable.h"

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/resources/MessageTable.h"

namespace quen {

const char* StringTable::version() {
    return "StringTable<> 1.0, 21.12.1999";
}

StringTable::StringTable() = default;

StringTable::~StringTable() = default;

const StdString StringTable::operator[](int id) const {
    // String tables number their texts with 16 bits, and LoadStringA looks
    // only at the low 16 bits of the id it is given: a larger or negative id
    // would read some other text instead of failing.
    if (id < 0 || id > 0xFFFF) {
        throw QuenException("Invalid resource id");
    }
    char text[1024];
    // LoadStringA, but also finding the table of a static quen on Windows.
    const int length =
        resources::loadModuleString(instance(), static_cast<unsigned int>(id), text, static_cast<int>(sizeof text));
    if (length == 0) {
        throw QuenException("Invalid resource id");
    }
    return StdString(text);
}

}  // namespace quen
