// How the Linux subset keeps named events: segments in /dev/shm, their lifetime, names and limits.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "quen/platform/Win32.h"
#include "support/ChildProcess.h"

namespace {

std::string uniqueName(const std::string& what) { return "QuenPosixEvent" + std::to_string(getpid()) + what; }
std::string shmPath(const std::string& what) { return "/dev/shm/quen-" + std::to_string(getuid()) + what; }

bool segmentExists(const std::string& name) {
    struct stat status;
    return stat(shmPath("-event-" + name).c_str(), &status) == 0;
}

void lastErrorIs(DWORD code) { EXPECT_EQ(code, GetLastError()); }

}  // namespace

// A segment lives while a handle is open, and one that a process left behind on ending is swept away. Names keep their
// case; too long for a file name they are shortened to a hash.
TEST(PosixEvents, SegmentsAndTheirNames) {
    const std::string left = uniqueName("Left");
    const pid_t child = fork();
    if (child == 0) _exit(CreateEventA(nullptr, TRUE, TRUE, left.c_str()) != nullptr ? 0 : 1);  // closes no handle
    int status = -1;
    ASSERT_TRUE(waitpid(child, &status, 0) == child && status == 0);
    const std::string kept = uniqueName("Kept-0._");  // these signs stay as they are in the segment's name
    const HANDLE plain = CreateEventA(nullptr, FALSE, FALSE, kept.c_str());
    ASSERT_NE(nullptr, plain);
    EXPECT_TRUE(segmentExists(kept));
    EXPECT_FALSE(segmentExists(left));  // nobody held it: removed on the way
    const HANDLE local = CreateEventA(nullptr, FALSE, FALSE, ("Local\\" + kept).c_str());
    lastErrorIs(ERROR_ALREADY_EXISTS);
    const HANDLE otherCase = CreateEventA(nullptr, FALSE, FALSE, uniqueName("KEPT-0._").c_str());
    lastErrorIs(ERROR_SUCCESS);
    const HANDLE signs = CreateEventA(nullptr, FALSE, FALSE, uniqueName("with blanks/and*signs").c_str());
    const std::string longName = uniqueName(std::string(240, 'x'));
    const HANDLE longFirst = CreateEventA(nullptr, FALSE, FALSE, longName.c_str());
    const HANDLE longSecond = CreateEventA(nullptr, FALSE, FALSE, longName.c_str());
    lastErrorIs(ERROR_ALREADY_EXISTS);
    EXPECT_EQ(nullptr, CreateEventA(nullptr, FALSE, FALSE, std::string(MAX_PATH + 1, 'y').c_str()));
    lastErrorIs(ERROR_FILENAME_EXCED_RANGE);
    for (HANDLE handle : {plain, otherCase, signs, longFirst, longSecond}) EXPECT_TRUE(CloseHandle(handle));
    EXPECT_TRUE(segmentExists(kept));
    EXPECT_TRUE(CloseHandle(local));
    EXPECT_FALSE(segmentExists(kept));
}

// A process without standard input may get descriptor 0 for a segment: its last close still takes the name away and
// closes the descriptor.
TEST(PosixEvents, ASegmentOnDescriptorZeroGoesWithItsLastHandle) {
    const int input = dup(0);  // -1 where the test runs without one
    ASSERT_TRUE(CloseHandle(CreateEventA(nullptr, FALSE, FALSE, uniqueName("Lock").c_str())));  // makes the lock
    bool onZero = false;
    for (int attempt = 0; attempt < 20 && !onZero; ++attempt) {
        const std::string name = uniqueName("Zero" + std::to_string(attempt));
        // Hold the namespace's lock on descriptor 0 while another thread creates, then free 0 for the segment it opens
        // next.
        close(0);
        ASSERT_EQ(0, open(shmPath("-events.lock").c_str(), O_RDWR));
        ASSERT_EQ(0, flock(0, LOCK_EX));
        HANDLE event = nullptr;
        std::thread creator([&] { event = CreateEventA(nullptr, FALSE, FALSE, name.c_str()); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        close(0);
        creator.join();
        ASSERT_NE(nullptr, event);
        char target[256] = {0};
        onZero = readlink("/proc/self/fd/0", target, sizeof target - 1) > 0 &&
                 std::string(target).find("-event-" + name) != std::string::npos;
        EXPECT_TRUE(CloseHandle(event));
        EXPECT_TRUE(!onZero || (fcntl(0, F_GETFD) == -1 && !segmentExists(name)));
        input >= 0 ? dup2(input, 0) : close(0);
    }
    if (input >= 0) close(input);
    EXPECT_TRUE(onZero) << "the segment never came on descriptor 0";
}

// An auto-reset event has room for 128 waiting threads; the next wait fails.
TEST(PosixEvents, HandlesNeverGivenOutCloseNothing) {  // wherever the table ends
    const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    for (std::uintptr_t value = reinterpret_cast<std::uintptr_t>(event) + 4; value < 65536; value += 4)
        ASSERT_TRUE(!CloseHandle(reinterpret_cast<HANDLE>(value)) && GetLastError() == ERROR_INVALID_HANDLE) << value;
    EXPECT_TRUE(CloseHandle(event));
}

TEST(PosixEvents, The129thWaiterIsRefused) {
    const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::vector<std::thread> waiters;
    for (int i = 0; i < 128; ++i) {
        waiters.emplace_back([event] {  // a probe below may hold a slot for a moment
            DWORD result = WAIT_FAILED;
            while ((result = WaitForSingleObject(event, INFINITE)) == WAIT_FAILED) std::this_thread::yield();
            EXPECT_EQ(WAIT_OBJECT_0, result);
        });
    }
    DWORD result = WAIT_TIMEOUT;
    for (int tries = 0; tries < 20000 && result == WAIT_TIMEOUT; ++tries) result = WaitForSingleObject(event, 1);
    EXPECT_EQ(WAIT_FAILED, result);
    lastErrorIs(ERROR_NOT_ENOUGH_MEMORY);
    for (int i = 0; i < 128; ++i) EXPECT_TRUE(SetEvent(event));
    for (std::thread& waiter : waiters) waiter.join();
    EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(event, 1));  // every set went to one waiter
    CloseHandle(event);
}

// Global\ names are one namespace for all users, whoever made the first event or closed the last one. The second
// user opens, waits on and sets the parent's events, and makes and closes one of its own.
CHILD_PART(PosixEventsChild, SharesGlobalEvents) {
    const std::string base = std::getenv("QUEN_GLOBAL_BASE");
    const HANDLE held = OpenEventA(EVENT_ALL_ACCESS, FALSE, (base + "Held").c_str());
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(DWORD{WAIT_OBJECT_0}, WaitForSingleObject(held, 0));
    const HANDLE answer = CreateEventA(nullptr, FALSE, FALSE, (base + "Answer").c_str());
    lastErrorIs(ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(SetEvent(answer));
    const HANDLE own = CreateEventA(nullptr, TRUE, FALSE, (base + "Own").c_str());
    ASSERT_NE(nullptr, own);
    for (HANDLE handle : {held, answer, own}) EXPECT_TRUE(CloseHandle(handle));
}

TEST(PosixEvents, GlobalNamesServeEveryUser) {
    std::string whyNot;
    const support::Launcher anotherUser = support::asAnotherUser(whyNot);
    if (anotherUser.empty()) GTEST_SKIP() << whyNot;
    const std::string base = "Global\\" + uniqueName("");
    const HANDLE held = CreateEventA(nullptr, FALSE, TRUE, (base + "Held").c_str());
    const HANDLE answer = CreateEventA(nullptr, FALSE, FALSE, (base + "Answer").c_str());
    ASSERT_TRUE(held && answer);
    EXPECT_TRUE(CloseHandle(CreateEventA(nullptr, FALSE, FALSE, (base + "Closed").c_str())));  // the last word
    support::ChildProcess child("PosixEventsChild.SharesGlobalEvents", {{"QUEN_GLOBAL_BASE", base}}, anotherUser);
    EXPECT_EQ(0, child.wait());
    EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(held, 0));  // the other user's wait took it
    EXPECT_EQ(DWORD{WAIT_OBJECT_0}, WaitForSingleObject(answer, 0));
    EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, (base + "Own").c_str()));  // gone with its last handle
    lastErrorIs(ERROR_FILE_NOT_FOUND);
    for (HANDLE handle : {held, answer}) EXPECT_TRUE(CloseHandle(handle));
}
