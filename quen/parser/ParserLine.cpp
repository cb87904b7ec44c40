#include "quen/parser/ParserLine.h"

#include "quen/errors/QuenException.h"
#include "quen/parser/arena/ParserScan.h"
#include "quen/parser/arena/ParserArena.h"

namespace quen {
namespace {

using parserscan::find;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

const char* ParserLine::version() {
    return "ParserLine 1.0, 31.01.2000";
}

ParserLine::ParserLine(char* begin, char* end, Parser* prototype) : Parser(begin, end) {
    child(prototype);
}

ParserLine::~ParserLine() = default;

void ParserLine::initialise() {
    if (isInitialised()) {
        return;
    }
    locateFieldValue();
    initialised(true);
}

Parser* ParserLine::duplicate(char* begin, char* end) {
    // Every field value prototype is alike: the line gets the shared one.
    return new ParserLine(begin, end, ParserArena::fieldValuePrototype());
}

void ParserLine::locateFieldValue() {
    char* const begin = beginBuf();
    char* const end = endBuf();
    if (begin == nullptr || end == nullptr || end <= begin) {
        return;
    }
    char* const equals = find(begin, end, '=');
    if (equals == nullptr) {
        return;  // no name=value line, but no error either
    }
    middleBuf(equals);

    char* piece = equals + 1;
    while (piece < end && isBlank(*piece)) {
        ++piece;
    }
    if (piece == end) {
        return;
    }
    if (*piece != '"') {
        throw QuenException("Error: Invalid line");
    }
    ++piece;

    // The pieces end at a ',' or at the closing quote, which also bounds the
    // scans (a line made by a section ends one past it). A piece never
    // starts with its own delimiter, so ",," gives a piece starting with
    // ','. A quoted text that is empty or ends in ',' leaves no piece at
    // the closing quote.
    char* const closing = find(piece, end, '"');
    char* const limit = closing != nullptr ? closing : end;
    ChildSpan spans[childBatch];
    std::size_t found = 0;
    while (piece < limit) {
        char* delimiter = find(piece + 1, limit, ',');
        if (delimiter == nullptr) {
            if (closing == nullptr) {
                break;  // a line built by hand without closing quote
            }
            delimiter = closing;
        }
        spans[found++] = ChildSpan{piece, delimiter};
        if (found == childBatch) {
            addChildren(spans, found);
            found = 0;
        }
        piece = delimiter + 1;
    }
    addChildren(spans, found);
}

}  // namespace quen
