// The library's static objects, in the one order in which they are built
// when the library is loaded (and destroyed, in reverse, when it goes):
//
//   1. the drive map, which enumerates the machine's drives at once;
//   2. the message table reader, UtilityStrings;
//   3. the constant Booleans false and true.
//
// All of them are defined in this file, because C++ orders the
// initialisation of static objects only within one translation unit. The
// module entry runs after all of them (on Linux and in a static library, the
// last object below plays its caller).
#include "quen/drives/DiskDriveMap.h"
#include "quen/resources/ModuleEntry.h"
#include "quen/strings/UtilityStrings.h"
#include "quen/windows/Boolean.h"

namespace quen {

// 1. The drive map; it enumerates the drives as it is built. (A static
// member of its class, so it stands outside the unnamed namespace.)
DiskDriveMap::PrivateMap DiskDriveMap::map_;

namespace {

// 2.
UtilityStrings theUtilityStrings;

}  // namespace

// 3. The constant Booleans, declared (and exported) in Boolean.h, so they
// too stand outside the unnamed namespace.
const Boolean booleanFalse(false);
const Boolean booleanTrue(true);

StdString utilityStrings(int id) {
    return theUtilityStrings[id];
}

}  // namespace quen


// Linux has no module entry, and neither has a static library on Windows:
// the object below is built after the library's other static objects and
// destroyed before them, and calls the entry as the Windows loader calls
// DllMain. Before that it registers the message table under the library's
// module handle, as a Windows module carries its STRINGTABLE resource.
#if !defined(_WIN32) || defined(QUEN_STATIC)
#include "quen/resources/MessageTable.h"

namespace quen {
namespace resources {
namespace {

class ModuleLoad {
public:
    ModuleLoad() : module_(libraryModuleHandle()) {
        registerMessageTable(module_);
        moduleEntry(module_);
    }
    ~ModuleLoad() {
        moduleEntry(module_);
        unregisterMessageTable(module_);
    }
    ModuleLoad(const ModuleLoad&) = delete;
    ModuleLoad& operator=(const ModuleLoad&) = delete;

private:
    void* module_;
};

ModuleLoad theModuleLoad;

}  // namespace
}  // namespace resources
}  // namespace quen
#endif
