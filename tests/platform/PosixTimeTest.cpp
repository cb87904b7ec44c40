// The subset's SystemTimeToFileTime on the edges that Windows documents and
// Wine does not follow (so the shared suite cannot check them there).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#include "quen/platform/Win32.h"
#include "quen/values/TimeDate.h"
#include "support/FileSupport.h"

TEST(PosixTime, CenturyLeapRuleAndTheLastYear) {
    FILETIME result = {7, 7};
    for (const SYSTEMTIME& fields : {SYSTEMTIME{1900, 2, 0, 29, 0, 0, 0, 0}, SYSTEMTIME{2001, 2, 0, 29, 0, 0, 0, 0},
                                     SYSTEMTIME{2100, 2, 0, 29, 0, 0, 0, 0}, SYSTEMTIME{30828, 1, 0, 1, 0, 0, 0, 0}}) {
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&fields, &result)) << fields.wYear;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    }
    const SYSTEMTIME last = {30827, 12, 0, 31, 23, 59, 59, 999};
    ASSERT_TRUE(SystemTimeToFileTime(&last, &result));
    EXPECT_EQ(0x7FFF35F4u, result.dwHighDateTime);
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &result) || SystemTimeToFileTime(&last, nullptr));
}

// A file's creation time is its birth time, which a later modification
// leaves alone (the modification time where the file system keeps none).
TEST(PosixFileTimes, CreationIsTheBirthTimeWhereTheFileSystemKeepsOne) {
    support::ScratchFolder folder;
    const std::string name = folder.file("born.bin");
    support::writeFile(name, "x");
    std::filesystem::last_write_time(name, std::filesystem::last_write_time(name) - std::chrono::hours(48));
    struct statx record;
    ASSERT_EQ(0, statx(AT_FDCWD, name.c_str(), 0, STATX_BTIME | STATX_MTIME, &record));
    const bool born = (record.stx_mask & STATX_BTIME) != 0 && record.stx_btime.tv_sec != 0;
    EXPECT_EQ(born ? record.stx_btime.tv_sec : record.stx_mtime.tv_sec, quen::fileTime(name.c_str()).time());
    if (!born) GTEST_SKIP() << "this file system keeps no birth times";
}
