#include "quen/values/TimeDate.h"

#include <cstdint>
#include <cstdio>
#include <typeinfo>

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/platform/FileStatus.h"
#include "quen/streams/BinStream.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

const int messageNotFound = 8;
const int messageSize = 20;

// The conversion the runtime can make, or null. The runtime refuses some
// times (Windows those before 1970; every runtime years that a tm cannot
// hold), and nothing may read through its null result.
const std::tm* convert(long seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    return std::localtime(&t);
}

// Stands in for a conversion that failed: every field 0.
const std::tm& noFields() {
    static const std::tm zeros{};
    return zeros;
}

// asctime's layout, for the records the runtime's asctime may refuse.
StdString formatLikeAsctime(const std::tm& fields) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = fields.tm_wday >= 0 && fields.tm_wday < 7 ? days[fields.tm_wday] : "???";
    const char* month = fields.tm_mon >= 0 && fields.tm_mon < 12 ? months[fields.tm_mon] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", day, month, fields.tm_mday,
                  fields.tm_hour, fields.tm_min, fields.tm_sec, 1900LL + fields.tm_year);
    return StdString(text);
}

StdString notFound(const char* function) {
    return StdString(function) + utilityStrings(messageNotFound);
}

}  // namespace

const char* TimeDate::version() {
    return "TimeDate 1.0, 16.08.1999";
}

TimeDate::TimeDate() : time_(static_cast<long>(std::time(nullptr))) {}

TimeDate::TimeDate(long seconds) : time_(seconds) {}

TimeDate::TimeDate(const TimeDate& other) = default;

TimeDate& TimeDate::operator=(const TimeDate& other) {
    if (this != &other) {
        time_ = other.time_;
    }
    return *this;
}

TimeDate::~TimeDate() = default;

BinStream& TimeDate::input(BinStream& stream) {
    long value = 0;
    stream.read(value);  // checks the stream itself (throwOnError)
    time_ = value;
    return stream;
}

BinStream& TimeDate::output(BinStream& stream) const {
    // Where long is 64 bits a time can leave the 32 bits of the serialised
    // form; its low 32 bits would read back as another time (2100 as 1963).
    if (static_cast<std::int32_t>(time_) != time_) {
        throw QuenException(StdString("TimeDate") + utilityStrings(messageSize));
    }
    stream.write(time_);
    return stream;
}

unsigned int TimeDate::objectSize() const {
    return 4;
}

const std::tm& TimeDate::localTime() const {
    const std::tm* fields = convert(time_);
    return fields != nullptr ? *fields : noFields();
}

int TimeDate::year() const {
    return localTime().tm_year + 1900;
}

int TimeDate::month() const {
    return localTime().tm_mon + 1;
}

int TimeDate::dayOfMonth() const {
    return localTime().tm_mday;
}

int TimeDate::dayOfWeek() const {
    return localTime().tm_wday;
}

int TimeDate::hour() const {
    return localTime().tm_hour;
}

int TimeDate::minute() const {
    return localTime().tm_min;
}

int TimeDate::second() const {
    return localTime().tm_sec;
}

StdString TimeDate::ascTime() const {
    const std::tm* fields = convert(time_);
    if (fields == nullptr) {
        return formatLikeAsctime(noFields());
    }
    const char* text = std::asctime(fields);
    return text != nullptr ? StdString(text) : formatLikeAsctime(*fields);
}

bool TimeDate::operator==(const TimeDate& other) const {
    return typeid(*this) == typeid(other) && time_ == other.time_;
}

bool TimeDate::operator<(const TimeDate& other) const {
    return typeid(*this) == typeid(other) && time_ < other.time_;
}

double TimeDate::operator-(const TimeDate& other) const {
    return std::difftime(static_cast<std::time_t>(time_), static_cast<std::time_t>(other.time_));
}

TimeDate fileTime(const char* name) {
    platform::FileStatus status;
    if (!platform::fileStatus(name, status)) {
        throw QuenException(notFound("fileTime"));
    }
    return TimeDate(static_cast<long>(status.creationTime));
}

TimeDate fileTime(const unsigned short* name) {
    platform::FileStatus status;
    if (!platform::fileStatus(name, status)) {
        throw QuenException(notFound("fileTime"));
    }
    return TimeDate(static_cast<long>(status.creationTime));
}

unsigned long long fileSize(const char* name) {
    platform::FileStatus status;
    if (!platform::fileStatus(name, status)) {
        throw QuenException(notFound("fileSize"));
    }
    return status.size;
}

unsigned long long fileSize(const unsigned short* name) {
    platform::FileStatus status;
    if (!platform::fileStatus(name, status)) {
        throw QuenException(notFound("fileSize"));
    }
    return status.size;
}

SYSTEMTIME systemTime(const TimeDate& time) {
    const std::tm& fields = time.localTime();
    SYSTEMTIME result;
    result.wYear = static_cast<WORD>(fields.tm_year + 1900);
    result.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    result.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    result.wDay = static_cast<WORD>(fields.tm_mday);
    result.wHour = static_cast<WORD>(fields.tm_hour);
    result.wMinute = static_cast<WORD>(fields.tm_min);
    result.wSecond = static_cast<WORD>(fields.tm_sec);
    result.wMilliseconds = 0;
    return result;
}

FILETIME fileTime(const TimeDate& time) {
    const SYSTEMTIME fields = systemTime(time);
    FILETIME result;
    if (!SystemTimeToFileTime(&fields, &result)) {
        throw QuenException(WindowsError(static_cast<long>(GetLastError())).message());
    }
    return result;
}

}  // namespace quen
