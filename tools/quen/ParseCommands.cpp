// quen parse: the tree that the sectioned text parser makes of a file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "Command.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserSection.h"
#include "quen/values/TimeDate.h"

namespace tool {
namespace {

const char* kindAt(int depth) {
    switch (depth) {
    case 1: return "section";
    case 2: return "line";
    case 3: return "field";
    default: return "node";
    }
}

// One node a line, indented by depth: kind, 'title' = 'value'.
void printNode(const quen::Parser& node, int depth, std::ostream& out) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << kindAt(depth) << " '"
        << visible(node.title().c_str()) << "' = '" << visible(node.value().c_str()) << "'\n";
    for (const quen::Parser* child : node) {
        printNode(*child, depth + 1, out);
    }
}

// The whole file in writable memory with a NUL behind it, as the parser
// wants it. Every failure names the file: missing, a directory, unreadable,
// or too large for memory (the size is learnt first, so that a huge file
// fails at once instead of after a long read).
struct FileText {
    std::unique_ptr<char[]> data;
    unsigned long size = 0;
};

FileText readFile(const std::string& name) {
    const unsigned long long size = onOperand(name, [&] { return quen::fileSize(name.c_str()); });
    if (size >= std::numeric_limits<unsigned long>::max() || size >= std::numeric_limits<std::size_t>::max()) {
        throw Failure(name, "too large to read into memory");
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"), std::fclose);
    if (!file) {
        throw Failure(name, std::strerror(errno));
    }
    FileText text;
    try {
        text.data.reset(new char[static_cast<std::size_t>(size) + 1]);
    } catch (const std::bad_alloc&) {
        throw Failure(name, "too large to read into memory");
    }
    // A file that shrank since its size was read gives what it still holds.
    errno = 0;
    const std::size_t read = std::fread(text.data.get(), 1, static_cast<std::size_t>(size), file.get());
    if (std::ferror(file.get())) {
        throw Failure(name, errno != 0 ? std::strerror(errno) : "cannot read");
    }
    text.data[read] = '\0';
    text.size = static_cast<unsigned long>(read);
    return text;
}

}  // namespace

int runParse(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.size() != 1) {
        throw UsageError("wrong number of arguments");
    }
    const std::string& name = arguments[0];
    const FileText text = readFile(name);
    // A parse error names the file, with the parser's text.
    const auto root = onOperand(name, [&] {
        return std::make_unique<quen::ParserBuf>(text.data.get(), text.size,
                                                 new quen::ParserSection(nullptr, nullptr, nullptr));
    });
    const unsigned long sections = root->size();
    out << "root: " << sections << (sections == 1 ? " section" : " sections") << "\n";
    for (const quen::Parser* section : *root) {
        printNode(*section, 1, out);
    }
    return exitOk;
}

}  // namespace tool
