// The subcommands of the quen tool.
#ifndef QUEN_TOOL_COMMAND_H
#define QUEN_TOOL_COMMAND_H

#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"

namespace tool {

// A command's operands, in order, without its options.
typedef std::vector<std::string> Arguments;

// A command's options: name ("--buffer") to value ("" for a flag).
typedef std::map<std::string, std::string> Options;

// Exit codes: 0 done (or "yes"), 1 the operation failed (or "no"),
// 2 the command line was wrong.
enum ExitCode { exitOk = 0, exitFailure = 1, exitUsage = 2 };

// Thrown for a wrong command line; main prints it as one line and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown when an operation on one operand fails; main prints
// "quen COMMAND: OPERAND: TEXT" and exits 1.
class Failure : public std::runtime_error {
public:
    Failure(const std::string& operand, const std::string& text) : std::runtime_error(text), operand_(operand) {}
    const std::string& operand() const { return operand_; }

private:
    std::string operand_;
};

struct Command {
    const char* name;
    const char* synopsis;  // the arguments, for --help
    const char* summary;
    // The options it takes, separated by blanks; one that takes a value ends
    // with '=' ("--buffer="). main refuses any other word that starts with --.
    const char* options;
    int (*run)(const Arguments& operands, const Options& options, std::ostream& out);
};

// Every command, in the order --help lists them.
const std::vector<Command>& commands();

// Shows control characters visibly: line feed as \n, CR as \r, tab as \t,
// other bytes below 0x20 (and 0x7F) as \xHH, and a backslash as \\ (so
// that the text can be read back). visibleName leaves backslashes single:
// in file names they separate directories, and doubling them would make
// every Windows name unreadable.
std::string visible(const std::string& text);
std::string visibleName(const std::string& name);

// The text without the line break at its end: the system ends its texts with
// CR LF, and the tool prints them with one line break of its own.
std::string withoutLineEnd(std::string text);

// Parses a whole decimal or 0x-hexadecimal number, or throws UsageError.
long long parseNumber(const std::string& text, const char* what);

// Runs an operation on one operand: a QuenException it throws leaves as a
// Failure that names the operand.
template <typename Operation>
auto onOperand(const std::string& operand, Operation operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const quen::QuenException& error) {
        throw Failure(operand, error.what());
    }
}

// The commands of each family (one source file each).
int runVersion(const Arguments& operands, const Options& options, std::ostream& out);
int runMessages(const Arguments& operands, const Options& options, std::ostream& out);
int runError(const Arguments& operands, const Options& options, std::ostream& out);
int runCopy(const Arguments& operands, const Options& options, std::ostream& out);
int runShift(const Arguments& operands, const Options& options, std::ostream& out);
int runStat(const Arguments& operands, const Options& options, std::ostream& out);
int runTime(const Arguments& operands, const Options& options, std::ostream& out);
int runName(const Arguments& operands, const Options& options, std::ostream& out);
int runNext(const Arguments& operands, const Options& options, std::ostream& out);
int runMatch(const Arguments& operands, const Options& options, std::ostream& out);
int runDrives(const Arguments& operands, const Options& options, std::ostream& out);
int runVolume(const Arguments& operands, const Options& options, std::ostream& out);
int runLocate(const Arguments& operands, const Options& options, std::ostream& out);
int runParse(const Arguments& operands, const Options& options, std::ostream& out);
int runReg(const Arguments& operands, const Options& options, std::ostream& out);
int runEvent(const Arguments& operands, const Options& options, std::ostream& out);
int runProgress(const Arguments& operands, const Options& options, std::ostream& out);

}  // namespace tool

#endif
