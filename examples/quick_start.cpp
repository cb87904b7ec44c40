// The README's quick start: parse a settings file, match names, open a stream.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "quen/quen.h"

int main(int argc, char** argv) try {
    // The parser works in place: writable text with a NUL behind it.
    std::ifstream file(argc > 1 ? argv[1] : "settings.txt", std::ios::binary);
    std::vector<char> text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    text.push_back('\0');
    const quen::ParserBuf root(text.data(), text.size() - 1, new quen::ParserSection(nullptr, nullptr, nullptr));
    for (const quen::Parser* section : root) {
        std::printf("%s: %lu lines\n", section->title().c_str(), section->size());
    }

    const quen::WildString pattern("*.DAT");  // * and ?, ignoring case
    for (const char* name : {"june.dat", "notes.txt"}) {
        std::printf("%s: %s\n", name, pattern.match(name, 0, 0) ? "matches" : "does not match");
    }

    quen::BinFStream counts("counts.bin", quen::BinStream::out | quen::BinStream::trunc);
    counts << static_cast<unsigned int>(root.size());  // 4 bytes, least significant first
    return 0;
} catch (const quen::QuenException& error) {  // every failure: the library's message
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
}
