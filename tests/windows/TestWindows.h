// Windows for the progress tests: a main window of a class that records
// what it is sent, a real progress bar and a static title inside it, and a
// second recording window that stands in for a progress bar, so that the
// exact messages posted to a bar can be seen.
#ifndef QUEN_TESTS_WINDOWS_TESTWINDOWS_H
#define QUEN_TESTS_WINDOWS_TESTWINDOWS_H

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "quen/platform/Win32.h"
#include "quen/windows/Boolean.h"
#include "quen/windows/WindowsMessageLoop.h"

namespace testwindows {

// A message a recording window was given: window, message, wParam, lParam.
typedef std::tuple<HWND, UINT, WPARAM, LPARAM> Received;

// What the recording windows were given: WM_COMMAND and messages from
// WM_USER on (the progress-bar messages among them).
inline std::vector<Received>& received() {
    static std::vector<Received> all;
    return all;
}

// WM_COMMAND to a recording window sets this flag, as a Cancel button would.
inline quen::Boolean*& cancelButtonFlag() {
    static quen::Boolean* flag = nullptr;
    return flag;
}

inline LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message >= WM_USER) {
        received().emplace_back(window, message, wParam, lParam);
    }
    if (message == WM_COMMAND && cancelButtonFlag() != nullptr) {
        *cancelButtonFlag() = true;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline const char* recordingClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.lpszClassName = "QuenTestRecorder";
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered ? "QuenTestRecorder" : nullptr;
}

inline std::string textOf(HWND window) {
    char text[256] = {0};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class TestWindows {
public:
    TestWindows() {
        INITCOMMONCONTROLSEX controls = {};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
        InitCommonControlsEx(&controls);
        main = CreateWindowExA(0, recordingClass(), "Main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr,
                               nullptr, nullptr);
        bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 10, 300, 20, main,
                              reinterpret_cast<HMENU>(1), nullptr, nullptr);
        title = CreateWindowExA(0, WC_STATICA, "Untitled", WS_CHILD | WS_VISIBLE, 10, 40, 300, 20, main,
                                reinterpret_cast<HMENU>(2), nullptr, nullptr);
        fakeBar = CreateWindowExA(0, recordingClass(), "", WS_CHILD, 10, 70, 300, 20, main,
                                  reinterpret_cast<HMENU>(3), nullptr, nullptr);
        const quen::WindowsMessageLoop drain;
        received().clear();
    }
    ~TestWindows() {
        cancelButtonFlag() = nullptr;
        DestroyWindow(main);
    }

    bool made() const { return main != nullptr && bar != nullptr && title != nullptr && fakeBar != nullptr; }
    int position() const { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }
    PBRANGE range() const {
        PBRANGE range = {-1, -1};
        SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        return range;
    }
    // Whether a message is still waiting in the thread's queue.
    static bool pending() {
        MSG message;
        return PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
    }
    // What the recording windows were given; null: all of them.
    static std::vector<UINT> messagesTo(HWND window) {
        std::vector<UINT> messages;
        for (const Received& one : received()) {
            if (window == nullptr || std::get<0>(one) == window) {
                messages.push_back(std::get<1>(one));
            }
        }
        return messages;
    }

    HWND main = nullptr;
    HWND bar = nullptr;
    HWND title = nullptr;
    HWND fakeBar = nullptr;
};

// A test that starts with its windows made.
class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(windows.made()); }
    TestWindows windows;
};

}  // namespace testwindows

#endif
