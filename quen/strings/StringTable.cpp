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
