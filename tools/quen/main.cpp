// quen: the library's command-line tool.
#include <cerrno>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "Command.h"
#include "quen/errors/QuenException.h"

namespace tool {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"version", "", "print the banner of every class", runVersion},
        {"messages", "", "print the library's message table, id and text", runMessages},
        {"error", "CODE", "print the system's text for a Win32 error code", runError},
        {"copy", "SOURCE TARGET [--buffer BYTES]", "append SOURCE to TARGET (copyFile)", runCopy},
        {"shift", "FILE FROM TO LENGTH [--buffer BYTES]", "move a block of FILE down (shiftBlock)", runShift},
        {"stat", "FILE", "print a file's size, creation time and read-only state", runStat},
        {"time", "[SECONDS]", "print a time's calendar fields, ascTime and FILETIME count", runTime},
        {"name", "PATH...", "print the parts of each file name", runName},
        {"next", "PATH", "print the next name of a numbered series", runNext},
        {"match", "PATTERN NAME...", "tell for each name whether the wildcard pattern matches", runMatch},
        {"drives", "", "list the drives, after reading each one's medium", runDrives},
        {"volume", "NAME...", "turn drive file names into volume file names (||LABEL||\\path)", runVolume},
        {"locate", "NAME...", "turn volume file names back into drive file names", runLocate},
        {"parse", "FILE", "print the tree of a sectioned text file, one node a line", runParse},
        {"reg", "ACTION PATH NAME [VALUE]", "get, set, delete or has a registry value (set: --int|--bool|--string)",
         runReg},
        {"event", "set|reset NAME | wait NAME [MILLISECONDS]",
         "signal, clear or wait for a named event (wait: exit 1 on time-out)", runEvent},
        {"progress", "[CYCLE [STEPS [CANCEL-AT]]]", "drive a waiting indicator over a progress bar and show it",
         runProgress},
    };
    return all;
}

std::string visible(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\n': shown += "\\n"; break;
        case '\r': shown += "\\r"; break;
        case '\t': shown += "\\t"; break;
        case '\\': shown += "\\\\"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                std::ostringstream hex;
                hex << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(byte);
                shown += hex.str();
            } else {
                shown += c;
            }
        }
    }
    return shown;
}

long long parseNumber(const std::string& text, const char* what) {
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || errno == ERANGE) {
        throw UsageError(std::string("not a number for ") + what + ": '" + text + "'");
    }
    return value;
}

namespace {

void printHelp(std::ostream& out) {
    out << "usage: quen COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& command : commands()) {
        const std::string line = std::string(command.name) + " " + command.synopsis;
        out << "  " << std::left << std::setw(40) << line;
        if (line.size() >= 40) {
            out << "\n" << std::string(42, ' ');  // the summary on a line of its own
        }
        out << command.summary << "\n";
    }
    out << "  " << std::left << std::setw(40) << "--help" << "print this list\n";
}

}  // namespace
}  // namespace tool

int main(int argc, char** argv) {
    using namespace tool;
    if (argc < 2) {
        std::cerr << "quen: no command given (quen --help lists them)\n";
        return exitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(std::cout);
        return exitOk;
    }
    for (const Command& command : commands()) {
        if (name == command.name) {
            try {
                return command.run(Arguments(argv + 2, argv + argc), std::cout);
            } catch (const UsageError& error) {
                std::cerr << "quen " << name << ": " << error.what() << " (usage: quen " << name << " "
                          << command.synopsis << ")\n";
                return exitUsage;
            } catch (const quen::QuenException& error) {
                std::cout.flush();
                std::cerr << error.what() << "\n";
                return exitFailure;
            }
        }
    }
    std::cerr << "quen: unknown command '" << name << "' (quen --help lists them)\n";
    return exitUsage;
}
