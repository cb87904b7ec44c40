// The sectioned text parser against inih, on the same content: quen parses
// sections of quoted name=value lists into its tree and reads every field
// value's title and value; inih parses the same field values written as
// plain "line.name = value" lines and reads every name and value its handler
// gets. Both work on text held in memory; the ratio is of bytes per second.
#include <ini.h>
#include <malloc.h>
#include <sys/resource.h>

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

struct Texts {
    std::string sectioned;  // quen's format
    std::string plain;      // inih's
    std::size_t fieldValues = 0;
    std::size_t valueBytes = 0;
};

// Drive lists and backup sets: three field values a line, names and values
// of realistic lengths.
Texts makeTexts() {
    std::mt19937 random(7);
    Texts texts;
    texts.sectioned.reserve(56u << 20);
    texts.plain.reserve(56u << 20);
    char buffer[160];
    for (int s = 0; s < sections; ++s) {
        std::snprintf(buffer, sizeof buffer, "[BackupSet%05d]\r\n", s);
        texts.sectioned += buffer;
        texts.plain += buffer;
        for (int l = 0; l < linesPerSection; ++l) {
            const unsigned volume = random() % 10000;
            std::string fields[3][2];
            std::snprintf(buffer, sizeof buffer, "C:\\Projects\\Customers\\Archive%04u\\set%05d\\volume%04u\\file%04d.dat",
                          static_cast<unsigned>(2000 + random() % 30), s, volume, l);
            fields[0][0] = "Path";
            fields[0][1] = buffer;
            std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(random()));
            fields[1][0] = "Size";
            fields[1][1] = buffer;
            std::snprintf(buffer, sizeof buffer, "BACKUP_VOLUME_%04u_OFFSITE", volume);
            fields[2][0] = "Label";
            fields[2][1] = buffer;

            std::snprintf(buffer, sizeof buffer, "Entry%02d", l);
            const std::string name = buffer;
            texts.sectioned += name + " = \"";
            for (int f = 0; f < 3; ++f) {
                texts.sectioned += (f > 0 ? ", " : "") + fields[f][0] + "=" + fields[f][1];
                texts.plain += name + "." + fields[f][0] + " = " + fields[f][1] + "\r\n";
                texts.fieldValues += 1;
                texts.valueBytes += fields[f][1].size();
            }
            texts.sectioned += "\"\r\n";
        }
    }
    return texts;
}

struct Tally {
    std::size_t fieldValues = 0;
    std::size_t valueBytes = 0;
    std::size_t peakHeap = 0;
};

// Bytes the program holds from malloc, in the heap and in mapped blocks.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Parses, reads every field value, and (with a tally) records what the tree
// holds on the heap once built.
Tally parseWithQuen(std::vector<char>& text, std::size_t heapBefore, bool measureHeap) {
    Tally tally;
    quen::ParserBuf root(text.data(), static_cast<unsigned long>(text.size() - 1),
                         new quen::ParserSection(nullptr, nullptr, nullptr));
    if (measureHeap) {
        tally.peakHeap = heapInUse() - heapBefore;
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

}  // namespace

int main() {
    const Texts texts = makeTexts();
    std::vector<char> buffer(texts.sectioned.begin(), texts.sectioned.end());
    buffer.push_back('\0');
    const double quenMB = static_cast<double>(texts.sectioned.size()) / 1e6;
    const double inihMB = static_cast<double>(texts.plain.size()) / 1e6;
    std::printf("%d sections of %d lines of 3 field values: %.1f MB sectioned, %.1f MB as key = value lines\n",
                sections, linesPerSection, quenMB, inihMB);

    // Check that both read the same field values, and measure the tree.
    const std::size_t heapBefore = heapInUse();
    const Tally quenTally = parseWithQuen(buffer, heapBefore, true);
    const Tally inihTally = parseWithInih(texts.plain);
    if (quenTally.fieldValues != texts.fieldValues || inihTally.fieldValues != texts.fieldValues ||
        quenTally.valueBytes != texts.valueBytes || inihTally.valueBytes != texts.valueBytes) {
        std::printf("MISMATCH: quen %zu values (%zu bytes), inih %zu (%zu), expected %zu (%zu)\n",
                    quenTally.fieldValues, quenTally.valueBytes, inihTally.fieldValues, inihTally.valueBytes,
                    texts.fieldValues, texts.valueBytes);
        return 1;
    }
    if (std::memcmp(buffer.data(), texts.sectioned.data(), texts.sectioned.size() + 1) != 0) {
        std::printf("MISMATCH: the parse changed the text\n");
        return 1;
    }

    volatile std::size_t sink = 0;
    const double quenTime = bench::bestSeconds(3, [&] { sink = parseWithQuen(buffer, 0, false).valueBytes; });
    const double inihTime = bench::bestSeconds(3, [&] { sink = parseWithInih(texts.plain).valueBytes; });

    // Where quen's time goes: building the tree, reading it, deleting it.
    double build = 1e300, read = 1e300, destroy = 1e300;
    for (int run = 0; run < 3; ++run) {
        std::unique_ptr<quen::ParserBuf> root;
        build = std::min(build, bench::bestSeconds(1, [&] {
            root = std::make_unique<quen::ParserBuf>(buffer.data(), static_cast<unsigned long>(buffer.size() - 1),
                                                     new quen::ParserSection(nullptr, nullptr, nullptr));
        }));
        read = std::min(read, bench::bestSeconds(1, [&] {
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
        destroy = std::min(destroy, bench::bestSeconds(1, [&] { root.reset(); }));
    }

    // The ratio is of time per byte, each on its own text.
    const double quenRate = quenMB / quenTime;
    const double inihRate = inihMB / inihTime;
    bench::report("parse and read every field value", quenTime, "inih", inihTime, 0.5);
    std::printf("quen: build %.1f ms, read %.1f ms, delete %.1f ms\n", build * 1e3, read * 1e3, destroy * 1e3);
    std::printf("throughput: quen %.0f MB/s, inih %.0f MB/s; time per byte quen/inih %.2f "
                "(below 1 is faster than inih)\n",
                quenRate, inihRate, inihRate / quenRate);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("tree on the heap: %.2f MB per MB of text (%zu field values, %.0f bytes each), "
                "inih: a line buffer on the stack; peak RSS of the run %.0f MB\n",
                static_cast<double>(quenTally.peakHeap) / 1e6 / quenMB, texts.fieldValues,
                static_cast<double>(quenTally.peakHeap) / static_cast<double>(texts.fieldValues),
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
