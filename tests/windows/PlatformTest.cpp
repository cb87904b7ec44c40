// The Win32 calls the progress classes and their hosts rely on, as both platforms answer them: on Linux these check
// quen's own subset against what Windows does.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <future>
#include <thread>

#include "TestWindows.h"
#include "quen/platform/Win32.h"
#include "quen/windows/WindowsMessageLoop.h"

using testwindows::textOf;
using PlatformProgressBar = testwindows::WindowsTest;
using PlatformWindows = testwindows::WindowsTest;

static void lastErrorIs(DWORD code) { EXPECT_EQ(code, GetLastError()); }

TEST_F(PlatformProgressBar, BehavesAsTheCommonControl) {
    // Each message's answer, and the position after it.
    const struct { UINT message; WPARAM wParam; LPARAM lParam; LRESULT answer; int position; } rows[] = {
        {PBM_GETRANGE, TRUE, 0, 0, 0},
        {PBM_GETRANGE, FALSE, 0, 100, 0},
        {PBM_STEPIT, 0, 0, 0, 10},  // answers the old position; the default step is 10
        {PBM_SETRANGE, 0, MAKELPARAM(2, 6), MAKELONG(0, 100), 6},  // brought into the new range
        {PBM_SETPOS, 1, 0, 6, 2},
        {PBM_SETSTEP, 3, 0, 10, 2},
        {PBM_STEPIT, 0, 0, 2, 5},
        {PBM_STEPIT, 0, 0, 5, 4},  // past the upper end: round again from the lower end
        {PBM_SETPOS, 99, 0, 4, 6},
        // An inverted range: positions go to the upper end; a step past either end wraps by the signed range, twice.
        {PBM_SETRANGE32, 10, 5, MAKELONG(2, 6), 5},
        {PBM_SETPOS, 10, 0, 5, 5},
        {PBM_SETSTEP, 2, 0, 3, 5},
        {PBM_STEPIT, 0, 0, 5, 2},
        {PBM_SETRANGE, 0, MAKELPARAM(0, 100), MAKELONG(10, 5), 2},
        {PBM_SETPOS, 6, 0, 2, 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        EXPECT_EQ(row.answer, SendMessageA(bar, row.message, row.wParam, row.lParam));
        EXPECT_EQ(row.position, position());
    }
}

TEST_F(PlatformWindows, TextsClassesAndHandles) {
    EXPECT_TRUE(SetWindowTextA(title, "A longer title"));
    char small[5] = "....";
    EXPECT_EQ(4, GetWindowTextA(title, small, sizeof small));
    EXPECT_STREQ("A lo", small);
    EXPECT_EQ(0, GetWindowTextA(title, small, 0));  // no room: nothing written
    EXPECT_STREQ("A lo", small);
    EXPECT_EQ(14, GetWindowTextLengthA(title));

    // Other test processes may have windows of the same class and text.
    const std::string unique = "Main " + std::to_string(GetCurrentThreadId());
    SetWindowTextA(main, unique.c_str());
    EXPECT_EQ(main, FindWindowA(testwindows::recordingClass(), unique.c_str()));
    EXPECT_EQ(main, FindWindowA(nullptr, unique.c_str()));
    EXPECT_EQ(nullptr, FindWindowA(WC_STATICA, "A longer title"));  // a child, not top level

    const WNDCLASSA again = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "QuenTestRecorder"};
    EXPECT_EQ(0, RegisterClassA(&again));
    lastErrorIs(ERROR_CLASS_ALREADY_EXISTS);
    const WNDCLASSA ownStatic = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, WC_STATICA};
    EXPECT_TRUE(RegisterClassA(&ownStatic) && UnregisterClassA(WC_STATICA, nullptr));  // a system class's name is free
    EXPECT_FALSE(UnregisterClassA(testwindows::recordingClass(), nullptr));  // its windows are still there
    lastErrorIs(ERROR_CLASS_HAS_WINDOWS);
    EXPECT_EQ(nullptr, testwindows::makeWindow("QuenNoSuchClass", ""));
    INITCOMMONCONTROLSEX controls = {0, ICC_PROGRESS_CLASS};  // without its size
    EXPECT_FALSE(InitCommonControlsEx(&controls) || InitCommonControlsEx(nullptr));

    // A destroyed window's handle stays invalid, also once another window takes its place.
    const HWND gone = title;
    EXPECT_TRUE(DestroyWindow(gone));
    title = testwindows::makeWindow(WC_STATICA, "New", main, 2);
    ASSERT_NE(nullptr, title);
    EXPECT_NE(gone, title);
    EXPECT_FALSE(IsWindow(gone) || SetWindowTextA(gone, "Old"));
    EXPECT_EQ("New", textOf(title));
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    lastErrorIs(ERROR_INVALID_WINDOW_HANDLE);
    MSG message = {};
    PostQuitMessage(0);  // a GetMessage that did not fail would return at once
    EXPECT_EQ(-1, GetMessageA(&message, gone, 0, 0));
    lastErrorIs(ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(PlatformWindows, AQuitMessagePassesEveryFilter) {
    PostQuitMessage(3);
    const struct { HWND window; UINT low, high; } filters[] = {
        {main, WM_USER, WM_USER}, {nullptr, WM_USER, WM_USER + 10}, {reinterpret_cast<HWND>(-1), 0, 0}};
    MSG message = {};
    for (const auto& filter : filters) {
        SCOPED_TRACE(&filter - filters);
        EXPECT_TRUE(PeekMessageA(&message, filter.window, filter.low, filter.high, PM_NOREMOVE));
        EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
        EXPECT_EQ(3u, message.wParam);
    }
    SetLastError(ERROR_SUCCESS);  // a thread message has no window procedure: dispatched, it goes nowhere
    EXPECT_EQ(0, DispatchMessageA(&message));
    lastErrorIs(ERROR_SUCCESS);
    // A posted message that passes comes first.
    PostMessageA(main, WM_USER + 1, 0, 0);
    EXPECT_TRUE(PeekMessageA(&message, main, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), message.message);
    EXPECT_TRUE(PeekMessageA(&message, main, 0, 0, PM_REMOVE));
    EXPECT_FALSE(testwindows::pending());
}

TEST_F(PlatformWindows, KeysTranslateToCharacters) {
    // The key, the character posted for it (0: none) and whether it came down as a system key.
    const struct { WPARAM key; char character; bool system; } rows[] = {
        {'A', 'a', false}, {'Z', 'z', true}, {'0', '0', false}, {'9', '9', false}, {VK_SPACE, ' ', false},
        {VK_TAB, '\t', false}, {VK_RETURN, '\r', false}, {VK_BACK, '\b', false}, {VK_ESCAPE, 27, false},
        {0x10, 0, false}, {0x70, 0, false}};  // Shift and F1 give none
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        const MSG down = {main, static_cast<UINT>(row.system ? WM_SYSKEYDOWN : WM_KEYDOWN), row.key, 1, 0, {0, 0}};
        EXPECT_TRUE(TranslateMessage(&down));
        MSG posted = {};
        EXPECT_EQ(row.character != 0, PeekMessageA(&posted, main, 0, 0, PM_REMOVE) != FALSE);
        if (row.character != 0) {
            EXPECT_EQ(static_cast<UINT>(row.system ? WM_SYSCHAR : WM_CHAR), posted.message);
            EXPECT_EQ(static_cast<WPARAM>(static_cast<unsigned char>(row.character)), posted.wParam);
        }
    }
    const MSG other = {main, WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&other));
    EXPECT_FALSE(testwindows::pending());
}

namespace {

std::atomic<DWORD> handledOnThread(0);

LRESULT CALLBACK threadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER + 7) return DefWindowProcA(window, message, wParam, lParam);
    handledOnThread = GetCurrentThreadId();
    return 42;
}

}  // namespace

TEST(PlatformMessages, GoToTheThreadThatMadeTheWindow) {
    const WNDCLASSA windowClass = {0,       threadProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, "QuenTestThreadWindow"};
    const ATOM atom = RegisterClassA(&windowClass);
    ASSERT_NE(0, atom);
    const HWND mine = testwindows::makeWindow(testwindows::recordingClass(), "");  // stays with this thread
    std::promise<HWND> made;
    std::promise<void> posted, drained;
    DWORD threadId = 0;
    std::thread owner([&] {
        threadId = GetCurrentThreadId();
        made.set_value(testwindows::makeWindow("QuenTestThreadWindow", ""));
        posted.get_future().wait();
        { const quen::WindowsMessageLoop loop; }  // runs the posted message here
        drained.set_value();
        MSG message;  // then serves what is sent until told to stop
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    });
    const HWND window = made.get_future().get();
    ASSERT_NE(nullptr, window);
    DWORD process = 0;
    EXPECT_TRUE(GetWindowThreadProcessId(window, &process) == threadId && process != 0);
    PostMessageA(window, WM_USER + 7, 0, 0);
    { const quen::WindowsMessageLoop loop; }  // not this thread's message
    EXPECT_EQ(0u, handledOnThread.load());
    posted.set_value();
    drained.get_future().wait();
    EXPECT_EQ(threadId, handledOnThread.exchange(0));
    // A message sent to the window runs on its thread, and the answer comes back.
    EXPECT_EQ(42, SendMessageA(window, WM_USER + 7, 0, 0));
    EXPECT_EQ(threadId, handledOnThread.load());
    EXPECT_TRUE(PostThreadMessageA(threadId, WM_QUIT, 0, 0));
    owner.join();  // with its window still there: the window goes with the thread
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindow(mine));
    EXPECT_TRUE(UnregisterClassA(MAKEINTATOM(atom), nullptr));  // another class's window is no hindrance
    EXPECT_FALSE(UnregisterClassA("QuenTestThreadWindow", nullptr));
    DestroyWindow(mine);
}

TEST(PlatformEvents, CreateOpenAndClose) {
    const std::string name = "QuenPlatformEvent" + std::to_string(GetCurrentThreadId()) + "_" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(&name));
    EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    lastErrorIs(ERROR_FILE_NOT_FOUND);
    const HANDLE first = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    lastErrorIs(ERROR_SUCCESS);
    const HANDLE second = CreateEventA(nullptr, FALSE, TRUE, name.c_str());
    lastErrorIs(ERROR_ALREADY_EXISTS);
    const HANDLE opened = OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str());
    ASSERT_TRUE(first && second && opened);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(opened, 0));  // the first's switches
    for (HANDLE handle : {opened, second, first}) EXPECT_TRUE(CloseHandle(handle));
    EXPECT_FALSE(CloseHandle(first));
    lastErrorIs(ERROR_INVALID_HANDLE);
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(first, 0));
    lastErrorIs(ERROR_INVALID_HANDLE);
}
