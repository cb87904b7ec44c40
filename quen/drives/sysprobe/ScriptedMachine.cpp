// The scripted machine: drive records read from a text file, so that tests,
// demonstrations and users can try the drive classes and the volume names on
// any machine, with media changed by rewriting the file.
//
// One record a line, in listing order:
//
//     LETTER FAMILY MEDIUM [CAPACITY] [ro|rw] [root=FOLDER]
//
//   LETTER    the drive letter, A to Z (a ':' after it is allowed)
//   FAMILY    the family value in hexadecimal, with or without 0x (0x0200)
//   MEDIUM    '-' for no medium, "" for a medium with an empty label, or the
//             label itself (without blanks)
//   CAPACITY  the medium's capacity in bytes, at most 2^63 - 1; 0 when left out
//   ro, rw    whether the medium is read-only; rw when left out
//   root=     the folder that stands for the medium's root: a drive-form
//             name on the drive ('E:\data\set.dat') leads to the file under
//             it while the record has a medium. The folder runs to the end of
//             the line (blanks included); a relative one is taken from the
//             machine file's folder.
//
// '#' starts a comment; blank lines are ignored. The file is read when an
// array is made, and again each time a drive is asked for its medium: each
// drive answers from the first record of its own letter, so rewriting the
// file changes the media, and a letter whose record has gone (or is no
// longer a record) has no medium. Lines that are not records are skipped
// with a message on standard error: all of them when an array is made, and
// when a drive reads the file, those its array has not named yet.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <system_error>

#include "quen/drives/sysprobe/Machines.h"

namespace sysProbe {
namespace {

struct Record {
    char letter = 0;
    int family = 0;
    bool hasMedium = false;
    Medium medium;
    std::string root;  // absolute, or empty when the record names none
};

// What a reading of the file found.
struct Script {
    std::vector<Record> records;
    // The lines that are not records, as their messages.
    std::vector<std::string> skipped;
};

bool parseFamily(const std::string& text, int& family) {
    std::size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        start = 2;
    }
    if (start == text.size() || text.size() - start > 4) {
        return false;
    }
    int value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c)) {
            return false;
        }
        value = value * 16 + (std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    family = value;
    return true;
}

// A byte count that the drive classes can pass on as a signed 64-bit number.
bool parseCapacity(const std::string& text, std::uint64_t& capacity) {
    const std::uint64_t largest = 0x7FFFFFFFFFFFFFFFull;
    if (text.empty()) {
        return false;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (largest - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    capacity = value;
    return true;
}

// Returns false for a line that is not a record; an empty line (after the
// comment is cut) sets empty.
bool parseLine(std::string line, Record& record, bool& empty) {
    const std::size_t comment = line.find('#');
    if (comment != std::string::npos) {
        line.erase(comment);
    }
    record.root.clear();
    const std::size_t root = line.find("root=");
    if (root != std::string::npos) {
        if (root == 0 || !std::isspace(static_cast<unsigned char>(line[root - 1]))) {
            empty = false;
            return false;
        }
        record.root = line.substr(root + 5);
        line.erase(root);
        while (!record.root.empty() && std::isspace(static_cast<unsigned char>(record.root.back()))) {
            record.root.pop_back();
        }
        if (record.root.empty()) {
            empty = false;
            return false;
        }
    }
    std::istringstream words(line);
    std::vector<std::string> tokens;
    std::string token;
    while (words >> token) {
        tokens.push_back(token);
    }
    empty = tokens.empty();
    if (tokens.size() < 3 || tokens.size() > 5) {
        return false;
    }
    const std::string& letter = tokens[0];
    const unsigned char first = static_cast<unsigned char>(letter[0]);
    if (!((letter.size() == 1 || (letter.size() == 2 && letter[1] == ':')) && first < 0x80 && std::isalpha(first))) {
        return false;
    }
    record.letter = static_cast<char>(std::toupper(first));
    if (!parseFamily(tokens[1], record.family)) {
        return false;
    }
    const std::string& medium = tokens[2];
    record.hasMedium = medium != "-";
    record.medium = Medium();
    if (record.hasMedium && medium != "\"\"") {
        record.medium.label = medium;
    }
    std::size_t next = 3;
    if (next < tokens.size() && tokens[next] != "ro" && tokens[next] != "rw") {
        if (!parseCapacity(tokens[next], record.medium.capacity)) {
            return false;
        }
        ++next;
    }
    if (next < tokens.size()) {
        if (tokens[next] != "ro" && tokens[next] != "rw") {
            return false;
        }
        record.medium.readOnly = tokens[next] == "ro";
        ++next;
    }
    return next == tokens.size();
}

// The records of the file, in its order, with their roots made absolute.
Script readScript(const std::string& file) {
    Script script;
    std::ifstream in(file.c_str(), std::ios::in | std::ios::binary);
    if (!in) {
        script.skipped.push_back("sysProbe: cannot read drive records from " + file + "\n");
        return script;
    }
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::string line;
    for (unsigned lineNumber = 1; std::getline(in, line); ++lineNumber) {
        Record record;
        bool empty = false;
        if (!line.empty() && line[line.size() - 1] == '\r') {
            line.erase(line.size() - 1);
        }
        if (parseLine(line, record, empty)) {
            if (!record.root.empty()) {
                std::error_code error;
                const std::filesystem::path root = std::filesystem::absolute(folder / record.root, error);
                record.root = (error ? folder / record.root : root).lexically_normal().string();
            }
            script.records.push_back(record);
        } else if (!empty) {
            script.skipped.push_back("sysProbe: " + file + ":" + std::to_string(lineNumber) +
                                     ": not a drive record, skipped: " + line + "\n");
        }
    }
    return script;
}

// The messages of an array's drives: each skipped line is named once.
class Reporter {
public:
    // The messages already named when the array was made.
    explicit Reporter(const std::vector<std::string>& named) : named_(named.begin(), named.end()) {}

    void report(const std::vector<std::string>& messages) {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (const std::string& message : messages) {
            if (named_.insert(message).second) {
                std::fputs(message.c_str(), stderr);
            }
        }
    }

private:
    std::mutex mutex_;
    std::set<std::string> named_;
};

const Record* recordOf(const Script& script, int driveNumber) {
    for (const Record& record : script.records) {
        if (record.letter - 'A' == driveNumber) {
            return &record;
        }
    }
    return nullptr;
}

class ScriptedDrive : public Drive {
public:
    ScriptedDrive(const Record& record, const std::string& file, const std::shared_ptr<Reporter>& reporter)
        : Drive(static_cast<EDriveFamily>(record.family), record.letter - 'A'), file_(file), reporter_(reporter) {}

protected:
    bool readMedium(Medium& medium) override {
        const Script script = readScript(file_);
        reporter_->report(script.skipped);
        const Record* const record = recordOf(script, getDrvNum());
        if (record == nullptr || !record->hasMedium) {
            return false;
        }
        medium = record->medium;
        return true;
    }

private:
    std::string file_;
    std::shared_ptr<Reporter> reporter_;
};

}  // namespace

void listScriptedMachine(const std::string& file, DriveList& drives) {
    const Script script = readScript(file);
    for (const std::string& message : script.skipped) {
        std::fputs(message.c_str(), stderr);
    }
    const std::shared_ptr<Reporter> reporter(new Reporter(script.skipped));
    for (const Record& record : script.records) {
        drives.emplace_back(new ScriptedDrive(record, file, reporter));
    }
}

RootAnswer scriptedDriveRoot(const std::string& file, int driveNumber, std::string& folder) {
    const Script script = readScript(file);
    const Record* const record = recordOf(script, driveNumber);
    if (record == nullptr || record->root.empty()) {
        return rootNotKnown;
    }
    if (!record->hasMedium) {
        return rootNoMedium;
    }
    folder = record->root;
    return rootFolder;
}

bool scriptedDriveOfPath(const std::string& file, const std::string& path, int& driveNumber, std::string& rest) {
    const Script script = readScript(file);
    std::size_t longest = 0;
    bool found = false;
    for (const Record& record : script.records) {
        std::string behind;
        // Windows compares names ignoring case; Linux does not. Telling them
        // apart by the root's form keeps this file free of the platforms.
        const bool windowsRoot = record.root.size() >= 2 && record.root[1] == ':';
        if (record.hasMedium && !record.root.empty() && record.root.size() >= longest &&
            folderHolds(record.root, path, windowsRoot, behind) && (!found || record.root.size() > longest)) {
            found = true;
            longest = record.root.size();
            driveNumber = record.letter - 'A';
            rest = behind;
        }
    }
    return found;
}

}  // namespace sysProbe
