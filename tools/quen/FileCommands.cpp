// quen copy, quen shift, quen stat, quen time.
#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

const unsigned int defaultBuffer = 64 * 1024;

void expectOperands(const Arguments& operands, std::size_t count) {
    if (operands.size() != count) {
        throw UsageError("wrong number of arguments");
    }
}

// The value of --buffer, checked before any file is opened.
unsigned int bufferSize(const Options& options) {
    const auto option = options.find("--buffer");
    if (option == options.end()) {
        return defaultBuffer;
    }
    const long long bytes = parseNumber(option->second, "--buffer");
    if (bytes < 1 || bytes > static_cast<long long>(UINT_MAX)) {
        throw UsageError("--buffer must be 1 to 4294967295 bytes");
    }
    return static_cast<unsigned int>(bytes);
}

// Whether the file exists (its status can be read). fileSize names a missing
// file in the library's own words, so callers that need the file use it.
bool exists(const std::string& name) {
    try {
        quen::fileSize(name.c_str());
        return true;
    } catch (const quen::QuenException&) {
        return false;
    }
}

unsigned long long count(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

int runCopy(const Arguments& operands, const Options& options, std::ostream& out) {
    expectOperands(operands, 2);
    const unsigned int buffer = bufferSize(options);
    const std::string& source = operands[0];
    const std::string& target = operands[1];
    // A missing source fails before the target is made.
    onOperand(source, [&] { return quen::fileSize(source.c_str()); });
    // The target may be made, but a failed copy must not leave a file that
    // was not there: remove the one this command made.
    const bool made = !exists(target);
    try {
        const auto stream =
            onOperand(target, [&] { return std::make_unique<quen::BinFStream>(target.c_str(), 0); });
        const unsigned int copied = onOperand(source, [&] {
            stream->seekp(0, std::ios_base::end);
            return stream->copyFile(source.c_str(), buffer);
        });
        out << "appended " << copied << " bytes of " << visibleName(source) << " to " << visibleName(target) << "\n";
    } catch (...) {
        if (made) {
            std::remove(target.c_str());
        }
        throw;
    }
    return exitOk;
}

int runShift(const Arguments& operands, const Options& options, std::ostream& out) {
    expectOperands(operands, 4);
    const unsigned int buffer = bufferSize(options);
    const std::string& file = operands[0];
    const long long from = parseNumber(operands[1], "FROM");
    const long long to = parseNumber(operands[2], "TO");
    const long long length = parseNumber(operands[3], "LENGTH");
    // BinFStream makes a missing file: shift only works on one that exists.
    onOperand(file, [&] { return quen::fileSize(file.c_str()); });
    onOperand(file, [&] {
        quen::BinFStream stream(file.c_str(), 0);
        stream.shiftBlock(from, to, length, buffer);
    });
    out << "moved " << length << " bytes from " << from << " to " << to << " in " << visibleName(file) << "\n";
    return exitOk;
}

int runStat(const Arguments& operands, const Options&, std::ostream& out) {
    expectOperands(operands, 1);
    const char* name = operands[0].c_str();
    const unsigned long long size = onOperand(operands[0], [&] { return quen::fileSize(name); });
    const quen::TimeDate created = onOperand(operands[0], [&] { return quen::fileTime(name); });
    const bool readOnly = onOperand(operands[0], [&] { return quen::FileOpen(name, quen::BinStream::in).readOnly(); });
    out << "size: " << size << "\n";
    out << "created: " << created.ascTime().c_str();  // ascTime ends with its line break
    out << "read-only: " << (readOnly ? "yes" : "no") << "\n";
    return exitOk;
}

int runTime(const Arguments& arguments, const Options&, std::ostream& out) {
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
    // Converted first: a time the system cannot convert fails before any line.
    const unsigned long long filetime =
        onOperand(arguments.empty() ? "now" : arguments[0], [&] { return count(quen::fileTime(time)); });
    out << "seconds: " << time.time() << "\n";
    out << "year: " << time.year() << "\n";
    out << "month: " << time.month() << "\n";
    out << "day: " << time.dayOfMonth() << "\n";
    out << "weekday: " << time.dayOfWeek() << "\n";
    out << "hour: " << time.hour() << "\n";
    out << "minute: " << time.minute() << "\n";
    out << "second: " << time.second() << "\n";
    out << "ascTime: " << time.ascTime().c_str();
    out << "filetime: " << filetime << "\n";
    return exitOk;
}

}  // namespace tool
