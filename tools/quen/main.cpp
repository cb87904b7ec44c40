// quen: the library's command-line tool.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <new>
#include <sstream>

#include "Command.h"
#include "quen/Version.h"

namespace tool {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"version", "", "print the banner of every class", "", runVersion},
        {"messages", "", "print the library's message table, id and text", "", runMessages},
        {"error", "CODE", "print the system's text for a Win32 error code", "", runError},
        {"copy", "SOURCE TARGET [--buffer BYTES]", "append SOURCE to TARGET (copyFile)", "--buffer=", runCopy},
        {"shift", "FILE FROM TO LENGTH [--buffer BYTES]", "move a block of FILE down (shiftBlock)", "--buffer=",
         runShift},
        {"stat", "FILE", "print a file's size, creation time and read-only state", "", runStat},
        {"time", "[SECONDS]", "print a time's calendar fields, ascTime and FILETIME count", "", runTime},
        {"name", "PATH...", "print the parts of each file name", "", runName},
        {"next", "PATH", "print the next name of a numbered series", "", runNext},
        {"match", "PATTERN NAME...", "tell for each name whether the wildcard pattern matches", "", runMatch},
        {"drives", "", "list the drives, after reading each one's medium", "", runDrives},
        {"volume", "NAME...", "turn drive file names into volume file names (||LABEL||\\path)", "", runVolume},
        {"locate", "NAME...", "turn volume file names back into drive file names", "", runLocate},
        {"parse", "FILE", "print the tree of a sectioned text file, one node a line", "", runParse},
        {"reg", "ACTION PATH NAME [VALUE] [--int|--bool|--string]",
         "get, set, delete or has a registry value (set: a string unless --int or --bool)", "--int --bool --string",
         runReg},
        {"event", "set|reset NAME | wait NAME [MILLISECONDS]",
         "signal, clear or wait for a named event (wait: -1 or none for no limit, exit 1 on time-out)", "",
         runEvent},
        {"progress", "[CYCLE [STEPS [CANCEL-AT]]]", "drive a waiting indicator over a progress bar and show it", "",
         runProgress},
    };
    return all;
}

namespace {

std::string escaped(const std::string& text, bool backslash) {
    std::string shown;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\n': shown += "\\n"; break;
        case '\r': shown += "\\r"; break;
        case '\t': shown += "\\t"; break;
        case '\\': shown += backslash ? "\\\\" : "\\"; break;
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

}  // namespace

std::string visible(const std::string& text) {
    return escaped(text, true);
}

std::string visibleName(const std::string& name) {
    return escaped(name, false);
}

std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
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

void printEntry(std::ostream& out, const std::string& entry, const char* summary) {
    out << "  " << std::left << std::setw(40) << entry;
    if (entry.size() >= 40) {
        out << "\n" << std::string(42, ' ');  // the summary on a line of its own
    }
    out << summary << "\n";
}

void printHelp(std::ostream& out) {
    out << "usage: quen COMMAND [ARGUMENTS]\n       quen COMMAND --help\n       quen --version\n\ncommands:\n";
    for (const Command& command : commands()) {
        printEntry(out, std::string(command.name) + " " + command.synopsis, command.summary);
    }
    out << "\noptions:\n";
    printEntry(out, "--help", "print this list; after a command, its usage");
    printEntry(out, "--version", "print the tool's version");
    printEntry(out, "--", "end the options: each word after it is an operand");
    out << "\nexit codes: 0 done (or yes), 1 failed (or no), 2 wrong command line\n";
}

void printUsage(const Command& command, std::ostream& out) {
    out << "usage: quen " << command.name << (*command.synopsis != '\0' ? " " : "") << command.synopsis << "\n"
        << command.summary << "\n";
}

const Command* findCommand(const std::string& name) {
    for (const Command& command : commands()) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

// True when the command takes the option; valued tells whether it takes a value.
bool takesOption(const Command& command, const std::string& name, bool& valued) {
    std::istringstream declared(command.options);
    std::string option;
    while (declared >> option) {
        valued = option.back() == '=';
        if (valued) {
            option.pop_back();
        }
        if (option == name) {
            return true;
        }
    }
    return false;
}

// Splits a command's words into operands and options; true when --help asks
// for its usage. Before "--", a word of the form --NAME or --NAME=VALUE is an
// option; a single dash starts an operand (negative numbers, "-").
bool splitWords(const Command& command, const Arguments& words, Arguments& operands, Options& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help") {
            return true;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        bool valued = false;
        if (!takesOption(command, name, valued)) {
            throw UsageError("unknown option '" + visibleName(name) + "'");
        }
        if (!valued && equals != std::string::npos) {
            throw UsageError(name + " takes no value");
        }
        if (valued && equals == std::string::npos && i + 1 == words.size()) {
            throw UsageError(name + " needs a value");
        }
        options[name] = !valued ? "" : equals != std::string::npos ? word.substr(equals + 1) : words[++i];
    }
    return false;
}

void report(const std::string& prefix, const std::string& text) {
    std::cout.flush();
    std::cerr << prefix << ": " << withoutLineEnd(text) << "\n";
}

int runCommand(const Command& command, const Arguments& words) {
    const std::string prefix = std::string("quen ") + command.name;
    try {
        Arguments operands;
        Options options;
        if (splitWords(command, words, operands, options)) {
            printUsage(command, std::cout);
            return exitOk;
        }
        return command.run(operands, options, std::cout);
    } catch (const UsageError& error) {
        report(prefix, std::string(error.what()) + " (usage: quen " + command.name + " " + command.synopsis + ")");
        return exitUsage;
    } catch (const Failure& error) {
        report(prefix + ": " + visibleName(error.operand()), error.what());
    } catch (const std::bad_alloc&) {
        report(prefix, "out of memory");
    } catch (const std::exception& error) {
        // QuenException among them: the library's own text.
        report(prefix, error.what());
    } catch (...) {
        report(prefix, "unexpected failure");
    }
    return exitFailure;
}

// What reached standard output must have been written: a full disk or a
// closed pipe is a failure, not a silent loss of the output.
int finish(const char* prefix, int result) {
    errno = 0;
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout) && std::cout.good()) {
        return result;
    }
    std::cerr << prefix << ": cannot write the output" << (error != 0 ? ": " : "")
              << (error != 0 ? std::strerror(error) : "") << "\n";
    return exitFailure;
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
        // "quen help COMMAND" is "quen COMMAND --help".
        const Command* command = argc == 3 ? findCommand(argv[2]) : nullptr;
        if (argc > 3 || (argc == 3 && command == nullptr)) {
            std::cerr << "quen: no command '" << (argc > 2 ? argv[2] : "") << "' to explain (quen --help lists them)\n";
            return exitUsage;
        }
        command != nullptr ? printUsage(*command, std::cout) : printHelp(std::cout);
        return finish("quen", exitOk);
    }
    if (name == "--version") {
        std::cout << "quen " << QUEN_VERSION_STRING << "\n";
        return finish("quen", exitOk);
    }
    const Command* command = findCommand(name);
    if (command == nullptr) {
        std::cerr << "quen: unknown command '" << visibleName(name) << "' (quen --help lists them)\n";
        return exitUsage;
    }
    const std::string prefix = std::string("quen ") + command->name;
    return finish(prefix.c_str(), runCommand(*command, Arguments(argv + 2, argv + argc)));
}
