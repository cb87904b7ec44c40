#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"
#include "quen/windows/Event.h"
#include "support/ChildProcess.h"
#include "support/Texts.h"

namespace {

// An event of this run's names alone, so that test processes running side by side never share one by accident; a child
// takes its parent's.
struct Event : quen::Event {
    Event(const std::string& what, bool initial = false, bool manual = false)
        : quen::Event(named(what).c_str(), initial, manual) {}
    static std::string named(const std::string& what) {
        static const std::string base = [] {
            const char* inherited = std::getenv("QUEN_EVENT_BASE");
            if (inherited != nullptr && support::isChildProcess()) return std::string(inherited);
            return "quentest" + std::to_string(std::random_device()()) + "_" +
                   std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        }();
        return base + what;
    }
};

const long childTime = 20000;  // long enough never to run out on a busy machine

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace

TEST(Event, NamesTheKernelObject) {
    EXPECT_EQ(quen::StdString("EVENT_Ready"), quen::Event("Ready", false, false).name());
    EXPECT_EQ(quen::StdString("EVENT_"), quen::Event(nullptr, false, false).name());
}

TEST(Event, AManualSetReleasesEveryWaitingThreadUntilReset) {
    Event gate("Gate", false, true);
    std::atomic<int> released(0);
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) waiters.emplace_back([&] { released += Event("Gate").wait(-1) ? 1 : 0; });
    pause(50);
    gate.set();
    for (std::thread& one : waiters) one.join();
    EXPECT_EQ(3, released.load());
    gate.reset();
    EXPECT_FALSE(gate.wait(20));
}

TEST(Event, FailureThrowsTheSystemsText) {
    // A backslash names a namespace; "EVENT_No" is none.
    EXPECT_EQ(quen::WindowsError(ERROR_PATH_NOT_FOUND).message(),
              support::thrown([] { const quen::Event event("No\\Such", false, false); }));
}

// The child holds a signalled manual event, tells it is ready, and waits for go to answer done.
CHILD_PART(EventChild, HoldsAnEventAndAnswersGo) {
    Event held("Held", true, true);
    Event go("Go");
    Event done("Done");
    done.set();
    ASSERT_TRUE(go.wait(childTime));
    done.set();
}

struct EventInTwoProcesses : ::testing::Test {
    Event go{"Go"};
    Event done{"Done"};
    support::ChildProcess child{"EventChild.HoldsAnEventAndAnswersGo", {{"QUEN_EVENT_BASE", Event::named("")}}};
    void SetUp() override { ASSERT_TRUE(done.wait(childTime)); }
};

TEST_F(EventInTwoProcesses, LivesWhileAnyProcessHoldsIt) {
    {
        Event held("Held");  // opened: the child's switches hold, not these
        EXPECT_TRUE(held.wait(0));
        go.set();
        EXPECT_TRUE(done.wait(childTime));
        EXPECT_EQ(0, child.wait());
        EXPECT_FALSE(go.wait(0));  // the child's wait took the signal
        EXPECT_TRUE(held.wait(0));  // still held here, still signalled, still manual
        EXPECT_TRUE(held.wait(0));
    }
    EXPECT_FALSE(Event("Held").wait(0));
}

TEST_F(EventInTwoProcesses, AKilledHolderLeavesNoLiveEventBehind) {
    child.kill();
    Event fresh("Held");
    EXPECT_FALSE(fresh.wait(0));
    fresh.set();
    fresh.set();  // counts once
    EXPECT_TRUE(fresh.wait(0));
    EXPECT_FALSE(fresh.wait(0));  // this construction's auto reset
}

// Sets QUEN_EVENT_READY, then waits without limit on QUEN_EVENT_TARGET until killed.
CHILD_PART(EventChild, WaitsUntilKilled) {
    Event target(std::getenv("QUEN_EVENT_TARGET"));
    Event(std::getenv("QUEN_EVENT_READY")).set();
    target.wait(-1);
    ADD_FAILURE() << "released";
}

// A process killed inside wait counts for nothing: a set goes to the next wait or stays on the event, and a reset takes
// it back.
TEST(Event, KilledWaitersAreAsIfTheyNeverWaited) {
    const std::string target = "Killed";
    Event event(target);
    std::vector<std::unique_ptr<support::ChildProcess>> waiters;
    for (int i = 0; i < 3; ++i) {
        const std::string ready = target + "Ready" + std::to_string(i);
        Event readySignal(ready);
        waiters.emplace_back(new support::ChildProcess(
            "EventChild.WaitsUntilKilled",
            {{"QUEN_EVENT_BASE", Event::named("")}, {"QUEN_EVENT_TARGET", target}, {"QUEN_EVENT_READY", ready}}));
        ASSERT_TRUE(readySignal.wait(childTime));
    }
    pause(200);  // from the set into the wait
    for (auto& waiter : waiters) waiter->kill();
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0));
    event.set();
    event.reset();
    EXPECT_FALSE(event.wait(100));
    // A live waiter after them takes the next set.
    std::atomic<int> released(-1);
    std::thread waiter([&] { released = Event(target).wait(childTime) ? 1 : 0; });
    pause(50);
    event.set();
    waiter.join();
    EXPECT_EQ(1, released.load());
    EXPECT_FALSE(event.wait(0));
}
