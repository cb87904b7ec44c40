#include "quen/windows/WindowsWaiting.h"

namespace quen {

const char* WindowsWaiting::version() {
    return "WindowsWaiting 1.0, 23.09.1999";
}

WindowsWaiting::WindowsWaiting(int steps, HWND progressBar, HWND titleWindow, const Boolean& cancel)
    : WindowsProgressMonitor(progressBar, titleWindow, cancel), steps_(steps), count_(0) {
    WindowsProgressMonitor::numberOfSteps(steps);
}

WindowsWaiting::~WindowsWaiting() = default;

void WindowsWaiting::step() {
    if (count_ < steps_) {
        WindowsProgressMonitor::step("");
        ++count_;
    } else {
        count_ = 0;
        WindowsProgressMonitor::reset("");
    }
}

void WindowsWaiting::complete() {
    while (count_ < steps_) {
        step();
    }
}

}  // namespace quen
