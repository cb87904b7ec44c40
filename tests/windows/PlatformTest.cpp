// The Win32 calls the progress classes and their hosts rely on, as both
// platforms answer them: on Linux these check quen's own subset against
// what Windows does.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "TestWindows.h"
#include "quen/platform/Win32.h"
#include "quen/windows/WindowsMessageLoop.h"

using testwindows::TestWindows;
using testwindows::textOf;

TEST(PlatformProgressBar, BehavesAsTheCommonControl) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    const HWND bar = windows.bar;
    EXPECT_EQ(0, windows.range().iLow);
    EXPECT_EQ(100, windows.range().iHigh);
    EXPECT_EQ(0, SendMessageA(bar, PBM_GETRANGE, TRUE, 0));
    EXPECT_EQ(100, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(0, SendMessageA(bar, PBM_STEPIT, 0, 0));  // the old position
    EXPECT_EQ(10, windows.position());                 // the default step is 10

    EXPECT_EQ(MAKELONG(0, 100), SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(2, 6)));
    EXPECT_EQ(6, windows.position());  // brought into the new range
    EXPECT_EQ(6, SendMessageA(bar, PBM_SETPOS, 1, 0));
    EXPECT_EQ(2, windows.position());
    EXPECT_EQ(10, SendMessageA(bar, PBM_SETSTEP, 3, 0));
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(5, windows.position());
    SendMessageA(bar, PBM_STEPIT, 0, 0);  // past the upper end: round again from the lower end
    EXPECT_EQ(4, windows.position());
    SendMessageA(bar, PBM_SETSTEP, 6, 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(2, windows.position());
    SendMessageA(bar, PBM_SETPOS, 99, 0);
    EXPECT_EQ(6, windows.position());

    // Posted messages wait for the queue to be drained.
    PostMessageA(bar, PBM_SETPOS, 4, 0);
    EXPECT_EQ(6, windows.position());
    { const quen::WindowsMessageLoop loop; }
    EXPECT_EQ(4, windows.position());
}

TEST(PlatformWindows, TextsClassesAndHandles) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    EXPECT_EQ("Main", textOf(windows.main));
    EXPECT_EQ("Untitled", textOf(windows.title));
    EXPECT_TRUE(SetWindowTextA(windows.title, "A longer title"));
    char small[5] = "....";
    EXPECT_EQ(4, GetWindowTextA(windows.title, small, sizeof small));
    EXPECT_STREQ("A lo", small);
    EXPECT_EQ(14, GetWindowTextLengthA(windows.title));

    // Other test processes may have windows of the same class and text.
    const std::string unique = "Main " + std::to_string(GetCurrentThreadId());
    SetWindowTextA(windows.main, unique.c_str());
    EXPECT_EQ(windows.main, FindWindowA(testwindows::recordingClass(), unique.c_str()));
    EXPECT_EQ(windows.main, FindWindowA(nullptr, unique.c_str()));
    EXPECT_EQ(nullptr, FindWindowA(WC_STATICA, "A longer title"));  // a child, not top level

    WNDCLASSA again = {};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = testwindows::recordingClass();
    EXPECT_EQ(0, RegisterClassA(&again));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ(nullptr, CreateWindowExA(0, "QuenNoSuchClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                       nullptr));

    const HWND gone = windows.title;
    EXPECT_TRUE(IsWindow(gone));
    EXPECT_TRUE(DestroyWindow(gone));
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    windows.title = nullptr;
}

namespace {

std::atomic<DWORD> handledOnThread(0);

LRESULT CALLBACK threadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 7) {
        handledOnThread = GetCurrentThreadId();
        return 42;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(PlatformWindows, MessagesGoToTheThreadThatMadeTheWindow) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = threadProcedure;
    windowClass.lpszClassName = "QuenTestThreadWindow";
    ASSERT_NE(0, RegisterClassA(&windowClass));

    std::mutex mutex;
    std::condition_variable changed;
    HWND window = nullptr;
    DWORD threadId = 0;
    bool posted = false;
    bool drained = false;
    std::thread owner([&] {
        const HWND made = CreateWindowExA(0, "QuenTestThreadWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                          nullptr, nullptr, nullptr, nullptr);
        {
            std::unique_lock<std::mutex> lock(mutex);
            window = made;
            threadId = GetCurrentThreadId();
            changed.notify_all();
            changed.wait(lock, [&] { return posted; });
        }
        { const quen::WindowsMessageLoop loop; }  // runs the posted message here
        {
            std::lock_guard<std::mutex> lock(mutex);
            drained = true;
            changed.notify_all();
        }
        // Then serve what is sent until told to stop.
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(made);
    });
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return window != nullptr || threadId != 0; });
    }
    ASSERT_NE(nullptr, window);
    PostMessageA(window, WM_USER + 7, 0, 0);
    { const quen::WindowsMessageLoop loop; }  // not this thread's message
    EXPECT_EQ(0u, handledOnThread.load());
    {
        std::lock_guard<std::mutex> lock(mutex);
        posted = true;
        changed.notify_all();
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return drained; });
    }
    EXPECT_EQ(threadId, handledOnThread.load());
    // A message sent to the window runs on its thread, and the answer comes back.
    handledOnThread = 0;
    EXPECT_EQ(42, SendMessageA(window, WM_USER + 7, 0, 0));
    EXPECT_EQ(threadId, handledOnThread.load());
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    owner.join();
}

TEST(PlatformEvents, CreateOpenAndClose) {
    const std::string name = "QuenPlatformEvent" + std::to_string(GetCurrentThreadId()) + "_" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(&name));
    EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    const HANDLE first = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    const HANDLE second = CreateEventA(nullptr, FALSE, TRUE, name.c_str());
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    const HANDLE opened = OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str());
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(opened, 0));
    EXPECT_TRUE(SetEvent(second));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(opened, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(first, 0));  // manual
    EXPECT_TRUE(ResetEvent(first));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(second, 10));

    const HANDLE unnamed = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(nullptr, unnamed);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(unnamed, INFINITE));
    EXPECT_TRUE(CloseHandle(unnamed));

    EXPECT_TRUE(CloseHandle(opened));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(first, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));  // gone with its last handle
}
