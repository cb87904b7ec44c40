// The library's own message table.
#ifndef QUEN_STRINGS_UTILITYSTRINGS_H
#define QUEN_STRINGS_UTILITYSTRINGS_H

#include "quen/platform/Export.h"
#include "quen/strings/StringTable.h"

namespace quen {

// The reader of the library's own module. The library holds one object for
// its whole life; the module entry stores the module handle in it.
class QUEN_API UtilityStrings : public StringTable {
public:
    UtilityStrings();
    ~UtilityStrings() override;

    // The library's module handle; null until its module entry has run.
    void* instance() const override;
    static void instance(void* module);

private:
    static void* instance_;
    // Live objects. A second object is allowed: it reads the same table.
    static unsigned int instCount_;
    // The text once shown for a second object; kept with the table's texts.
    static constexpr const char* onlyOnceText_ = "Only once instance of UtilityStrings allowed";
};

// Message `id` (1 to 20) of the library's table, read anew on every call.
// Throws QuenException "Invalid resource id" for any other id.
QUEN_API StdString utilityStrings(int id);

}  // namespace quen

#endif
