// A progress bar used as a cyclic waiting indicator.
#ifndef QUEN_WINDOWS_WINDOWSWAITING_H
#define QUEN_WINDOWS_WINDOWSWAITING_H

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/windows/WindowsProgressMonitor.h"

namespace quen {

// The bar fills in `steps` steps, then starts again from 0.
class QUEN_API WindowsWaiting : public WindowsProgressMonitor {
public:
    static const char* version();

    WindowsWaiting(int steps, HWND progressBar, HWND titleWindow, const Boolean& cancel);
    WindowsWaiting(int steps, HWND progressBar, HWND titleWindow, const Boolean&& cancel) = delete;
    ~WindowsWaiting() override;

    using WindowsProgressMonitor::step;
    // One step of the cycle; after a full cycle, back to 0. Counts even when
    // cancelled.
    void step();
    // Steps until the cycle is full, so that the bar ends full.
    void complete();

private:
    int steps_;
    int count_;
};

}  // namespace quen

#endif
