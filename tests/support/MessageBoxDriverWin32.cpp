#include <chrono>
#include <thread>

#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

namespace support {

namespace {

std::string windowText(HWND window) {
    char text[4096] = {0};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// This process's box, a dialog of the class "#32770": boxes are top-level
// windows of the whole desktop, and other test processes may show theirs.
HWND ownBox() {
    HWND window = nullptr;
    DWORD process = 0;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr &&
           (GetWindowThreadProcessId(window, &process), process != GetCurrentProcessId())) {
    }
    return window;
}

}  // namespace

ShownBox answerBox(int reply, const std::function<void()>& work) {
    ShownBox shown;
    // Waits for the box, reads it and presses the button, as a user would.
    std::thread clicker([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND box = nullptr;
        while ((box = ownBox()) == nullptr && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (box == nullptr) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the box lays out its text
        shown = {windowText(box), windowText(GetDlgItem(box, 0xFFFF)), {}};
        for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
            if (GetDlgItem(box, id) != nullptr) shown.buttons.push_back(id);  // in id order
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(reply, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, reply)));
    });
    work();
    clicker.join();
    return shown;
}

}  // namespace support
