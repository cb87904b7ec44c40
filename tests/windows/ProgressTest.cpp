#include <gtest/gtest.h>

#include <type_traits>

#include "TestWindows.h"
#include "quen/windows/WindowsProgressMonitor.h"
#include "quen/windows/WindowsWaiting.h"

using namespace quen;
using namespace testwindows;
using Monitor = WindowsTest;
using Waiting = WindowsTest;
using MessageLoop = WindowsTest;
static const UINT marker = WM_USER + 100;

// The monitors keep the flag's address: a temporary flag would be gone before the monitor, so none is accepted.
static_assert(!std::is_constructible<WindowsProgressMonitor, HWND, HWND, bool>::value, "temporary flag");
static_assert(!std::is_constructible<WindowsWaiting, int, HWND, HWND, Boolean>::value, "temporary flag");
static_assert(std::is_constructible<WindowsWaiting, int, HWND, HWND, const Boolean&>::value, "caller's flag");

TEST_F(Monitor, PostsTheBarsMessagesDrainsAndSetsTheTitle) {
    SendMessageA(bar, PBM_SETPOS, 40, 0);
    WindowsProgressMonitor monitor(bar, title, booleanFalse);
    EXPECT_EQ(0, position());  // construction resets the bar
    monitor.numberOfSteps(-1);  // only the low 16 bits of the number of steps count
    EXPECT_EQ(65535, high());
    EXPECT_FALSE(pending());
    const auto shows = [this](const char* text, int at) {
        EXPECT_EQ(text, textOf(title));
        EXPECT_EQ(at, position());
    };
    monitor.title("Copying");
    shows("Copying", 0);
    monitor.step("Copying set.dat");
    shows("Copying set.dat", 1);
    monitor.step("");  // an empty text keeps the title
    monitor.step(3);   // does nothing
    shows("Copying set.dat", 2);
    monitor.reset("Checking");
    shows("Checking", 0);
}

TEST_F(Monitor, WithoutABarOrTitleWindow) {
    WindowsProgressMonitor noBar(nullptr, title, booleanFalse);
    PostMessageA(main, marker, 0, 0);
    noBar.reset("");
    noBar.numberOfSteps(4);
    EXPECT_TRUE(pending());  // nothing posted, nothing drained
    noBar.step("Named");     // a text still reaches the title, and drains the queue
    EXPECT_EQ("Named", textOf(title));
    EXPECT_FALSE(pending());
    WindowsProgressMonitor noTitle(bar, nullptr, booleanFalse);
    PostMessageA(main, marker, 0, 0);
    noTitle.title("Lost");  // does nothing at all
    EXPECT_TRUE(pending());
    noTitle.step("Also lost");
    EXPECT_EQ("Named", textOf(title));
    EXPECT_EQ(10, position());  // the bar's own step
}

TEST_F(Monitor, ACancelledMonitorLeavesWindowsAndQueueAlone) {
    Boolean cancel;
    WindowsProgressMonitor monitor(bar, title, cancel);
    monitor.numberOfSteps(10);
    monitor.step("Working");
    cancel = true;  // read afresh at every call
    EXPECT_TRUE(monitor.cancelled());
    PostMessageA(main, marker, 0, 0);
    monitor.title("No");
    monitor.step("No");
    monitor.numberOfSteps(50);
    EXPECT_EQ("Working", textOf(title));
    EXPECT_EQ(1, position());
    EXPECT_EQ(10, high());
    EXPECT_TRUE(pending());
}

TEST_F(Waiting, CompleteFillsTheCycle) {
    // Posted by construction, complete() twice and step() three times: complete() posts the rest of the cycle, then
    // nothing; a full cycle starts again with SETPOS; without steps step() only resets.
    const struct { int steps; Messages posted; } rows[] = {
        {4, {PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_SETPOS, PBM_STEPIT, PBM_STEPIT}},
        {0, {PBM_SETPOS, PBM_SETPOS, PBM_SETPOS}}};
    for (const auto& row : rows) {
        received().clear();
        WindowsWaiting waiting(row.steps, fakeBar, nullptr, booleanFalse);
        waiting.complete();
        waiting.complete();
        for (int i = 0; i < 3; ++i) waiting.step();
        Messages expected = {PBM_SETPOS, PBM_SETRANGE, PBM_SETSTEP};
        expected.insert(expected.end(), row.posted.begin(), row.posted.end());
        EXPECT_EQ(expected, messagesTo(fakeBar)) << row.steps;
    }
    // Counting goes on while cancelled, so complete() ends.
    Boolean cancel;
    WindowsWaiting cancelled(3, fakeBar, nullptr, cancel);
    received().clear();
    cancel = true;
    cancelled.step();
    cancelled.complete();  // ends although nothing is posted
    EXPECT_TRUE(received().empty());
    cancel = false;
    cancelled.step();  // the cycle was counted full: back to the start
    EXPECT_EQ((Messages{PBM_SETPOS}), messagesTo(fakeBar));
}

TEST_F(MessageLoop, DrainsEveryMessageTheQuitMessageTooOrOneWindowsOnly) {
    PostMessageA(main, WM_USER + 1, 11, 12);
    PostMessageA(fakeBar, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);  // the thread's own
    PostQuitMessage(7);
    PostMessageA(main, WM_USER + 4, 0, 0);
    { const WindowsMessageLoop loop; }
    EXPECT_EQ((std::vector<Received>{{main, WM_USER + 1, 11, 12}, {fakeBar, WM_USER + 2, 0, 0},
                                     {main, WM_USER + 4, 0, 0}}),
              received());
    EXPECT_FALSE(pending());
    // For one window (and its children) the others' messages wait.
    const HWND other = makeWindow(recordingClass(), "Other");
    received().clear();
    PostMessageA(main, WM_USER + 1, 0, 0);
    PostMessageA(other, WM_USER + 2, 0, 0);
    PostMessageA(fakeBar, WM_USER + 3, 0, 0);  // a child of main
    { const WindowsMessageLoop loop(main); }
    EXPECT_EQ((Messages{WM_USER + 1, WM_USER + 3}), messagesTo(nullptr));
    { const WindowsMessageLoop loop(other); }
    EXPECT_EQ((Messages{WM_USER + 1, WM_USER + 3, WM_USER + 2}), messagesTo(nullptr));
    DestroyWindow(other);
}
