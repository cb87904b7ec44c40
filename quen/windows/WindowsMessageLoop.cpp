#include "quen/windows/WindowsMessageLoop.h"

#include "quen/platform/Win32.h"

namespace quen {

const char* WindowsMessageLoop::version() {
    return "WindowsMessageLoop 1.0, 19.11.1999";
}

WindowsMessageLoop::WindowsMessageLoop(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

WindowsMessageLoop::~WindowsMessageLoop() = default;

}  // namespace quen
