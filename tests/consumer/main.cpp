#include <cstdio>

#include "quen/quen.h"

int main() {
    const quen::StdString text("Installed");
    if (text.find("INSTALLED") != 0 || quen::utilityStrings(1) != quen::StdString("File READ error")) {
        std::puts("the installed quen does not work");
        return 1;
    }
    std::printf("%s: %s\n", quen::StdString::version(), static_cast<const char*>(quen::utilityStrings(16)));
    return 0;
}
