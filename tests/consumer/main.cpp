// A host of an installed (or added) quen: each line checks one thing that a
// host relies on and that only a build outside quen's own tree can show.
#include <cstdio>
#include <cstring>

#include "quen/quen.h"

#ifndef QUEN_EXPECTED_VERSION
#  error "build with -DQUEN_EXPECTED_VERSION=\"x.y.z\": the version CMake or pkg-config reported"
#endif

namespace {

int failures = 0;

void check(bool passed, const char* what) {
    if (!passed) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main() {
    // The header's version is the package's (CMake's or pkg-config's).
    check(std::strcmp(QUEN_VERSION_STRING, QUEN_EXPECTED_VERSION) == 0, "QUEN_VERSION_STRING is the package's version");
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%d.%d.%d", QUEN_VERSION_MAJOR, QUEN_VERSION_MINOR, QUEN_VERSION_PATCH);
    check(std::strcmp(numbers, QUEN_EXPECTED_VERSION) == 0, "QUEN_VERSION_MAJOR/MINOR/PATCH");
    check(QUEN_VERSION == QUEN_VERSION_MAJOR * 10000 + QUEN_VERSION_MINOR * 100 + QUEN_VERSION_PATCH, "QUEN_VERSION");

    // The message table is found (a resource of quen.dll, registered by libquen.so, compiled into a static library).
    check(quen::utilityStrings(1) == quen::StdString("File READ error"), "the message table");
    check(quen::StdString("Installed").find("INSTALLED") == 0, "case-insensitive strings");
    check(quen::WildString("*.TXT").match("readme.txt", 0, 0), "wildcards");

    // The parser's headers need C++17 (align_val_t), whatever the compiler's default.
    char text[] = "[Section]\nLine = \"field=value\"";
    const quen::ParserBuf root(text, sizeof text - 1, new quen::ParserSection(nullptr, nullptr, nullptr));
    check(root.size() == 1 && root.at(0)->at(0)->at(0)->value() == quen::StdString("value"), "the parser");

    // The progress bar of the common controls: comctl32 and user32 come with quen's link interface on Windows.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    check(InitCommonControlsEx(&controls) != FALSE, "InitCommonControlsEx");
    const HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", 0, 0, 0, 100, 10, nullptr, nullptr, nullptr, nullptr);
    check(bar != nullptr, "a progress bar");
    if (bar != nullptr) {
        const quen::Boolean cancel(false);
        quen::WindowsProgressMonitor monitor(bar, nullptr, cancel);
        monitor.numberOfSteps(4);
        monitor.step("");
        check(SendMessageA(bar, PBM_GETPOS, 0, 0) == 1, "WindowsProgressMonitor moves the bar");
        DestroyWindow(bar);
    }

    if (failures == 0) {
        std::printf("quen %s works here: %s\n", QUEN_VERSION_STRING, static_cast<const char*>(quen::utilityStrings(16)));
    }
    return failures == 0 ? 0 : 1;
}
