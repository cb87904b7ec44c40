// quen copy, quen shift, quen stat, quen time.
#include <climits>
#include <string>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

const unsigned int defaultBuffer = 64 * 1024;

// The positional arguments, with the value of --buffer taken out.
struct Parsed {
    Arguments positional;
    unsigned int buffer = defaultBuffer;
};

Parsed parse(const Arguments& arguments, std::size_t count) {
    Parsed parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--buffer") {
            if (i + 1 == arguments.size()) {
                throw UsageError("--buffer needs a number of bytes");
            }
            const long long bytes = parseNumber(arguments[++i], "--buffer");
            // 0 is passed on: the library refuses it with its own message.
            if (bytes < 0 || bytes > static_cast<long long>(UINT_MAX)) {
                throw UsageError("--buffer must be 0 to 4294967295 bytes");
            }
            parsed.buffer = static_cast<unsigned int>(bytes);
        } else {
            parsed.positional.push_back(arguments[i]);
        }
    }
    if (parsed.positional.size() != count) {
        throw UsageError("wrong number of arguments");
    }
    return parsed;
}

unsigned long long count(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

int runCopy(const Arguments& arguments, std::ostream& out) {
    const Parsed parsed = parse(arguments, 2);
    const std::string& source = parsed.positional[0];
    const std::string& target = parsed.positional[1];
    // A missing source fails before the target is made.
    quen::fileSize(source.c_str());
    quen::BinFStream stream(target.c_str(), 0);
    stream.seekp(0, std::ios_base::end);
    const unsigned int copied = stream.copyFile(source.c_str(), parsed.buffer);
    out << "appended " << copied << " bytes of " << source << " to " << target << "\n";
    return exitOk;
}

int runShift(const Arguments& arguments, std::ostream& out) {
    const Parsed parsed = parse(arguments, 4);
    const std::string& file = parsed.positional[0];
    const long long from = parseNumber(parsed.positional[1], "FROM");
    const long long to = parseNumber(parsed.positional[2], "TO");
    const long long length = parseNumber(parsed.positional[3], "LENGTH");
    quen::BinFStream stream(file.c_str(), 0);
    stream.shiftBlock(from, to, length, parsed.buffer);
    out << "moved " << length << " bytes from " << from << " to " << to << " in " << file << "\n";
    return exitOk;
}

int runStat(const Arguments& arguments, std::ostream& out) {
    const Parsed parsed = parse(arguments, 1);
    const char* name = parsed.positional[0].c_str();
    const unsigned long long size = quen::fileSize(name);
    const quen::TimeDate created = quen::fileTime(name);
    const quen::FileOpen check(name, quen::BinStream::in);
    out << "size: " << size << "\n";
    out << "created: " << created.ascTime().c_str();  // ascTime ends with its line break
    out << "read-only: " << (check.readOnly() ? "yes" : "no") << "\n";
    return exitOk;
}

int runTime(const Arguments& arguments, std::ostream& out) {
    if (arguments.size() > 1) {
        throw UsageError("wrong number of arguments");
    }
    long long seconds = 0;
    if (!arguments.empty()) {
        seconds = parseNumber(arguments[0], "SECONDS");
        if (seconds < LONG_MIN || seconds > LONG_MAX) {
            throw UsageError("SECONDS out of range");
        }
    }
    const quen::TimeDate time = arguments.empty() ? quen::TimeDate() : quen::TimeDate(static_cast<long>(seconds));
    out << "seconds: " << time.time() << "\n";
    out << "year: " << time.year() << "\n";
    out << "month: " << time.month() << "\n";
    out << "day: " << time.dayOfMonth() << "\n";
    out << "weekday: " << time.dayOfWeek() << "\n";
    out << "hour: " << time.hour() << "\n";
    out << "minute: " << time.minute() << "\n";
    out << "second: " << time.second() << "\n";
    out << "ascTime: " << time.ascTime().c_str();
    out << "filetime: " << count(quen::fileTime(time)) << "\n";
    return exitOk;
}

}  // namespace tool
