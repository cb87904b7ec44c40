// The sectioned text parser against inih, on the same content: quen parses
// sections of quoted name=value lists into its tree, reads every field
// value's title and value and deletes the tree; inih parses the same field
// values written as plain "line.name = value" lines and reads every name and
// value its handler gets. Both work on text held in memory; the ratio is of
// time per byte, each on its own text, in processor time of the thread
// (user and system), which a busy machine disturbs far less than the clock.
//
// Two corpora of 20000 sections of 20 lines: long fields (paths, sizes and
// labels of a backup catalogue) and short ones shaped like the format's own
// example, two to four fields of a few characters a line, where the cost of
// the tree's nodes weighs most.
#include <ini.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserSection.h"

namespace {

const int sections = 20000;
const int linesPerSection = 20;

struct Field {
    std::string name;
    std::string value;
};

struct Texts {
    std::string sectioned;  // quen's format
    std::string plain;      // inih's
    std::size_t fieldValues = 0;
    std::size_t valueBytes = 0;

    // One line of field values, in both forms.
    void addLine(const std::string& key, const std::vector<Field>& fields) {
        sectioned += key + " = \"";
        for (std::size_t f = 0; f < fields.size(); ++f) {
            sectioned += (f > 0 ? ", " : "") + fields[f].name + "=" + fields[f].value;
            plain += key + "." + fields[f].name + " = " + fields[f].value + "\r\n";
            fieldValues += 1;
            valueBytes += fields[f].value.size();
        }
        sectioned += "\"\r\n";
    }

    void addHeader(const char* header) {
        sectioned += header;
        plain += header;
    }
};

// Backup sets: three field values a line, with long paths and labels.
Texts makeLongFields() {
    std::mt19937 random(7);
    Texts texts;
    texts.sectioned.reserve(56u << 20);
    texts.plain.reserve(64u << 20);
    char buffer[160];
    for (int s = 0; s < sections; ++s) {
        std::snprintf(buffer, sizeof buffer, "[BackupSet%05d]\r\n", s);
        texts.addHeader(buffer);
        for (int l = 0; l < linesPerSection; ++l) {
            const unsigned volume = random() % 10000;
            std::vector<Field> fields(3);
            std::snprintf(buffer, sizeof buffer, "C:\\Projects\\Customers\\Archive%04u\\set%05d\\volume%04u\\file%04d.dat",
                          static_cast<unsigned>(2000 + random() % 30), s, volume, l);
            fields[0] = {"Path", buffer};
            std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(random()));
            fields[1] = {"Size", buffer};
            std::snprintf(buffer, sizeof buffer, "BACKUP_VOLUME_%04u_OFFSITE", volume);
            fields[2] = {"Label", buffer};
            std::snprintf(buffer, sizeof buffer, "Entry%02d", l);
            texts.addLine(buffer, fields);
        }
    }
    return texts;
}

// Drive lists like the format's own example: Key3 = "Disk=A3, Size=1440,
// Label=VOL17", two to four fields of a few characters each.
Texts makeShortFields() {
    std::mt19937 random(11);
    Texts texts;
    texts.sectioned.reserve(20u << 20);
    texts.plain.reserve(24u << 20);
    const char* const names[] = {"Disk", "Size", "Label", "Id", "Type", "Mode"};
    const char* const sizes[] = {"360", "720", "1200", "1440", "2880"};
    char buffer[64];
    for (int s = 0; s < sections; ++s) {
        std::snprintf(buffer, sizeof buffer, "[Drives%d]\r\n", s);
        texts.addHeader(buffer);
        for (int l = 0; l < linesPerSection; ++l) {
            std::vector<Field> fields(2 + random() % 3);
            const unsigned first = random() % 6;
            for (std::size_t f = 0; f < fields.size(); ++f) {
                const unsigned kind = (first + f) % 6;
                switch (kind) {
                case 0: std::snprintf(buffer, sizeof buffer, "%c%u", 'A' + static_cast<int>(random() % 4), static_cast<unsigned>(random() % 10)); break;
                case 1: std::snprintf(buffer, sizeof buffer, "%s", sizes[random() % 5]); break;
                case 2: std::snprintf(buffer, sizeof buffer, "VOL%u", static_cast<unsigned>(random() % 100)); break;
                case 3: std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(random() % 1000)); break;
                case 4: std::snprintf(buffer, sizeof buffer, "%s", random() % 2 ? "FD" : "CD"); break;
                default: std::snprintf(buffer, sizeof buffer, "%s", random() % 2 ? "RW" : "RO"); break;
                }
                fields[f] = {names[kind], buffer};
            }
            std::snprintf(buffer, sizeof buffer, "Key%d", l);
            texts.addLine(buffer, fields);
        }
    }
    return texts;
}

struct Tally {
    std::size_t fieldValues = 0;
    std::size_t valueBytes = 0;
    std::size_t heap = 0;
};

// Bytes the program holds from malloc, in the heap and in mapped blocks.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Parses, reads every field value and deletes the tree; with measureHeap,
// records what the built tree holds on the heap.
Tally parseWithQuen(std::vector<char>& text, bool measureHeap) {
    Tally tally;
    const std::size_t heapBefore = measureHeap ? heapInUse() : 0;
    quen::ParserBuf root(text.data(), static_cast<unsigned long>(text.size() - 1),
                         new quen::ParserSection(nullptr, nullptr, nullptr));
    if (measureHeap) {
        tally.heap = heapInUse() - heapBefore;
    }
    for (quen::Parser* section : root) {
        for (quen::Parser* line : *section) {
            for (quen::Parser* field : *line) {
                const quen::StdString title = field->title();
                const quen::StdString value = field->value();
                tally.fieldValues += title.empty() ? 0 : 1;
                tally.valueBytes += value.size();
            }
        }
    }
    return tally;
}

int inihHandler(void* user, const char* section, const char* name, const char* value) {
    Tally& tally = *static_cast<Tally*>(user);
    const std::string title = name;
    const std::string read = value;
    tally.fieldValues += title.empty() || *section == '\0' ? 0 : 1;
    tally.valueBytes += read.size();
    return 1;
}

Tally parseWithInih(const std::string& text) {
    Tally tally;
    if (ini_parse_string(text.c_str(), inihHandler, &tally) != 0) {
        std::printf("inih reported an error\n");
    }
    return tally;
}

// Checks that both read the same field values, times both, and prints the
// ratio against its goal and the tree's heap per MB of text.
bool run(const char* what, const Texts& texts, double goal) {
    std::vector<char> buffer(texts.sectioned.begin(), texts.sectioned.end());
    buffer.push_back('\0');
    const double quenMB = static_cast<double>(texts.sectioned.size()) / 1e6;
    const double inihMB = static_cast<double>(texts.plain.size()) / 1e6;
    std::printf("%s: %d sections of %d lines, %zu field values: %.1f MB sectioned, %.1f MB as key = value lines\n",
                what, sections, linesPerSection, texts.fieldValues, quenMB, inihMB);

    const Tally quenTally = parseWithQuen(buffer, true);
    const Tally inihTally = parseWithInih(texts.plain);
    if (quenTally.fieldValues != texts.fieldValues || inihTally.fieldValues != texts.fieldValues ||
        quenTally.valueBytes != texts.valueBytes || inihTally.valueBytes != texts.valueBytes) {
        std::printf("MISMATCH: quen %zu values (%zu bytes), inih %zu (%zu), expected %zu (%zu)\n",
                    quenTally.fieldValues, quenTally.valueBytes, inihTally.fieldValues, inihTally.valueBytes,
                    texts.fieldValues, texts.valueBytes);
        return false;
    }
    if (std::memcmp(buffer.data(), texts.sectioned.data(), texts.sectioned.size() + 1) != 0) {
        std::printf("MISMATCH: the parse changed the text\n");
        return false;
    }

    volatile std::size_t sink = 0;
    double quenTime = 0;
    double inihTime = 0;
    bench::bestThreadSecondsAlternating(7, [&] { sink = parseWithQuen(buffer, false).valueBytes; }, quenTime,
                                  [&] { sink = parseWithInih(texts.plain).valueBytes; }, inihTime);

    // Where quen's time goes: building the tree, reading it, deleting it.
    double build = 1e300, read = 1e300, destroy = 1e300;
    for (int run = 0; run < 3; ++run) {
        std::unique_ptr<quen::ParserBuf> root;
        build = std::min(build, bench::bestThreadSeconds(1, [&] {
            root = std::make_unique<quen::ParserBuf>(buffer.data(), static_cast<unsigned long>(buffer.size() - 1),
                                                     new quen::ParserSection(nullptr, nullptr, nullptr));
        }));
        read = std::min(read, bench::bestThreadSeconds(1, [&] {
            std::size_t bytes = 0;
            for (quen::Parser* section : *root) {
                for (quen::Parser* line : *section) {
                    for (quen::Parser* field : *line) {
                        bytes += field->title().size() + field->value().size();
                    }
                }
            }
            sink = bytes;
        }));
        destroy = std::min(destroy, bench::bestThreadSeconds(1, [&] { root.reset(); }));
    }

    // Time per byte, each on its own text: the report's ratio.
    const double quenPerByte = quenTime / quenMB;
    const double inihPerByte = inihTime / inihMB;
    const std::string label = std::string("parse, read, delete: ") + what + " (per MB)";
    bench::report(label.c_str(), quenPerByte, "inih", inihPerByte, goal);
    std::printf("  quen %.0f MB/s (build %.1f ms, read %.1f ms, delete %.1f ms), inih %.0f MB/s\n", quenMB / quenTime,
                build * 1e3, read * 1e3, destroy * 1e3, inihMB / inihTime);
    std::printf("  tree on the heap: %.2f MB per MB of text, %.0f bytes per field value "
                "(inih: a line buffer on the stack)\n",
                static_cast<double>(quenTally.heap) / 1e6 / quenMB,
                static_cast<double>(quenTally.heap) / static_cast<double>(texts.fieldValues));
    return true;
}

}  // namespace

int main() {
    bool ok = run("long fields", makeLongFields(), 0.5);
    ok = run("short fields", makeShortFields(), 1.0) && ok;
    return ok ? 0 : 1;
}
