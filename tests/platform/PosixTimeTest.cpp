// The subset's SystemTimeToFileTime on the edges that Windows documents and
// Wine does not follow (so the shared suite cannot check them there).
#include <gtest/gtest.h>

#include "quen/platform/Win32.h"

TEST(PosixTime, CenturyLeapRuleAndTheLastYear) {
    FILETIME result = {7, 7};
    const SYSTEMTIME refused[] = {
        {1900, 2, 0, 29, 0, 0, 0, 0}, {2001, 2, 0, 29, 0, 0, 0, 0}, {2100, 2, 0, 29, 0, 0, 0, 0},
        {30828, 1, 0, 1, 0, 0, 0, 0}};
    for (const SYSTEMTIME& fields : refused) {
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&fields, &result)) << fields.wYear;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    }
    const SYSTEMTIME leap = {2000, 2, 0, 29, 0, 0, 0, 0};
    const SYSTEMTIME last = {30827, 12, 0, 31, 23, 59, 59, 999};
    EXPECT_TRUE(SystemTimeToFileTime(&leap, &result));
    ASSERT_TRUE(SystemTimeToFileTime(&last, &result));
    EXPECT_EQ(0x7FFF35F4u, result.dwHighDateTime);
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &result));
    EXPECT_FALSE(SystemTimeToFileTime(&leap, nullptr));
}

TEST(PosixFileAttributes, ReadOnlyMeansNoWriteBitForAnyone) {
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("/nonexistent/quen"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY), GetFileAttributesA("/"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(nullptr));
    EXPECT_FALSE(SetFileAttributesA("/nonexistent/quen", FILE_ATTRIBUTE_READONLY));
}
