// A main window of a class that records what it is given, a real progress bar and a static title inside it, and a
// recording window standing in for a bar, where the posted messages show.
#ifndef QUEN_TESTS_WINDOWS_TESTWINDOWS_H
#define QUEN_TESTS_WINDOWS_TESTWINDOWS_H

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "quen/platform/Win32.h"
#include "quen/windows/WindowsMessageLoop.h"

namespace testwindows {

typedef std::tuple<HWND, UINT, WPARAM, LPARAM> Received;  // from WM_USER on
typedef std::vector<UINT> Messages;

inline std::vector<Received>& received() {
    static std::vector<Received> all;
    return all;
}

inline LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) received().emplace_back(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

inline const char* recordingClass() {
    static const bool registered = [] {
        const WNDCLASSA windowClass = {0,       recordingProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, "QuenTestRecorder"};
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered ? "QuenTestRecorder" : nullptr;
}

inline HWND makeWindow(const char* windowClass, const char* text, HWND parent = nullptr, int id = 0) {
    return CreateWindowExA(0, windowClass, text, parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW, 0,
                           0, 300, 20, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

inline std::string textOf(HWND window) {
    char text[256] = {0};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline bool pending() {
    MSG message;
    return PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

inline Messages messagesTo(HWND window) {  // null: to every recording window
    Messages messages;
    for (const Received& one : received()) {
        if (window == nullptr || std::get<0>(one) == window) messages.push_back(std::get<1>(one));
    }
    return messages;
}

// Starts with its windows made and the queue drained.
class WindowsTest : public ::testing::Test {
protected:
    WindowsTest() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        main = makeWindow(recordingClass(), "Main");
        bar = makeWindow(PROGRESS_CLASSA, "", main, 1);
        title = makeWindow(WC_STATICA, "Untitled", main, 2);
        fakeBar = makeWindow(recordingClass(), "", main, 3);
        const quen::WindowsMessageLoop drain;
        received().clear();
    }
    ~WindowsTest() override { DestroyWindow(main); }
    void SetUp() override { ASSERT_TRUE(main && bar && title && fakeBar); }
    int position() const { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }
    int high() const { return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)); }

    HWND main, bar, title, fakeBar;
};

}  // namespace testwindows

#endif
