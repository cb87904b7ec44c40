// Readers of a module's string table.
#ifndef QUEN_STRINGS_STRINGTABLE_H
#define QUEN_STRINGS_STRINGTABLE_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

// Reads the string table of the module that instance() names.
class QUEN_API StringTable {
public:
    static const char* version();

    StringTable();
    virtual ~StringTable();

    // The handle of the module whose table is read.
    virtual void* instance() const = 0;

    // The text with that id, read anew from the module every time; throws
    // QuenException "Invalid resource id" when the table has no such text
    // (or only an empty one).
    const StdString operator[](int id) const;
};

}  // namespace quen

#endif
