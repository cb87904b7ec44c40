#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "TestWindows.h"
#include "quen/windows/Event.h"
#include "quen/windows/ProgressMeter2.h"
#include "quen/windows/WindowsProgressMonitor.h"
#include "quen/windows/WindowsWaiting.h"

using quen::Boolean;
using quen::booleanFalse;
using quen::WindowsProgressMonitor;
using quen::WindowsWaiting;
using namespace testwindows;
using Monitor = WindowsTest;
using Waiting = WindowsTest;
using MessageLoop = WindowsTest;

namespace {
const UINT marker = WM_USER + 100;
}

// The monitors keep the flag's address: a temporary flag would be gone
// before the monitor, so none is accepted.
static_assert(!std::is_constructible<WindowsProgressMonitor, HWND, HWND, bool>::value, "temporary flag");
static_assert(!std::is_constructible<WindowsWaiting, int, HWND, HWND, Boolean>::value, "temporary flag");
static_assert(std::is_constructible<WindowsWaiting, int, HWND, HWND, const Boolean&>::value, "caller's flag");

TEST(Progress, BannersMetersAndFlags) {
    const std::pair<const char*, const char*> banners[] = {
        {"ProgressMeter 1.0, 23.09.1999", quen::ProgressMeter::version()},
        {"ProgressMeter2 1.0, 17.Mar.2000", quen::ProgressMeter2::version()},
        {"WindowsProgressMonitor 1.0, 23.09.1999", WindowsProgressMonitor::version()},
        {"WindowsWaiting 1.0, 23.09.1999", WindowsWaiting::version()},
        {"WindowsMessageLoop 1.0, 19.11.1999", quen::WindowsMessageLoop::version()},
        {"Event 1.0, 23.09.1999", quen::Event::version()}};
    for (const auto& banner : banners) EXPECT_STREQ(banner.first, banner.second);

    // The interface's own answer: never cancelled.
    struct OwnMeter : quen::WindowsProgressMonitor {
        OwnMeter() : WindowsProgressMonitor(nullptr, nullptr, booleanFalse) {}
        bool cancelled() const override { return ProgressMeter::cancelled(); }
    };
    EXPECT_FALSE(OwnMeter().cancelled());

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

TEST_F(Monitor, PostsTheBarsMessagesDrainsAndSetsTheTitle) {
    SendMessageA(bar, PBM_SETPOS, 40, 0);
    WindowsProgressMonitor monitor(bar, title, booleanFalse);
    EXPECT_EQ(0, position());  // construction resets the bar
    WindowsProgressMonitor recorded(fakeBar, nullptr, booleanFalse);
    EXPECT_EQ((std::vector<Received>{{fakeBar, PBM_SETPOS, 0, 0}}), received());
    EXPECT_FALSE(pending());
    EXPECT_EQ("Untitled", textOf(title));

    // Only the low 16 bits of the number of steps count.
    const struct {
        int steps;
        WORD upperEnd;
    } rows[] = {{8, 8}, {70000, 4464}, {65536 + 3, 3}, {-1, 65535}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        monitor.numberOfSteps(row.steps);
        EXPECT_EQ(0, range().iLow);
        EXPECT_EQ(row.upperEnd, range().iHigh);
        received().clear();
        recorded.numberOfSteps(row.steps);
        EXPECT_EQ((std::vector<Received>{{fakeBar, PBM_SETRANGE, 0, MAKELPARAM(0, row.upperEnd)},
                                         {fakeBar, PBM_SETSTEP, 1, 0}}),
                  received());
    }

    // Texts go to the title window.
    monitor.title("Copying");
    EXPECT_EQ("Copying", textOf(title));
    const auto shows = [this](const char* text, int at) {
        EXPECT_EQ(text, textOf(title));
        EXPECT_EQ(at, position());
    };
    monitor.step("Copying set.dat");
    shows("Copying set.dat", 1);
    monitor.step("");  // an empty text keeps the title
    shows("Copying set.dat", 2);
    monitor.reset("Checking");
    shows("Checking", 0);
    monitor.step(3);  // does nothing
    shows("Checking", 0);
    monitor.reset("");
    shows("Checking", 0);
}

TEST_F(Monitor, WithoutABarOrTitleWindow) {
    WindowsProgressMonitor noBar(nullptr, title, booleanFalse);
    PostMessageA(main, marker, 0, 0);
    noBar.reset("");
    noBar.step("");
    noBar.numberOfSteps(4);
    EXPECT_TRUE(received().empty());  // nothing posted, nothing drained
    EXPECT_TRUE(pending());
    noBar.step("Named");  // a text still reaches the title, and drains the queue
    EXPECT_EQ("Named", textOf(title));
    EXPECT_EQ((Messages{marker}), messagesTo(main));
    EXPECT_FALSE(pending());
    noBar.reset("Renamed");
    EXPECT_EQ("Renamed", textOf(title));

    WindowsProgressMonitor noTitle(bar, nullptr, booleanFalse);
    PostMessageA(main, marker, 0, 0);
    noTitle.title("Lost");  // does nothing at all
    EXPECT_TRUE(pending());
    noTitle.numberOfSteps(3);
    noTitle.step("Also lost");
    EXPECT_EQ("Renamed", textOf(title));
    EXPECT_EQ(1, position());
    EXPECT_FALSE(pending());
}

TEST_F(Monitor, ACancelledMonitorLeavesWindowsAndQueueAlone) {
    Boolean cancel;
    WindowsProgressMonitor monitor(bar, title, cancel);
    monitor.numberOfSteps(10);
    monitor.step("Working");
    EXPECT_FALSE(monitor.cancelled());

    cancel = true;  // read afresh at every call
    EXPECT_TRUE(monitor.cancelled());
    PostMessageA(main, marker, 0, 0);
    monitor.title("No");
    monitor.step("No");
    monitor.reset("No");
    monitor.numberOfSteps(50);
    EXPECT_EQ("Working", textOf(title));
    EXPECT_EQ(1, position());
    EXPECT_EQ(10, range().iHigh);
    EXPECT_TRUE(pending());

    cancel = false;
    monitor.step("");
    EXPECT_EQ(2, position());
    EXPECT_FALSE(pending());

    // A Cancel button's window procedure sets the flag while the queue drains.
    cancelButtonFlag() = &cancel;
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    monitor.step("");  // posts STEPIT behind the click, then drains both
    EXPECT_TRUE(monitor.cancelled());
    EXPECT_EQ(3, position());
    monitor.step("");
    EXPECT_EQ(3, position());
}

TEST_F(Waiting, CompleteFillsTheCycle) {
    // What the bar is posted by construction, complete() twice and step()
    // three times: complete() posts the rest of the cycle, then nothing; a
    // full cycle starts again with SETPOS; without steps step() only resets.
    const Messages opening = {PBM_SETPOS, PBM_SETRANGE, PBM_SETSTEP};
    const Messages resets = {PBM_SETPOS, PBM_SETPOS, PBM_SETPOS};
    const struct {
        int steps;
        Messages posted;
    } rows[] = {{4, {PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_STEPIT, PBM_SETPOS, PBM_STEPIT, PBM_STEPIT}},
                {0, resets},
                {-2, resets}};
    for (const auto& row : rows) {
        received().clear();
        WindowsWaiting waiting(row.steps, fakeBar, nullptr, booleanFalse);
        waiting.complete();
        waiting.complete();
        for (int i = 0; i < 3; ++i) waiting.step();
        Messages expected = opening;
        expected.insert(expected.end(), row.posted.begin(), row.posted.end());
        EXPECT_EQ(expected, messagesTo(fakeBar)) << row.steps;
    }

    // A real bar follows: 1, 2 and 3 steps, round to 0, then complete().
    WindowsWaiting real(3, bar, nullptr, booleanFalse);
    std::vector<int> positions;
    for (int i = 0; i < 5; ++i) {
        real.step();
        positions.push_back(position());
    }
    real.complete();
    positions.push_back(position());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 1, 3}), positions);
    EXPECT_EQ(3, range().iHigh);

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
    { const quen::WindowsMessageLoop loop; }
    EXPECT_EQ((std::vector<Received>{{main, WM_USER + 1, 11, 12}, {fakeBar, WM_USER + 2, 0, 0},
                                     {main, WM_USER + 4, 0, 0}}),
              received());
    EXPECT_FALSE(pending());

    // For one window (and its children) the others' messages wait.
    const HWND other = makeWindow(recordingClass(), "Other");
    ASSERT_NE(nullptr, other);
    received().clear();
    PostMessageA(main, WM_USER + 1, 0, 0);
    PostMessageA(other, WM_USER + 2, 0, 0);
    PostMessageA(fakeBar, WM_USER + 3, 0, 0);  // a child of main
    { const quen::WindowsMessageLoop loop(main); }
    EXPECT_EQ((Messages{WM_USER + 1, WM_USER + 3}), messagesTo(nullptr));
    EXPECT_TRUE(pending());
    { const quen::WindowsMessageLoop loop(other); }
    EXPECT_EQ((Messages{WM_USER + 1, WM_USER + 3, WM_USER + 2}), messagesTo(nullptr));
    DestroyWindow(other);
}
