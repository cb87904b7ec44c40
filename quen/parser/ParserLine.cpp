#include "quen/parser/ParserLine.h"

#include <cstring>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserFieldValue.h"

namespace quen {
namespace {

char* find(char* from, char* to, char c) {
    return from < to ? static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(to - from))) : nullptr;
}

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
    Parser* const prototype = new ParserFieldValue(nullptr, nullptr, nullptr);
    try {
        return new ParserLine(begin, end, prototype);
    } catch (...) {
        delete prototype;
        throw;
    }
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
    while (piece < limit) {
        char* delimiter = find(piece + 1, limit, ',');
        if (delimiter == nullptr) {
            if (closing == nullptr) {
                return;  // a line built by hand without closing quote
            }
            delimiter = closing;
        }
        addChild(piece, delimiter);
        piece = delimiter + 1;
    }
}

}  // namespace quen
