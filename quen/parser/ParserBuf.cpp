#include "quen/parser/ParserBuf.h"

#include "quen/errors/QuenException.h"
#include "quen/parser/arena/ParserScan.h"
#include "quen/parser/arena/ParserArena.h"

namespace quen {
namespace {

using parserscan::find;

}  // namespace

const char* ParserBuf::version() {
    return "ParserBuf 1.0, 31.01.2000";
}

ParserBuf::ParserBuf(char* text, unsigned long length, Parser* prototype)
    : Parser(text, text != nullptr ? text + length : nullptr), buffer_(text) {
    // Owned from here on: if the scan throws, the base part's destructor
    // deletes it along with whatever was built.
    child(prototype);
    initialise();
}

ParserBuf::~ParserBuf() = default;

void ParserBuf::initialise() {
    if (isInitialised()) {
        return;
    }
    // The tree's nodes go into an arena of their own (see Parser).
    const ParserArena::BuildScope build;
    locateSections();
    initialised(true);
}

Parser* ParserBuf::duplicate(char*, char*) {
    return nullptr;
}

void ParserBuf::locateSections() {
    char* const last = endBuf();
    if (buffer_ == nullptr || buffer_ == last) {
        return;
    }
    char* position = buffer_;
    // Sections are made in batches (see Parser); a header left open is
    // reported after the sections before it are made.
    ChildSpan spans[childBatch];
    std::size_t found = 0;
    // Text before the first '[' belongs to no section.
    while (char* const open = find(position, last, '[')) {
        // The header runs to the first ']' after its '[', whatever lies
        // between; the section to the character before the next '['.
        char* const close = find(open + 1, last, ']');
        if (close == nullptr) {
            addChildren(spans, found);
            throw QuenException("Error: Invalid section ");
        }
        char* const next = find(close + 1, last, '[');
        char* const sectionEnd = next != nullptr ? next - 1 : last - 1;
        spans[found++] = ChildSpan{open, sectionEnd};
        if (found == childBatch) {
            addChildren(spans, found);
            found = 0;
        }
        position = sectionEnd;
    }
    addChildren(spans, found);
}

}  // namespace quen
