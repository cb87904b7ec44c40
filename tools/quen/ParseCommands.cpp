// quen parse: the tree that the sectioned text parser makes of a file.
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <vector>

#include "Command.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserSection.h"

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

}  // namespace

int runParse(const Arguments& arguments, std::ostream& out) {
    if (arguments.size() != 1) {
        throw UsageError("wrong number of arguments");
    }
    std::ifstream file(arguments[0], std::ios::binary);
    if (!file) {
        std::cerr << "quen parse: cannot open '" << arguments[0] << "'\n";
        return exitFailure;
    }
    // The parser wants the text in writable memory with a NUL behind it.
    std::vector<char> text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad() || text.size() >= std::numeric_limits<unsigned long>::max()) {
        std::cerr << "quen parse: cannot read '" << arguments[0] << "'\n";
        return exitFailure;
    }
    text.push_back('\0');
    // A parse error leaves as QuenException: main prints its text, exit 1.
    const quen::ParserBuf root(text.data(), static_cast<unsigned long>(text.size() - 1),
                               new quen::ParserSection(nullptr, nullptr, nullptr));
    const unsigned long sections = root.size();
    out << "root: " << sections << (sections == 1 ? " section" : " sections") << "\n";
    for (const quen::Parser* section : root) {
        printNode(*section, 1, out);
    }
    return exitOk;
}

}  // namespace tool
