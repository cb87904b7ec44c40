// Calendar time: seconds since 1970-01-01 00:00:00 UTC, broken into local
// calendar fields on demand; and the times and sizes of named files.
#ifndef QUEN_VALUES_TIMEDATE_H
#define QUEN_VALUES_TIMEDATE_H

#include <ctime>

#include "quen/platform/Export.h"
#include "quen/platform/Win32.h"
#include "quen/strings/StdString.h"

namespace quen {

class BinStream;

class QUEN_API TimeDate {
public:
    static const char* version();

    TimeDate();  // now
    TimeDate(long seconds);
    TimeDate(const TimeDate& other);
    TimeDate& operator=(const TimeDate& other);
    virtual ~TimeDate();

    // Serialised as 4 bytes, the time as a signed 32-bit count, least
    // significant byte first. input reads those 4 bytes back with their
    // sign. output of a time outside the 32-bit range (only where long is
    // wider, as on 64-bit Linux: before 1901-12-13 or after 2038-01-19)
    // throws "TimeDate" followed by "File SIZE error" and writes nothing;
    // otherwise it throws what the stream throws.
    virtual BinStream& input(BinStream& stream);
    virtual BinStream& output(BinStream& stream) const;
    virtual unsigned int objectSize() const;

    long time() const { return time_; }

    // The runtime's local-time record for the time. It is the runtime's one
    // shared record, overwritten by the next conversion anywhere in the
    // process. When the runtime cannot convert the time (before 1970 on
    // Windows, years beyond what a tm holds) every field is 0.
    const std::tm& localTime() const;
    int year() const;
    int month() const;  // 1 to 12
    int dayOfMonth() const;
    int dayOfWeek() const;  // 0 = Sunday
    int hour() const;
    int minute() const;
    int second() const;
    // asctime's text: 24 characters and the line break, which is kept.
    StdString ascTime() const;

    // Both require the same dynamic type.
    bool operator==(const TimeDate& other) const;
    bool operator<(const TimeDate& other) const;
    // This time minus the other, in seconds.
    double operator-(const TimeDate& other) const;

private:
    long time_;
};

// The named file's creation time (on Linux its birth time where the file
// system records one, else its last modification) and its size in bytes,
// for narrow names and zero-terminated UTF-16 names. A null name or one whose
// status cannot be read throws "fileTime" or "fileSize" followed by "File NOT
// FOUND error".
QUEN_API TimeDate fileTime(const char* name);
QUEN_API TimeDate fileTime(const unsigned short* name);
QUEN_API unsigned long long fileSize(const char* name);
QUEN_API unsigned long long fileSize(const unsigned short* name);

// The local calendar fields; wMilliseconds is always 0.
QUEN_API SYSTEMTIME systemTime(const TimeDate& time);
// The same local fields as a count of 100-nanosecond intervals since 1601
// (no conversion to UTC). Throws the system's text when the fields cannot be
// converted.
QUEN_API FILETIME fileTime(const TimeDate& time);

}  // namespace quen

#endif
