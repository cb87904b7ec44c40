#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"
#include "quen/windows/Event.h"
#include "support/ChildProcess.h"

using quen::Event;

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

std::string named(const char* what) {
    static const std::string base = uniqueBase();
    return base + what;
}

support::Environment childEnvironment() {
    return {{"QUEN_EVENT_BASE", named("")}};
}

const long childTime = 20000;  // long enough never to run out on a busy machine

}  // namespace

TEST(Event, NamesTheKernelObject) {
    const Event event("Ready", false, false);
    EXPECT_EQ(quen::StdString("EVENT_Ready"), event.name());
    const Event unnamed(nullptr, false, false);
    EXPECT_EQ(quen::StdString("EVENT_"), unnamed.name());
}

TEST(Event, TwoObjectsOfOneNameShareTheEvent) {
    Event first(named("Ready").c_str(), false, false);
    Event second(named("Ready").c_str(), false, false);
    EXPECT_FALSE(second.wait(0));
    first.set();
    EXPECT_TRUE(second.wait(0));
    EXPECT_FALSE(first.wait(0));  // auto reset: the wait took the signal
    Event other(named("Other").c_str(), false, false);
    first.set();
    EXPECT_FALSE(other.wait(0));
}

TEST(Event, AutoResetReleasesOneWait) {
    Event event(named("Auto").c_str(), true, false);
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0));
    event.set();
    event.set();  // not counted
    EXPECT_TRUE(event.wait(10));
    EXPECT_FALSE(event.wait(10));
}

TEST(Event, ManualResetStaysSignalledUntilReset) {
    Event event(named("Manual").c_str(), false, true);
    EXPECT_FALSE(event.wait(0));
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_TRUE(event.wait(0));
    EXPECT_TRUE(event.wait(-1));
    event.reset();
    EXPECT_FALSE(event.wait(0));
    event.reset();
    EXPECT_FALSE(event.wait(20));
}

TEST(Event, TheSwitchesOfALaterConstructionHaveNoEffect) {
    Event first(named("Switches").c_str(), false, false);
    Event second(named("Switches").c_str(), true, true);
    EXPECT_FALSE(second.wait(0));  // not signalled by the second's switch
    second.set();
    EXPECT_TRUE(second.wait(0));
    EXPECT_FALSE(second.wait(0));  // still the first's auto reset
}

TEST(Event, AWaitWithoutLimitIsReleasedByAnotherThread) {
    Event event(named("Thread").c_str(), false, false);
    std::atomic<int> result(-1);
    std::thread waiter([&] {
        Event mine(named("Thread").c_str(), false, false);
        result = mine.wait(-1) ? 1 : 0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    event.set();
    waiter.join();
    EXPECT_EQ(1, result.load());
    EXPECT_FALSE(event.wait(0));
}

TEST(Event, AManualSetReleasesEveryWaitingThread) {
    Event gate(named("Gate").c_str(), false, true);
    std::atomic<int> released(0);
    std::thread waiters[3];
    for (std::thread& waiter : waiters) {
        waiter = std::thread([&] { released += gate.wait(childTime) ? 1 : 0; });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    gate.set();
    for (std::thread& waiter : waiters) {
        waiter.join();
    }
    EXPECT_EQ(3, released.load());
}

TEST(Event, FailureThrowsTheSystemsText) {
    // A backslash names a namespace; "EVENT_No" is none.
    try {
        const Event event("No\\Such", false, false);
        FAIL() << "no exception";
    } catch (const quen::QuenException& error) {
        EXPECT_STREQ(quen::WindowsError(ERROR_PATH_NOT_FOUND).message(), error.what());
        EXPECT_STRNE("", error.what());
    }
}

// ---- two processes -----------------------------------------------------------

TEST(EventChild, WaitsForGoThenSetsDone) {
    if (!support::isChildProcess()) GTEST_SKIP() << "child part";
    Event go(named("Go").c_str(), false, false);
    Event done(named("Done").c_str(), false, false);
    ASSERT_TRUE(go.wait(childTime));
    done.set();
}

TEST(EventChild, HoldsASignalledManualEvent) {
    if (!support::isChildProcess()) GTEST_SKIP() << "child part";
    Event held(named("Held").c_str(), true, true);
    Event ready(named("ChildReady").c_str(), false, false);
    Event quit(named("Quit").c_str(), false, false);
    ready.set();
    ASSERT_TRUE(quit.wait(childTime));
}

TEST(Event, SignalsBetweenTwoProcesses) {
    Event go(named("Go").c_str(), false, false);
    Event done(named("Done").c_str(), false, false);
    support::ChildProcess child("EventChild.WaitsForGoThenSetsDone", childEnvironment());
    go.set();
    EXPECT_TRUE(done.wait(childTime));
    EXPECT_EQ(0, child.wait());
    EXPECT_FALSE(go.wait(0));  // the child's wait took the signal
}

TEST(Event, LivesWhileAnyProcessHoldsIt) {
    Event ready(named("ChildReady").c_str(), false, false);
    Event quit(named("Quit").c_str(), false, false);
    support::ChildProcess child("EventChild.HoldsASignalledManualEvent", childEnvironment());
    ASSERT_TRUE(ready.wait(childTime));
    {
        // Opened: the child's switches hold, not these.
        Event held(named("Held").c_str(), false, false);
        EXPECT_TRUE(held.wait(0));
        quit.set();
        EXPECT_EQ(0, child.wait());
        EXPECT_TRUE(held.wait(0));  // still held here, still signalled, still manual
        EXPECT_TRUE(held.wait(0));
    }
    Event fresh(named("Held").c_str(), false, false);
    EXPECT_FALSE(fresh.wait(0));
}

TEST(Event, AKilledHolderLeavesNoLiveEventBehind) {
    Event ready(named("ChildReady").c_str(), false, false);
    support::ChildProcess child("EventChild.HoldsASignalledManualEvent", childEnvironment());
    ASSERT_TRUE(ready.wait(childTime));
    child.kill();
    Event fresh(named("Held").c_str(), false, false);
    EXPECT_FALSE(fresh.wait(0));
    fresh.set();
    EXPECT_TRUE(fresh.wait(0));
    EXPECT_FALSE(fresh.wait(0));  // this construction's auto reset
}
