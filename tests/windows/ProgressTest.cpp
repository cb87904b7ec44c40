#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "TestWindows.h"
#include "quen/platform/Win32.h"
#include "quen/windows/Boolean.h"
#include "quen/windows/Event.h"
#include "quen/windows/ProgressMeter.h"
#include "quen/windows/ProgressMeter2.h"
#include "quen/windows/WindowsMessageLoop.h"
#include "quen/windows/WindowsProgressMonitor.h"
#include "quen/windows/WindowsWaiting.h"

using quen::Boolean;
using quen::WindowsMessageLoop;
using quen::WindowsProgressMonitor;
using quen::WindowsWaiting;
using testwindows::Received;
using testwindows::received;
using testwindows::TestWindows;
using testwindows::textOf;

namespace {

const UINT marker = WM_USER + 100;

// A meter of the caller's own, through the interface only.
class CountingMeter : public quen::ProgressMeter2 {
public:
    void title(const char*) override { ++calls; }
    void numberOfSteps(int) override { ++calls; }
    void reset(const char*) override { ++calls; }
    void step(int) override { ++calls; }
    void step(const char*) override { ++calls; }
    void subTitle(const char*) override { ++calls; }
    void percentage(int) override { ++calls; }
    int calls = 0;
};

}  // namespace

TEST(Progress, Banners) {
    EXPECT_STREQ("ProgressMeter 1.0, 23.09.1999", quen::ProgressMeter::version());
    EXPECT_STREQ("ProgressMeter2 1.0, 17.Mar.2000", quen::ProgressMeter2::version());
    EXPECT_STREQ("WindowsProgressMonitor 1.0, 23.09.1999", WindowsProgressMonitor::version());
    EXPECT_STREQ("WindowsWaiting 1.0, 23.09.1999", WindowsWaiting::version());
    EXPECT_STREQ("WindowsMessageLoop 1.0, 19.11.1999", WindowsMessageLoop::version());
    EXPECT_STREQ("Event 1.0, 23.09.1999", quen::Event::version());
}

TEST(Progress, MeterOfTheCallersOwnIsNeverCancelled) {
    CountingMeter meter;
    quen::ProgressMeter2& asMeter2 = meter;
    quen::ProgressMeter& asMeter = meter;
    asMeter.reset("a");
    asMeter.step("b");
    asMeter2.subTitle("c");
    asMeter2.percentage(50);
    EXPECT_EQ(4, meter.calls);
    EXPECT_FALSE(asMeter.cancelled());
}

// The monitors keep the flag's address: a temporary flag would be gone
// before the monitor, so none is accepted.
static_assert(!std::is_constructible<WindowsProgressMonitor, HWND, HWND, bool>::value, "temporary flag");
static_assert(!std::is_constructible<WindowsWaiting, int, HWND, HWND, Boolean>::value, "temporary flag");
static_assert(std::is_constructible<WindowsWaiting, int, HWND, HWND, const Boolean&>::value, "caller's flag");

TEST(Boolean, HoldsSetsAndReadsTheValue) {
    Boolean flag;
    EXPECT_FALSE(flag);
    const Boolean& seen = flag;
    flag = true;
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Boolean(false));
    EXPECT_TRUE(Boolean(true));
    EXPECT_FALSE(quen::booleanFalse);
    EXPECT_TRUE(quen::booleanTrue);
}

TEST(WindowsProgressMonitor, ConstructionSetsTheBarToZeroAndDrains) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    SendMessageA(windows.bar, PBM_SETPOS, 40, 0);
    const WindowsProgressMonitor monitor(windows.bar, windows.title, quen::booleanFalse);
    EXPECT_EQ(0, windows.position());

    const WindowsProgressMonitor recorded(windows.fakeBar, windows.title, quen::booleanFalse);
    EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETPOS, 0, 0}}), received());
    EXPECT_FALSE(TestWindows::pending());
    EXPECT_EQ("Untitled", textOf(windows.title));
}

TEST(WindowsProgressMonitor, NumberOfStepsSetsTheRangeAndAStepOfOne) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsProgressMonitor monitor(windows.bar, windows.title, quen::booleanFalse);
    monitor.numberOfSteps(8);
    EXPECT_EQ(0, windows.range().iLow);
    EXPECT_EQ(8, windows.range().iHigh);
    monitor.step("");
    monitor.step("");
    EXPECT_EQ(2, windows.position());
    monitor.reset("");
    EXPECT_EQ(0, windows.position());

    WindowsProgressMonitor recorded(windows.fakeBar, nullptr, quen::booleanFalse);
    received().clear();
    recorded.numberOfSteps(8);
    EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, 8)},
                                     {windows.fakeBar, PBM_SETSTEP, 1, 0}}),
              received());
}

TEST(WindowsProgressMonitor, NumberOfStepsKeepsOnlyTheLow16Bits) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsProgressMonitor monitor(windows.bar, windows.title, quen::booleanFalse);
    monitor.numberOfSteps(70000);
    EXPECT_EQ(70000 - 65536, windows.range().iHigh);
    monitor.numberOfSteps(65536 + 3);
    EXPECT_EQ(3, windows.range().iHigh);
    monitor.numberOfSteps(-1);
    EXPECT_EQ(65535, windows.range().iHigh);
    EXPECT_EQ(0, windows.range().iLow);

    WindowsProgressMonitor recorded(windows.fakeBar, nullptr, quen::booleanFalse);
    received().clear();
    recorded.numberOfSteps(70000);
    ASSERT_FALSE(received().empty());
    EXPECT_EQ(static_cast<LPARAM>(4464) << 16, received()[0].lParam);
}

TEST(WindowsProgressMonitor, TextsGoToTheTitleWindow) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsProgressMonitor monitor(windows.bar, windows.title, quen::booleanFalse);
    monitor.numberOfSteps(5);
    monitor.title("Copying");
    EXPECT_EQ("Copying", textOf(windows.title));
    monitor.step("Copying set.dat");
    EXPECT_EQ("Copying set.dat", textOf(windows.title));
    EXPECT_EQ(1, windows.position());
    monitor.step("");
    EXPECT_EQ("Copying set.dat", textOf(windows.title));
    EXPECT_EQ(2, windows.position());
    monitor.reset("Checking");
    EXPECT_EQ("Checking", textOf(windows.title));
    EXPECT_EQ(0, windows.position());
    monitor.step(3);  // does nothing
    EXPECT_EQ(0, windows.position());
    monitor.reset("");
    EXPECT_EQ("Checking", textOf(windows.title));
}

TEST(WindowsProgressMonitor, WithoutABarNothingIsPostedOrDrained) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsProgressMonitor monitor(nullptr, windows.title, quen::booleanFalse);
    PostMessageA(windows.main, marker, 0, 0);
    monitor.reset("");
    monitor.step("");
    monitor.numberOfSteps(4);
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(TestWindows::pending());
    // A text still reaches the title, and setting it drains the queue.
    monitor.step("Named");
    EXPECT_EQ("Named", textOf(windows.title));
    EXPECT_EQ((std::vector<UINT>{marker}), windows.messagesTo(windows.main));
    EXPECT_FALSE(TestWindows::pending());
    monitor.reset("Renamed");
    EXPECT_EQ("Renamed", textOf(windows.title));
}

TEST(WindowsProgressMonitor, WithoutATitleWindowTitleDoesNothing) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsProgressMonitor monitor(windows.bar, nullptr, quen::booleanFalse);
    PostMessageA(windows.main, marker, 0, 0);
    monitor.title("Lost");
    EXPECT_TRUE(TestWindows::pending());
    EXPECT_EQ("Untitled", textOf(windows.title));
    monitor.numberOfSteps(3);
    monitor.step("Also lost");
    EXPECT_EQ(1, windows.position());
    EXPECT_FALSE(TestWindows::pending());
}

TEST(WindowsProgressMonitor, ACancelledMonitorLeavesWindowsAndQueueAlone) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    Boolean cancel;
    WindowsProgressMonitor monitor(windows.bar, windows.title, cancel);
    monitor.numberOfSteps(10);
    monitor.step("Working");
    EXPECT_FALSE(monitor.cancelled());

    cancel = true;  // read afresh at every call
    EXPECT_TRUE(monitor.cancelled());
    PostMessageA(windows.main, marker, 0, 0);
    monitor.title("No");
    monitor.step("No");
    monitor.reset("No");
    monitor.numberOfSteps(50);
    EXPECT_EQ("Working", textOf(windows.title));
    EXPECT_EQ(1, windows.position());
    EXPECT_EQ(10, windows.range().iHigh);
    EXPECT_TRUE(TestWindows::pending());

    cancel = false;
    monitor.step("");
    EXPECT_EQ(2, windows.position());
    EXPECT_FALSE(TestWindows::pending());
}

TEST(WindowsProgressMonitor, AWindowProcedureCancelsWhileTheQueueIsDrained) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    Boolean cancel;
    testwindows::cancelButtonFlag() = &cancel;
    WindowsProgressMonitor monitor(windows.bar, windows.title, cancel);
    monitor.numberOfSteps(10);
    PostMessageA(windows.main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    monitor.step("");  // posts STEPIT behind the click, then drains both
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(monitor.cancelled());
    EXPECT_EQ(1, windows.position());
    monitor.step("");
    monitor.step("");
    EXPECT_EQ(1, windows.position());
}

TEST(WindowsWaiting, CyclesStepItThenSetPos) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsWaiting recorded(3, windows.fakeBar, windows.title, quen::booleanFalse);
    EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETPOS, 0, 0},
                                     {windows.fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, 3)},
                                     {windows.fakeBar, PBM_SETSTEP, 1, 0}}),
              received());
    received().clear();
    for (int i = 0; i < 6; ++i) {
        recorded.step();
    }
    EXPECT_EQ((std::vector<UINT>{PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_SETPOS, PBM_STEPIT, PBM_STEPIT}),
              windows.messagesTo(windows.fakeBar));

    WindowsWaiting waiting(3, windows.bar, windows.title, quen::booleanFalse);
    std::vector<int> positions;
    for (int i = 0; i < 6; ++i) {
        waiting.step();
        positions.push_back(windows.position());
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 1, 2}), positions);
    EXPECT_EQ(3, windows.range().iHigh);
}

TEST(WindowsWaiting, CompleteFillsTheCycle) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsWaiting waiting(4, windows.fakeBar, nullptr, quen::booleanFalse);
    received().clear();
    waiting.complete();
    EXPECT_EQ((std::vector<UINT>{PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_STEPIT}),
              windows.messagesTo(windows.fakeBar));
    received().clear();
    waiting.complete();  // the cycle is full: nothing more
    EXPECT_TRUE(received().empty());
    waiting.step();
    EXPECT_EQ((std::vector<UINT>{PBM_SETPOS}), windows.messagesTo(windows.fakeBar));

    WindowsWaiting real(4, windows.bar, nullptr, quen::booleanFalse);
    real.step();
    real.complete();
    EXPECT_EQ(4, windows.position());
}

TEST(WindowsWaiting, ACycleOfNoStepsOnlyResets) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    WindowsWaiting none(0, windows.fakeBar, nullptr, quen::booleanFalse);
    received().clear();
    none.complete();
    EXPECT_TRUE(received().empty());
    none.step();
    none.step();
    EXPECT_EQ((std::vector<UINT>{PBM_SETPOS, PBM_SETPOS}), windows.messagesTo(windows.fakeBar));

    received().clear();
    WindowsWaiting negative(-2, windows.fakeBar, nullptr, quen::booleanFalse);
    // The range's upper end is the low 16 bits of -2.
    EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETPOS, 0, 0},
                                     {windows.fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, 65534)},
                                     {windows.fakeBar, PBM_SETSTEP, 1, 0}}),
              received());
    received().clear();
    negative.complete();
    negative.step();
    EXPECT_EQ((std::vector<UINT>{PBM_SETPOS}), windows.messagesTo(windows.fakeBar));
}

TEST(WindowsWaiting, KeepsCountingWhileCancelled) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    Boolean cancel;
    WindowsWaiting waiting(3, windows.fakeBar, nullptr, cancel);
    received().clear();
    cancel = true;
    waiting.step();
    waiting.complete();  // ends although nothing is posted
    EXPECT_TRUE(received().empty());
    cancel = false;
    waiting.step();  // the cycle was counted full: back to the start
    EXPECT_EQ((std::vector<UINT>{PBM_SETPOS}), windows.messagesTo(windows.fakeBar));
}

TEST(WindowsMessageLoop, DrainsEveryMessageTheQuitMessageToo) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    PostMessageA(windows.main, WM_USER + 1, 11, 12);
    PostMessageA(windows.fakeBar, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);  // the thread's own
    PostQuitMessage(7);
    PostMessageA(windows.main, WM_USER + 4, 0, 0);
    {
        const WindowsMessageLoop loop;
    }
    EXPECT_EQ((std::vector<Received>{{windows.main, WM_USER + 1, 11, 12},
                                     {windows.fakeBar, WM_USER + 2, 0, 0},
                                     {windows.main, WM_USER + 4, 0, 0}}),
              received());
    EXPECT_FALSE(TestWindows::pending());
}

TEST(WindowsMessageLoop, ForOneWindowLeavesTheOthers) {
    TestWindows windows;
    ASSERT_TRUE(windows.made());
    const HWND other = CreateWindowExA(0, testwindows::recordingClass(), "Other", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                       100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    { const WindowsMessageLoop drain; }
    received().clear();
    PostMessageA(windows.main, WM_USER + 1, 0, 0);
    PostMessageA(other, WM_USER + 2, 0, 0);
    PostMessageA(windows.fakeBar, WM_USER + 3, 0, 0);  // a child of main
    { const WindowsMessageLoop loop(windows.main); }
    EXPECT_EQ((std::vector<UINT>{WM_USER + 1, WM_USER + 3}), [&] {
        std::vector<UINT> messages;
        for (const Received& one : received()) {
            messages.push_back(one.message);
        }
        return messages;
    }());
    EXPECT_TRUE(TestWindows::pending());
    { const WindowsMessageLoop loop(other); }
    EXPECT_EQ(WM_USER + 2, received().back().message);
    DestroyWindow(other);
}
