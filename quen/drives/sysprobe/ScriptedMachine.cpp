// The scripted machine: drive records read from a text file, so that tests,
// demonstrations and users can try the drive classes and the volume names on
// any machine, with media changed by rewriting the file.
//
// One record a line, in listing order:
//
//     LETTER FAMILY MEDIUM [CAPACITY] [ro|rw]
//
//   LETTER    the drive letter, A to Z (a ':' after it is allowed)
//   FAMILY    the family value in hexadecimal, with or without 0x (0x0200)
//   MEDIUM    '-' for no medium, "" for a medium with an empty label, or the
//             label itself (without blanks)
//   CAPACITY  the medium's capacity in bytes, at most 2^63 - 1; 0 when left out
//   ro, rw    whether the medium is read-only; rw when left out
//
// '#' starts a comment; blank lines are ignored. The file is read when an
// array is made, and again each time a drive is asked for its medium: each
// drive answers from the record at its own position in the listing, so
// rewriting the file changes the media. Lines that are not records are
// skipped, with a message on standard error when the array is made; they do
// not count as positions.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "quen/drives/sysprobe/Machines.h"

namespace sysProbe {
namespace {

struct Record {
    char letter = 0;
    int family = 0;
    bool hasMedium = false;
    Medium medium;
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

// The records of the file, in its order. With report, every line that is
// not a record, and a file that cannot be read, is named on standard error.
std::vector<Record> readScript(const std::string& file, bool report) {
    std::vector<Record> records;
    std::ifstream in(file.c_str(), std::ios::in | std::ios::binary);
    if (!in) {
        if (report) {
            std::fprintf(stderr, "sysProbe: cannot read drive records from %s\n", file.c_str());
        }
        return records;
    }
    std::string line;
    for (unsigned lineNumber = 1; std::getline(in, line); ++lineNumber) {
        Record record;
        bool empty = false;
        if (parseLine(line, record, empty)) {
            records.push_back(record);
        } else if (!empty && report) {
            if (!line.empty() && line[line.size() - 1] == '\r') {
                line.erase(line.size() - 1);
            }
            std::fprintf(stderr, "sysProbe: %s:%u: not a drive record, skipped: %s\n", file.c_str(), lineNumber,
                         line.c_str());
        }
    }
    return records;
}

class ScriptedDrive : public Drive {
public:
    ScriptedDrive(const Record& record, const std::string& file, std::size_t position)
        : Drive(static_cast<EDriveFamily>(record.family), record.letter - 'A'), file_(file), position_(position) {}

protected:
    bool readMedium(Medium& medium) override {
        const std::vector<Record> records = readScript(file_, false);
        if (position_ >= records.size() || !records[position_].hasMedium) {
            return false;
        }
        medium = records[position_].medium;
        return true;
    }

private:
    std::string file_;
    std::size_t position_;
};

}  // namespace

void listScriptedMachine(const std::string& file, DriveList& drives) {
    const std::vector<Record> records = readScript(file, true);
    for (std::size_t position = 0; position < records.size(); ++position) {
        drives.emplace_back(new ScriptedDrive(records[position], file, position));
    }
}

}  // namespace sysProbe
