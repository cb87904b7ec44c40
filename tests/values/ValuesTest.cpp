#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string>

#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"
#include "quen/values/Extent.h"
#include "quen/values/ExtentFP.h"
#include "quen/values/Point.h"
#include "quen/values/PointFP.h"
#include "quen/values/TimeDate.h"
#include "streams/MemoryStream.h"
#include "support/FileSupport.h"
#include "support/Texts.h"

using quen::Extent;
using quen::ExtentFP;
using quen::Point;
using quen::PointFP;
using quen::TimeDate;
using support::thrown;

namespace {

unsigned long long count(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// 1970-01-01 in 100-nanosecond intervals since 1601-01-01.
const unsigned long long epoch = 116444736000000000ULL;
const unsigned long long perSecond = 10000000ULL;

struct OtherTime : TimeDate { using TimeDate::TimeDate; };
struct OtherPoint : Point { using Point::Point; };

// The fields of a time, and those of its SYSTEMTIME, as text.
std::string fields(const TimeDate& t) {
    const SYSTEMTIME s = quen::systemTime(t);
    char text[128];
    std::snprintf(text, sizeof text, "%d-%d-%d %d %d:%d:%d / %d-%d-%d %d %d:%d:%d.%d", t.year(), t.month(),
                  t.dayOfMonth(), t.dayOfWeek(), t.hour(), t.minute(), t.second(), s.wYear, s.wMonth, s.wDay,
                  s.wDayOfWeek, s.wHour, s.wMinute, s.wSecond, s.wMilliseconds);
    return text;
}

struct TimeInUtc : ::testing::Test { void SetUp() override { support::setTimeZone("UTC0"); } };

}  // namespace

TEST_F(TimeInUtc, CalendarFieldsSystemTimeAndFileTime) {
    const long before = static_cast<long>(std::time(nullptr)), now = TimeDate().time();
    EXPECT_TRUE(before <= now && now <= static_cast<long>(std::time(nullptr)));
    const std::pair<long, std::string> rows[] = {
        {0, "1970-1-1 4 0:0:0 / 1970-1-1 4 0:0:0.0"},
        {951782400 + 3723, "2000-2-29 2 1:2:3 / 2000-2-29 2 1:2:3.0"},      // a leap day
        {2147483647, "2038-1-19 2 3:14:7 / 2038-1-19 2 3:14:7.0"},          // the last second of 32 bits
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.second, fields(TimeDate(row.first)));
        EXPECT_EQ(epoch + static_cast<unsigned long long>(row.first) * perSecond, count(quen::fileTime(TimeDate(row.first))));
    }
}

TEST(TimeDateZones, FieldsAndFileTimeCountTheLocalWallClock) {
    support::setTimeZone("EST5");
    EXPECT_EQ("1970-1-1 4 19:0:0 / 1970-1-1 4 19:0:0.0", fields(TimeDate(86400)));
    EXPECT_EQ(epoch + 19 * 3600 * perSecond, count(quen::fileTime(TimeDate(86400))));
}

TEST_F(TimeInUtc, SerialisedAsFourBytesAndOnlyWithinThem) {
    test::MemoryStream stream;
    EXPECT_TRUE(TimeDate(86400).objectSize() == 4 && &TimeDate(86400).output(stream) == &stream);
    for (const long time : {-2L, static_cast<long>(INT32_MAX), static_cast<long>(INT32_MIN)}) TimeDate(time).output(stream);
    EXPECT_EQ(std::string("\x80\x51\x01\x00\xFE\xFF\xFF\xFF\xFF\xFF\xFF\x7F\x00\x00\x00\x80", 16), stream.bytes);
    TimeDate back(7);
    EXPECT_TRUE(&back.input(stream) == &stream && back.time() == 86400);
    back.input(stream);
    EXPECT_EQ(-2, back.time());
    if (sizeof(long) > 4) {
        // 2100-01-01 would read back as 1963; the times next to the range too.
        EXPECT_EQ(2100, TimeDate(static_cast<long>(4102444800LL)).year());
        for (const long long beyond : {4102444800LL, INT32_MAX + 1LL, INT32_MIN - 1LL}) {
            EXPECT_EQ("TimeDateFile SIZE error", thrown([&] { TimeDate(static_cast<long>(beyond)).output(stream); }));
        }
        EXPECT_EQ(4u, stream.writes.size());
    }
    test::MemoryStream shortStream(std::string("\x01\x02", 2));
    shortStream.quiet = true;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { back.input(shortStream); }));
    shortStream.clear();
    shortStream.put = -1;
    EXPECT_EQ("File WRITE READ-ONLY error -2", thrown([&] { back.output(shortStream); }) + " " + std::to_string(back.time()));
}

TEST_F(TimeInUtc, ComparisonNeedsTheSameTypeAndDifferenceIsInSeconds) {
    TimeDate assigned(1);
    assigned = TimeDate(5);
    EXPECT_TRUE(assigned == TimeDate(5) && TimeDate(-1) < TimeDate(0));
    EXPECT_FALSE(assigned == TimeDate(6) || assigned == OtherTime(5) || TimeDate(6) < TimeDate(5) ||
                 assigned < OtherTime(6) || OtherTime(5) < assigned);
    EXPECT_EQ(-60.0, TimeDate(40) - TimeDate(100));
}

TEST(SystemTimeToFileTime, CountsFrom1601AndRefusesInvalidFields) {
    // Leap years every fourth year, but not in centuries unless by 400.
    const std::pair<SYSTEMTIME, unsigned long long> valid[] = {
        {{1601, 1, 0, 1, 0, 0, 0, 0}, 0u},
        {{2000, 2, 3, 29, 23, 59, 59, 999}, epoch + (951782400ULL + 86399) * perSecond + 9990000},  // weekday ignored
        {{1900, 3, 0, 1, 0, 0, 0, 0}, 94405824000000000ULL},
        {{1904, 2, 0, 29, 0, 0, 0, 0}, 95667264000000000ULL},
        {{2100, 3, 0, 1, 0, 0, 0, 0}, 157520160000000000ULL},
    };
    FILETIME result = {1, 1};
    for (const auto& [fields, expected] : valid) {
        ASSERT_TRUE(SystemTimeToFileTime(&fields, &result)) << fields.wYear;
        EXPECT_EQ(expected, count(result)) << fields.wYear;
    }
    const SYSTEMTIME invalid[] = {
        {1600, 12, 0, 31, 0, 0, 0, 0}, {2001, 13, 0, 1, 0, 0, 0, 0}, {2001, 0, 0, 1, 0, 0, 0, 0},
        {2001, 4, 0, 31, 0, 0, 0, 0},  {2001, 1, 0, 0, 0, 0, 0, 0},  {2001, 1, 0, 1, 24, 0, 0, 0},
        {2001, 1, 0, 1, 0, 60, 0, 0},  {2001, 1, 0, 1, 0, 0, 60, 0}, {2001, 1, 0, 1, 0, 0, 0, 1000},
    };
    for (const SYSTEMTIME& bad : invalid) {
        SetLastError(0);
        result = {7, 7};
        EXPECT_FALSE(SystemTimeToFileTime(&bad, &result)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        EXPECT_EQ(7u, result.dwLowDateTime);  // left alone
    }
}

TEST_F(TimeInUtc, TimesTheRuntimeCannotConvertGiveZeroFields) {
    const std::string invalidParameter = quen::WindowsError(ERROR_INVALID_PARAMETER).message();
    // Before 1970 the Windows runtime converts nothing; the C runtime does.
    for (const long t : {-1L, static_cast<long>(INT32_MIN)}) {
        const TimeDate early(t);
        const std::string text = early.ascTime().c_str();
        EXPECT_TRUE(text.size() == 25 && text.back() == '\n') << t;
        if (early.dayOfMonth() == 0) {
            EXPECT_EQ("1900-1-0 0 0:0:0 / 1900-1-0 0 0:0:0.0", fields(early));
            EXPECT_EQ(invalidParameter, thrown([&] { quen::fileTime(early); }));
        } else {
            EXPECT_EQ(t == -1 ? "1969-12-31 3 23:59:59 / 1969-12-31 3 23:59:59.0" : "1901-12-13 5 20:45:52 / 1901-12-13 5 20:45:52.0", fields(early));
            EXPECT_EQ(epoch - static_cast<unsigned long long>(-static_cast<long long>(t)) * perSecond,
                      count(quen::fileTime(early)));
        }
    }
    if (sizeof(long) > 4) {
        // A long of 64 bits holds times beyond any calendar year a tm has.
        const TimeDate distant(std::numeric_limits<long>::max());
        EXPECT_EQ("1900-1-0 0 0:0:0 / 1900-1-0 0 0:0:0.0", fields(distant));
        EXPECT_EQ("Sun Jan  0 00:00:00 1900\n", std::string(distant.ascTime().c_str()));
        EXPECT_EQ(invalidParameter, thrown([&] { quen::fileTime(distant); }));
    }
}

// By narrow name the tool's cases check them; wide names only this suite.
TEST(FileDates, SizesAndTimesByWideNameAndMissingFiles) {
    support::ScratchFolder folder;
    const long before = static_cast<long>(std::time(nullptr));
    std::u16string path;
    for (char c : folder.path()) path += static_cast<char16_t>(c);
    const std::vector<unsigned short> wide = support::utf16((path + u"/\u00e4\u07ff\u0800\u20ac\U0001F600.dat").c_str());
    support::writeFileWide(wide.data(), "abc");
    EXPECT_TRUE(quen::fileSize(wide.data()) == 3 && quen::fileTime(wide.data()).time() >= before - 2);
    // Missing names, no name, and an unpaired surrogate name no file.
    const std::vector<unsigned short> absent[] = {support::utf16((path + u"/\xD83D.dat").c_str()),
                                                  support::utf16((path + u"/missing\u00e4.dat").c_str())};
    const std::pair<std::string, std::string> rows[] = {
        {"fileSize", thrown([&] { quen::fileSize(static_cast<const char*>(nullptr)); })},
        {"fileTime", thrown([&] { quen::fileTime(static_cast<const unsigned short*>(nullptr)); })},
        {"fileSize", thrown([&] { quen::fileSize(absent[0].data()); })},
        {"fileTime", thrown([&] { quen::fileTime(absent[1].data()); })},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first + "File NOT FOUND error", row.second);
}

// Points order row by row (y first), signed; equality is exact; neither
// holds between objects of different dynamic classes.
TEST(Point, OrderAndEqualityAreExactAndPerDynamicClass) {
    EXPECT_TRUE(Point(1, 2) < Point(0, 3) && Point(1, 2) < Point(2, 2) && Point(5, -1) < Point(0, 0));
    EXPECT_FALSE(Point(0, 3) < Point(1, 2) || Point(2, 2) < Point(2, 2) || PointFP(0.5, 1.0) < PointFP(0.25, 1.0));
    EXPECT_TRUE(PointFP(0.5, -0.25) < PointFP(0.0, 0.0) && ExtentFP(1.5, 2.5) != ExtentFP(1.5, 2.0));
    EXPECT_FALSE(PointFP(0.1 + 0.2, 0.0) == PointFP(0.3, 0.0) || Extent(2, 3) == Extent(3, 2));
    Point q(3, -4);
    ExtentFP f;
    q = Point();
    f = ExtentFP(1.5, 2.5);
    EXPECT_TRUE(q == Point(0, 0) && f == ExtentFP(1.5, 2.5) && (Extent() = Extent(2, 3)) == Extent(2, 3));
    EXPECT_TRUE(OtherPoint(1, 2) == OtherPoint(1, 2));
    EXPECT_FALSE(Point(1, 2) == OtherPoint(1, 2) || Point(0, 0) < OtherPoint(1, 2) || OtherPoint(1, 2) < Point(5, 5));
}
