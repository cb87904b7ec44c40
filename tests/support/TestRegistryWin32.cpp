#include "quen/platform/Win32.h"
#include "support/TestRegistry.h"

namespace support {

// The system's registry; a key left by an earlier run that was cut short goes first.
void TestRegistry::makeStore() {
    if (owner_) RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
}

void TestRegistry::removeStore() {
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey_.c_str());
}

}  // namespace support
