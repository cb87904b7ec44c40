// quen name, quen next, quen match: file names and wildcard patterns.
#include "Command.h"
#include "quen/strings/FileString.h"
#include "quen/strings/WildString.h"

namespace tool {
namespace {

// A part in single quotes, so that an empty one shows as '', with its
// control characters shown visibly, so that each stays on its own line.
std::string quoted(const quen::StdString& part) {
    return "'" + visibleName(part.c_str()) + "'";
}

}  // namespace

int runName(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.empty()) {
        throw UsageError("no file name given");
    }
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) {
            out << "\n";
        }
        first = false;
        const quen::FileString name(argument.c_str());
        const char drive = name.drive();
        out << "name               " << quoted(name) << "\n"
            << "volumeName         " << quoted(name.volumeName()) << "\n"
            << "driveName          " << quoted(name.driveName()) << "\n"
            << "drive              " << (drive == '\0' ? std::string("0") : quoted(quen::StdString(drive))) << "\n"
            << "pathName           " << quoted(name.pathName()) << "\n"
            << "driveAndDirectory  " << quoted(name.driveAndDirectory()) << "\n"
            << "directoryName      " << quoted(name.directoryName()) << "\n"
            << "fileName           " << quoted(name.fileName()) << "\n"
            << "extension          " << quoted(name.extension()) << "\n"
            << "baseName           " << quoted(name.baseName()) << "\n";
    }
    return exitOk;
}

int runNext(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.size() != 1) {
        throw UsageError("wrong number of arguments");
    }
    quen::FileString name(arguments[0].c_str());
    onOperand(arguments[0], [&] { name.increment(); });
    out << visibleName(name.c_str()) << "\n";
    return exitOk;
}

int runMatch(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.size() < 2) {
        throw UsageError("a pattern and at least one name are needed");
    }
    const quen::WildString pattern(arguments[0].c_str());
    bool all = true;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const bool matched = pattern.match(arguments[i].c_str(), 0, 0);
        all = all && matched;
        out << visibleName(arguments[i]) << "\t" << (matched ? "yes" : "no") << "\n";
    }
    return all ? exitOk : exitFailure;
}

}  // namespace tool
