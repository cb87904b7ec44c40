#include "quen/windows/WindowsProgressMonitor.h"

#include "quen/platform/Win32.h"
#include "quen/windows/WindowsMessageLoop.h"

namespace quen {

const char* WindowsProgressMonitor::version() {
    return "WindowsProgressMonitor 1.0, 23.09.1999";
}

WindowsProgressMonitor::WindowsProgressMonitor(HWND progressBar, HWND titleWindow, const Boolean& cancel)
    : titleWindow_(titleWindow), progressBar_(progressBar), cancel_(&cancel) {
    WindowsProgressMonitor::reset("");
}

WindowsProgressMonitor::~WindowsProgressMonitor() = default;

void WindowsProgressMonitor::title(const char* text) {
    if (titleWindow_ != nullptr && !*cancel_) {
        SetWindowTextA(titleWindow_, text);
        processMessages();
    }
}

void WindowsProgressMonitor::numberOfSteps(int steps) {
    if (!*cancel_ && progressBar_ != nullptr) {
        // The upper end travels in the high word: only its low 16 bits.
        PostMessageA(progressBar_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<unsigned int>(steps) & 0xFFFFu));
        PostMessageA(progressBar_, PBM_SETSTEP, 1, 0);
        processMessages();
    }
}

void WindowsProgressMonitor::reset(const char* text) {
    update(PBM_SETPOS, text);
}

void WindowsProgressMonitor::step(int) {}

void WindowsProgressMonitor::step(const char* text) {
    update(PBM_STEPIT, text);
}

bool WindowsProgressMonitor::cancelled() const {
    return *cancel_;
}

void WindowsProgressMonitor::processMessages() const {
    const WindowsMessageLoop loop(nullptr);
}

void WindowsProgressMonitor::update(UINT message, const char* text) {
    if (*cancel_) {
        return;
    }
    if (text != nullptr && *text != '\0') {
        title(text);
    }
    if (progressBar_ != nullptr) {
        PostMessageA(progressBar_, message, 0, 0);  // position 0 for PBM_SETPOS
        processMessages();
    }
}

}  // namespace quen
