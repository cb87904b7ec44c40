// The subcommands of the quen tool.
#ifndef QUEN_TOOL_COMMAND_H
#define QUEN_TOOL_COMMAND_H

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool {

typedef std::vector<std::string> Arguments;

// Exit codes: 0 done (or "yes"), 1 the operation failed (or "no"),
// 2 the command line was wrong.
enum ExitCode { exitOk = 0, exitFailure = 1, exitUsage = 2 };

// Thrown for a wrong command line; main prints it as one line and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Command {
    const char* name;
    const char* synopsis;  // the arguments, for --help
    const char* summary;
    int (*run)(const Arguments& arguments, std::ostream& out);
};

// Every command, in the order --help lists them.
const std::vector<Command>& commands();

// Shows control characters visibly: line feed as \n, CR as \r, tab as \t,
// backslash as \\, other bytes below 0x20 (and 0x7F) as \xHH.
std::string visible(const std::string& text);

// Parses a whole decimal or 0x-hexadecimal number, or throws UsageError.
long long parseNumber(const std::string& text, const char* what);

// The commands of each family (one source file each).
int runVersion(const Arguments& arguments, std::ostream& out);
int runMessages(const Arguments& arguments, std::ostream& out);
int runError(const Arguments& arguments, std::ostream& out);
int runCopy(const Arguments& arguments, std::ostream& out);
int runShift(const Arguments& arguments, std::ostream& out);
int runStat(const Arguments& arguments, std::ostream& out);
int runTime(const Arguments& arguments, std::ostream& out);
int runName(const Arguments& arguments, std::ostream& out);
int runNext(const Arguments& arguments, std::ostream& out);
int runMatch(const Arguments& arguments, std::ostream& out);
int runDrives(const Arguments& arguments, std::ostream& out);
int runVolume(const Arguments& arguments, std::ostream& out);
int runLocate(const Arguments& arguments, std::ostream& out);
int runParse(const Arguments& arguments, std::ostream& out);
int runReg(const Arguments& arguments, std::ostream& out);
int runEvent(const Arguments& arguments, std::ostream& out);
int runProgress(const Arguments& arguments, std::ostream& out);

}  // namespace tool

#endif
