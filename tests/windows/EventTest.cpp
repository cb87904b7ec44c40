#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"
#include "quen/windows/Event.h"
#include "support/ChildProcess.h"

namespace {

// Names of this run alone, so that test processes running side by side
// never share an event by accident. A child finds its parent's in the
// environment.
std::string uniqueBase() {
    const char* inherited = std::getenv("QUEN_EVENT_BASE");
    if (inherited != nullptr && support::isChildProcess()) {
        return inherited;
    }
    std::random_device random;
    return "quentest" + std::to_string(random()) + "_" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

// An event of this run's name space.
struct Event : quen::Event {
    Event(const char* what, bool initial, bool manual) : quen::Event(named(what).c_str(), initial, manual) {}
    static std::string named(const char* what) {
        static const std::string base = uniqueBase();
        return base + what;
    }
};

const long childTime = 20000;  // long enough never to run out on a busy machine

}  // namespace

TEST(Event, NamesTheKernelObject) {
    EXPECT_EQ(quen::StdString("EVENT_Ready"), quen::Event("Ready", false, false).name());
    EXPECT_EQ(quen::StdString("EVENT_"), quen::Event(nullptr, false, false).name());
}

TEST(Event, ObjectsOfOneNameShareOneEventAndItsFirstSwitches) {
    Event first("Ready", false, false);
    Event second("Ready", true, true);  // opened: these switches have no effect
    Event other("Other", false, false);
    EXPECT_FALSE(second.wait(0));
    first.set();
    EXPECT_FALSE(other.wait(0));
    EXPECT_TRUE(second.wait(0));
    EXPECT_FALSE(first.wait(0));  // still the first's auto reset: the wait took the signal
}

TEST(Event, AutoAndManualReset) {
    Event automatic("Auto", true, false);
    EXPECT_TRUE(automatic.wait(0));
    EXPECT_FALSE(automatic.wait(0));
    automatic.set();
    automatic.set();  // not counted
    EXPECT_TRUE(automatic.wait(10));
    EXPECT_FALSE(automatic.wait(10));

    Event manual("Manual", false, true);
    EXPECT_FALSE(manual.wait(0));
    manual.set();
    EXPECT_TRUE(manual.wait(0));
    EXPECT_TRUE(manual.wait(0));
    EXPECT_TRUE(manual.wait(-1));
    manual.reset();
    EXPECT_FALSE(manual.wait(0));
    manual.reset();
    EXPECT_FALSE(manual.wait(20));
}

TEST(Event, OtherThreadsAreReleased) {
    // A wait without limit, on an object of its own.
    Event event("Thread", false, false);
    std::atomic<int> result(-1);
    std::thread waiter([&] { result = Event("Thread", false, false).wait(-1) ? 1 : 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    event.set();
    waiter.join();
    EXPECT_EQ(1, result.load());
    EXPECT_FALSE(event.wait(0));

    // A manual set releases every waiting thread.
    Event gate("Gate", false, true);
    std::atomic<int> released(0);
    std::thread waiters[3];
    for (std::thread& one : waiters) {
        one = std::thread([&] { released += gate.wait(childTime) ? 1 : 0; });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    gate.set();
    for (std::thread& one : waiters) {
        one.join();
    }
    EXPECT_EQ(3, released.load());
}

TEST(Event, FailureThrowsTheSystemsText) {
    // A backslash names a namespace; "EVENT_No" is none.
    try {
        const quen::Event event("No\\Such", false, false);
        FAIL() << "no exception";
    } catch (const quen::QuenException& error) {
        EXPECT_STREQ(quen::WindowsError(ERROR_PATH_NOT_FOUND).message(), error.what());
        EXPECT_STRNE("", error.what());
    }
}

// ---- two processes -----------------------------------------------------------

// The child holds a signalled manual event, tells it is ready, and waits
// for go to answer done.
CHILD_PART(EventChild, HoldsAnEventAndAnswersGo) {
    Event held("Held", true, true);
    Event go("Go", false, false);
    Event done("Done", false, false);
    done.set();
    ASSERT_TRUE(go.wait(childTime));
    done.set();
}

struct EventInTwoProcesses : ::testing::Test {
    Event go{"Go", false, false};
    Event done{"Done", false, false};
    support::ChildProcess child{"EventChild.HoldsAnEventAndAnswersGo", {{"QUEN_EVENT_BASE", Event::named("")}}};
    void SetUp() override { ASSERT_TRUE(done.wait(childTime)); }
};

TEST_F(EventInTwoProcesses, SignalsBetweenTwoProcesses) {
    go.set();
    EXPECT_TRUE(done.wait(childTime));
    EXPECT_EQ(0, child.wait());
    EXPECT_FALSE(go.wait(0));  // the child's wait took the signal
}

TEST_F(EventInTwoProcesses, LivesWhileAnyProcessHoldsIt) {
    {
        // Opened: the child's switches hold, not these.
        Event held("Held", false, false);
        EXPECT_TRUE(held.wait(0));
        go.set();
        EXPECT_EQ(0, child.wait());
        EXPECT_TRUE(held.wait(0));  // still held here, still signalled, still manual
        EXPECT_TRUE(held.wait(0));
    }
    EXPECT_FALSE(Event("Held", false, false).wait(0));
}

TEST_F(EventInTwoProcesses, AKilledHolderLeavesNoLiveEventBehind) {
    child.kill();
    Event fresh("Held", false, false);
    EXPECT_FALSE(fresh.wait(0));
    fresh.set();
    EXPECT_TRUE(fresh.wait(0));
    EXPECT_FALSE(fresh.wait(0));  // this construction's auto reset
}

// ---- waiters that are killed ---------------------------------------------------

// Waits without limit on the event named in QUEN_EVENT_TARGET, after
// setting the one named in QUEN_EVENT_READY; the parent kills it there.
CHILD_PART(EventChild, WaitsUntilKilled) {
    Event target(std::getenv("QUEN_EVENT_TARGET"), false, false);
    Event(std::getenv("QUEN_EVENT_READY"), false, false).set();
    target.wait(-1);
    ADD_FAILURE() << "released";
}

// A process killed inside wait counts for nothing: a set goes to the next
// wait or stays on the event, and a reset takes it back.
TEST(Event, KilledWaitersAreAsIfTheyNeverWaited) {
    for (const int killed : {1, 3}) {
        const std::string target = "Killed" + std::to_string(killed);
        Event event(target.c_str(), false, false);
        std::vector<std::unique_ptr<support::ChildProcess>> waiters;
        for (int i = 0; i < killed; ++i) {
            const std::string ready = target + "Ready" + std::to_string(i);
            Event readySignal(ready.c_str(), false, false);
            waiters.emplace_back(new support::ChildProcess(
                "EventChild.WaitsUntilKilled", {{"QUEN_EVENT_BASE", Event::named("")},
                                                {"QUEN_EVENT_TARGET", target},
                                                {"QUEN_EVENT_READY", ready}}));
            ASSERT_TRUE(readySignal.wait(childTime));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // from the set into the wait
        for (auto& waiter : waiters) {
            waiter->kill();
        }
        event.set();
        EXPECT_TRUE(event.wait(0)) << killed << " killed";
        EXPECT_FALSE(event.wait(0)) << killed << " killed";
        event.set();
        event.reset();
        EXPECT_FALSE(event.wait(100)) << killed << " killed";
        // A live waiter after them takes the next set.
        std::atomic<int> released(-1);
        std::thread waiter([&] { released = Event(target.c_str(), false, false).wait(childTime) ? 1 : 0; });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        event.set();
        waiter.join();
        EXPECT_EQ(1, released.load()) << killed << " killed";
        EXPECT_FALSE(event.wait(0)) << killed << " killed";
    }
}
