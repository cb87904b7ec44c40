// Win32 time records and their conversion for the Linux build.
#ifndef QUEN_PLATFORM_POSIX_TIME_H
#define QUEN_PLATFORM_POSIX_TIME_H

#include "quen/platform/posix/Types.h"

// Calendar fields, as Windows lays them out.
typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;  // 1 to 12
    WORD wDayOfWeek;  // 0 = Sunday; ignored by the conversion
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;

// 100-nanosecond intervals since 1601-01-01 00:00:00, low half first.
typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

extern "C" {

// Counts the intervals from 1601-01-01 to the given fields, as Windows does:
// no time zone is applied. Fields outside their ranges (year 1601 to 30827,
// month 1 to 12, a day the month has, hour below 24, minute and second below
// 60, milliseconds below 1000) fail with ERROR_INVALID_PARAMETER and leave
// the result alone; so do null pointers.
QUEN_API BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
}

#endif
