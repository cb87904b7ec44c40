// How the Linux subset keeps named events: segments in /dev/shm, their
// lifetime and the names they take.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "quen/platform/Win32.h"

namespace {

std::string uniqueName(const char* what) {
    return std::string("QuenPosixEvent") + std::to_string(static_cast<long>(getpid())) + what;
}

bool segmentExists(const std::string& name) {
    struct stat status;
    const std::string path = "/dev/shm/quen-" + std::to_string(static_cast<unsigned long>(getuid())) + "-event-" + name;
    return stat(path.c_str(), &status) == 0;
}

}  // namespace

TEST(PosixEvents, TheSegmentLivesWhileAHandleIsOpen) {
    const std::string name = uniqueName("Life");
    const HANDLE first = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(segmentExists(name));
    const HANDLE second = OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str());
    ASSERT_NE(nullptr, second);
    CloseHandle(first);
    EXPECT_TRUE(segmentExists(name));
    CloseHandle(second);
    EXPECT_FALSE(segmentExists(name));
}

TEST(PosixEvents, WhatAnEndedProcessLeftIsMadeAfreshOrSweptAway) {
    const std::string left = uniqueName("Left");
    const std::string reused = uniqueName("Reused");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Signalled manual events, and an exit that closes no handle.
        CreateEventA(nullptr, TRUE, TRUE, left.c_str());
        CreateEventA(nullptr, TRUE, TRUE, reused.c_str());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(segmentExists(left));

    const HANDLE fresh = CreateEventA(nullptr, FALSE, FALSE, reused.c_str());
    ASSERT_NE(nullptr, fresh);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());  // made, not opened
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(fresh, 0));
    EXPECT_FALSE(segmentExists(left));  // nobody held it: removed on the way
    EXPECT_EQ(nullptr, OpenEventA(EVENT_ALL_ACCESS, FALSE, left.c_str()));
    CloseHandle(fresh);
}

TEST(PosixEvents, Names) {
    const std::string name = uniqueName("Name with blanks/and*signs");
    const HANDLE plain = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    ASSERT_NE(nullptr, plain);
    const HANDLE local = CreateEventA(nullptr, FALSE, FALSE, ("Local\\" + name).c_str());
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    const HANDLE otherCase = CreateEventA(nullptr, FALSE, FALSE, uniqueName("NAME with blanks/and*signs").c_str());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());  // names keep their case

    // Too long for a file name: shortened to a hash, still one event.
    const std::string longName = uniqueName(std::string(240, 'x').c_str());
    const HANDLE longFirst = CreateEventA(nullptr, FALSE, FALSE, longName.c_str());
    ASSERT_NE(nullptr, longFirst);
    const HANDLE longSecond = CreateEventA(nullptr, FALSE, FALSE, longName.c_str());
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_TRUE(SetEvent(longFirst));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(longSecond, 0));

    EXPECT_EQ(nullptr, CreateEventA(nullptr, FALSE, FALSE, std::string(MAX_PATH + 1, 'y').c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE), GetLastError());
    for (HANDLE handle : {plain, local, otherCase, longFirst, longSecond}) {
        EXPECT_TRUE(CloseHandle(handle));
    }
}
