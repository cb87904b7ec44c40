// SystemTimeToFileTime with Windows' rules for the fields.
#include "quen/platform/posix/Time.h"

#include "quen/platform/posix/Errors.h"

namespace {

bool isLeapYear(long year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(long year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1601-01-01 to the first of the given month.
long long daysSince1601(long year, int month) {
    const long long years = year - 1601;
    long long days = years * 365 + years / 4 - years / 100 + years / 400;
    for (int m = 1; m < month; ++m) {
        days += daysInMonth(year, m);
    }
    return days;
}

}  // namespace

extern "C" {

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    if (systemTime == nullptr || fileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const SYSTEMTIME& s = *systemTime;
    if (s.wYear < 1601 || s.wYear > 30827 || s.wMonth < 1 || s.wMonth > 12 || s.wDay < 1 ||
        s.wDay > daysInMonth(s.wYear, s.wMonth) || s.wHour > 23 || s.wMinute > 59 || s.wSecond > 59 ||
        s.wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const long long days = daysSince1601(s.wYear, s.wMonth) + (s.wDay - 1);
    const long long seconds = ((days * 24 + s.wHour) * 60 + s.wMinute) * 60 + s.wSecond;
    const unsigned long long intervals =
        static_cast<unsigned long long>(seconds) * 10000000ULL + s.wMilliseconds * 10000ULL;
    fileTime->dwLowDateTime = static_cast<DWORD>(intervals & 0xFFFFFFFFULL);
    fileTime->dwHighDateTime = static_cast<DWORD>(intervals >> 32);
    return TRUE;
}

}  // extern "C"
