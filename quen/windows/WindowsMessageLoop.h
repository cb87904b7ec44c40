// Draining the calling thread's message queue.
#ifndef QUEN_WINDOWS_WINDOWSMESSAGELOOP_H
#define QUEN_WINDOWS_WINDOWSMESSAGELOOP_H

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"

namespace quen {

// Constructing one runs every message waiting in the calling thread's queue
// for the window (null: for all of the thread's windows and the thread
// itself, WM_QUIT included) through TranslateMessage and DispatchMessageA,
// and returns when the queue is empty.
class QUEN_API WindowsMessageLoop {
public:
    static const char* version();

    explicit WindowsMessageLoop(HWND window = nullptr);
    virtual ~WindowsMessageLoop();
};

}  // namespace quen

#endif
