#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "TestWindows.h"
#include "quen/windows/Event.h"
#include "quen/windows/ProgressMeter.h"
#include "quen/windows/ProgressMeter2.h"
#include "quen/windows/WindowsProgressMonitor.h"
#include "quen/windows/WindowsWaiting.h"

using quen::Boolean;
using quen::booleanFalse;
using quen::WindowsProgressMonitor;
using quen::WindowsWaiting;
using testwindows::Received;
using testwindows::received;
using testwindows::textOf;
using Monitor = testwindows::WindowsTest;
using Waiting = testwindows::WindowsTest;
using MessageLoop = testwindows::WindowsTest;
using Messages = std::vector<UINT>;

namespace {

const UINT marker = WM_USER + 100;

// A meter of the caller's own, through the interface only.
struct CountingMeter : quen::ProgressMeter2 {
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

// The monitors keep the flag's address: a temporary flag would be gone
// before the monitor, so none is accepted.
static_assert(!std::is_constructible<WindowsProgressMonitor, HWND, HWND, bool>::value, "temporary flag");
static_assert(!std::is_constructible<WindowsWaiting, int, HWND, HWND, Boolean>::value, "temporary flag");
static_assert(std::is_constructible<WindowsWaiting, int, HWND, HWND, const Boolean&>::value, "caller's flag");

TEST(Progress, BannersMetersAndFlags) {
    EXPECT_STREQ("ProgressMeter 1.0, 23.09.1999", quen::ProgressMeter::version());
    EXPECT_STREQ("ProgressMeter2 1.0, 17.Mar.2000", quen::ProgressMeter2::version());
    EXPECT_STREQ("WindowsProgressMonitor 1.0, 23.09.1999", WindowsProgressMonitor::version());
    EXPECT_STREQ("WindowsWaiting 1.0, 23.09.1999", WindowsWaiting::version());
    EXPECT_STREQ("WindowsMessageLoop 1.0, 19.11.1999", quen::WindowsMessageLoop::version());
    EXPECT_STREQ("Event 1.0, 23.09.1999", quen::Event::version());

    CountingMeter meter;
    quen::ProgressMeter2& asMeter2 = meter;
    quen::ProgressMeter& asMeter = meter;
    asMeter.reset("a");
    asMeter.step("b");
    asMeter2.subTitle("c");
    asMeter2.percentage(50);
    EXPECT_EQ(4, meter.calls);
    EXPECT_FALSE(asMeter.cancelled());  // a meter of the caller's own is never cancelled

    Boolean flag;
    const Boolean& seen = flag;
    EXPECT_FALSE(seen);
    flag = true;
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Boolean(false));
    EXPECT_TRUE(Boolean(true));
    EXPECT_FALSE(booleanFalse);
    EXPECT_TRUE(quen::booleanTrue);
}

TEST_F(Monitor, PostsTheBarsMessagesAndDrains) {
    SendMessageA(windows.bar, PBM_SETPOS, 40, 0);
    WindowsProgressMonitor monitor(windows.bar, windows.title, booleanFalse);
    EXPECT_EQ(0, windows.position());  // construction resets the bar
    WindowsProgressMonitor recorded(windows.fakeBar, nullptr, booleanFalse);
    EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETPOS, 0, 0}}), received());
    EXPECT_FALSE(windows.pending());
    EXPECT_EQ("Untitled", textOf(windows.title));

    // Only the low 16 bits of the number of steps count.
    const struct {
        int steps;
        WORD upperEnd;
    } rows[] = {{8, 8}, {70000, 4464}, {65536 + 3, 3}, {-1, 65535}};
    for (const auto& row : rows) {
        monitor.numberOfSteps(row.steps);
        EXPECT_EQ(0, windows.range().iLow) << row.steps;
        EXPECT_EQ(row.upperEnd, windows.range().iHigh) << row.steps;
        received().clear();
        recorded.numberOfSteps(row.steps);
        EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, row.upperEnd)},
                                         {windows.fakeBar, PBM_SETSTEP, 1, 0}}),
                  received())
            << row.steps;
    }
}

TEST_F(Monitor, TextsGoToTheTitleWindow) {
    WindowsProgressMonitor monitor(windows.bar, windows.title, booleanFalse);
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

TEST_F(Monitor, WithoutABarOrTitleWindow) {
    WindowsProgressMonitor noBar(nullptr, windows.title, booleanFalse);
    PostMessageA(windows.main, marker, 0, 0);
    noBar.reset("");
    noBar.step("");
    noBar.numberOfSteps(4);
    EXPECT_TRUE(received().empty());  // nothing posted, nothing drained
    EXPECT_TRUE(windows.pending());
    // A text still reaches the title, and setting it drains the queue.
    noBar.step("Named");
    EXPECT_EQ("Named", textOf(windows.title));
    EXPECT_EQ((Messages{marker}), windows.messagesTo(windows.main));
    EXPECT_FALSE(windows.pending());
    noBar.reset("Renamed");
    EXPECT_EQ("Renamed", textOf(windows.title));

    WindowsProgressMonitor noTitle(windows.bar, nullptr, booleanFalse);
    PostMessageA(windows.main, marker, 0, 0);
    noTitle.title("Lost");  // does nothing at all
    EXPECT_TRUE(windows.pending());
    EXPECT_EQ("Renamed", textOf(windows.title));
    noTitle.numberOfSteps(3);
    noTitle.step("Also lost");
    EXPECT_EQ(1, windows.position());
    EXPECT_FALSE(windows.pending());
}

TEST_F(Monitor, ACancelledMonitorLeavesWindowsAndQueueAlone) {
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
    EXPECT_TRUE(windows.pending());

    cancel = false;
    monitor.step("");
    EXPECT_EQ(2, windows.position());
    EXPECT_FALSE(windows.pending());

    // A Cancel button's window procedure sets the flag while the queue is drained.
    testwindows::cancelButtonFlag() = &cancel;
    PostMessageA(windows.main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    monitor.step("");  // posts STEPIT behind the click, then drains both
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(monitor.cancelled());
    EXPECT_EQ(3, windows.position());
    monitor.step("");
    monitor.step("");
    EXPECT_EQ(3, windows.position());
}

TEST_F(Waiting, CyclesStepItThenSetPos) {
    WindowsWaiting recorded(3, windows.fakeBar, windows.title, booleanFalse);
    WindowsWaiting waiting(3, windows.bar, windows.title, booleanFalse);
    received().clear();
    std::vector<int> positions;
    for (int i = 0; i < 6; ++i) {
        recorded.step();
        waiting.step();
        positions.push_back(windows.position());
    }
    EXPECT_EQ((Messages{PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_SETPOS, PBM_STEPIT, PBM_STEPIT}),
              windows.messagesTo(windows.fakeBar));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 1, 2}), positions);
    EXPECT_EQ(3, windows.range().iHigh);
}

TEST_F(Waiting, CompleteFillsTheCycle) {
    // complete() posts the rest of the cycle, then nothing; the range's upper
    // end is the low 16 bits of the cycle length; without steps step() only resets.
    const struct {
        int steps;
        WORD upperEnd;
        Messages complete;
        Messages threeSteps;
    } rows[] = {{4, 4, {PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_STEPIT}, {PBM_SETPOS, PBM_STEPIT, PBM_STEPIT}},
                {0, 0, {}, {PBM_SETPOS, PBM_SETPOS, PBM_SETPOS}},
                {-2, 65534, {}, {PBM_SETPOS, PBM_SETPOS, PBM_SETPOS}}};
    for (const auto& row : rows) {
        received().clear();
        WindowsWaiting waiting(row.steps, windows.fakeBar, nullptr, booleanFalse);
        EXPECT_EQ((std::vector<Received>{{windows.fakeBar, PBM_SETPOS, 0, 0},
                                         {windows.fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, row.upperEnd)},
                                         {windows.fakeBar, PBM_SETSTEP, 1, 0}}),
                  received())
            << row.steps;
        received().clear();
        waiting.complete();
        EXPECT_EQ(row.complete, windows.messagesTo(windows.fakeBar)) << row.steps;
        received().clear();
        waiting.complete();
        EXPECT_TRUE(received().empty()) << row.steps;
        for (int i = 0; i < 3; ++i) {
            waiting.step();
        }
        EXPECT_EQ(row.threeSteps, windows.messagesTo(windows.fakeBar)) << row.steps;
    }

    WindowsWaiting real(4, windows.bar, nullptr, booleanFalse);
    real.step();
    real.complete();
    EXPECT_EQ(4, windows.position());

    // Counting goes on while cancelled, so complete() ends.
    Boolean cancel;
    WindowsWaiting cancelled(3, windows.fakeBar, nullptr, cancel);
    received().clear();
    cancel = true;
    cancelled.step();
    cancelled.complete();  // ends although nothing is posted
    EXPECT_TRUE(received().empty());
    cancel = false;
    cancelled.step();  // the cycle was counted full: back to the start
    EXPECT_EQ((Messages{PBM_SETPOS}), windows.messagesTo(windows.fakeBar));
}

TEST_F(MessageLoop, DrainsEveryMessageTheQuitMessageTooOrOneWindowsOnly) {
    PostMessageA(windows.main, WM_USER + 1, 11, 12);
    PostMessageA(windows.fakeBar, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);  // the thread's own
    PostQuitMessage(7);
    PostMessageA(windows.main, WM_USER + 4, 0, 0);
    { const quen::WindowsMessageLoop loop; }
    EXPECT_EQ((std::vector<Received>{{windows.main, WM_USER + 1, 11, 12},
                                     {windows.fakeBar, WM_USER + 2, 0, 0},
                                     {windows.main, WM_USER + 4, 0, 0}}),
              received());
    EXPECT_FALSE(windows.pending());

    // For one window (and its children) the others' messages wait.
    const HWND other = CreateWindowExA(0, testwindows::recordingClass(), "Other", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                       100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    received().clear();
    PostMessageA(windows.main, WM_USER + 1, 0, 0);
    PostMessageA(other, WM_USER + 2, 0, 0);
    PostMessageA(windows.fakeBar, WM_USER + 3, 0, 0);  // a child of main
    { const quen::WindowsMessageLoop loop(windows.main); }
    EXPECT_EQ((Messages{WM_USER + 1, WM_USER + 3}), windows.messagesTo(nullptr));
    EXPECT_TRUE(windows.pending());
    { const quen::WindowsMessageLoop loop(other); }
    EXPECT_EQ(WM_USER + 2, std::get<1>(received().back()));
    DestroyWindow(other);
}
