#include "quen/parser/ParserSection.h"

#include "quen/errors/QuenException.h"
#include "quen/parser/arena/ParserScan.h"
#include "quen/parser/arena/ParserArena.h"

namespace quen {
namespace {

using parserscan::find;

}  // namespace

const char* ParserSection::version() {
    return "ParserSection 1.0, 31.01.2000";
}

ParserSection::ParserSection(char* begin, char* end, Parser* prototype) : Parser(begin, end) {
    child(prototype);
}

ParserSection::~ParserSection() = default;

void ParserSection::initialise() {
    if (isInitialised()) {
        return;
    }
    locateLines();
    initialised(true);
}

Parser* ParserSection::duplicate(char* begin, char* end) {
    // Every line prototype is alike: the section gets the shared one.
    return new ParserSection(begin, end, ParserArena::linePrototype());
}

void ParserSection::locateLines() {
    char* const begin = beginBuf();
    char* const last = endBuf();
    if (begin == nullptr || last == nullptr || last < begin) {
        return;
    }
    char* const stop = last + 1;  // one past the section's last character
    char* open = begin;
    if (*open != '[') {
        open = find(begin + 1, stop, '[');
        if (open == nullptr) {
            throw QuenException("Error: Invalid section ");
        }
    }
    char* const close = find(open + 1, stop, ']');
    if (close == nullptr) {
        throw QuenException("Error: Invalid section ");
    }
    middleBuf(close + 1);

    // The character right after ']' (normally the header's line break)
    // belongs to no line; the first line starts at the one after it.
    if (stop - close <= 2) {
        return;
    }
    char* line = close + 2;
    // A line runs from where the previous one ended to one past the second
    // quote after its first character; line breaks play no part. The lines
    // found are made in batches; an open quote is reported after the lines
    // before it are made, as their own errors come first.
    ChildSpan spans[childBatch];
    std::size_t found = 0;
    while (stop - line > 1) {
        char* const opening = find(line + 1, stop, '"');
        if (opening == nullptr) {
            break;  // trailing text without quotes is ignored
        }
        char* const closing = find(opening + 1, stop, '"');
        if (closing == nullptr) {
            addChildren(spans, found);
            throw QuenException("Error: Invalid Line");
        }
        spans[found++] = ChildSpan{line, closing + 1};
        if (found == childBatch) {
            addChildren(spans, found);
            found = 0;
        }
        line = closing + 1;
    }
    addChildren(spans, found);
}

}  // namespace quen
