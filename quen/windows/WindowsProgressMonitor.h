// Progress shown in a progress bar and a title window of the caller's.
#ifndef QUEN_WINDOWS_WINDOWSPROGRESSMONITOR_H
#define QUEN_WINDOWS_WINDOWSPROGRESSMONITOR_H

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/windows/Boolean.h"
#include "quen/windows/ProgressMeter.h"

namespace quen {

// Posts the progress-bar messages to the caller's bar, sets the title
// window's text and drains the thread's message queue after each update, so
// that the windows keep painting and a Cancel button keeps working. Once the
// cancel flag reads true the monitor leaves the windows and the queue alone.
// Either window may be null.
class QUEN_API WindowsProgressMonitor : public ProgressMeter {
public:
    static const char* version();

    // The flag is the caller's and must outlive the monitor: it is read at
    // every call, never copied (a temporary flag is therefore refused).
    WindowsProgressMonitor(HWND progressBar, HWND titleWindow, const Boolean& cancel);
    WindowsProgressMonitor(HWND progressBar, HWND titleWindow, const Boolean&& cancel) = delete;
    ~WindowsProgressMonitor() override;
    WindowsProgressMonitor(const WindowsProgressMonitor&) = delete;
    WindowsProgressMonitor& operator=(const WindowsProgressMonitor&) = delete;

    void title(const char* text) override;
    // The bar's range becomes 0 to the low 16 bits of the number, its step 1.
    void numberOfSteps(int steps) override;
    // The bar back to 0.
    void reset(const char* text) override;
    // Does nothing.
    void step(int steps) override;
    // The bar one step on.
    void step(const char* text) override;
    bool cancelled() const override;

protected:
    void processMessages() const;

private:
    // reset and step(const char*): the message posted to the bar differs.
    void update(UINT message, const char* text);

    HWND titleWindow_;
    HWND progressBar_;
    const Boolean* cancel_;
};

}  // namespace quen

#endif
