#include "quen/parser/ParserSection.h"

#include <cstring>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserLine.h"

namespace quen {
namespace {

char* find(char* from, char* to, char c) {
    return from < to ? static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(to - from))) : nullptr;
}

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
    Parser* const prototype = new ParserLine(nullptr, nullptr, nullptr);
    try {
        return new ParserSection(begin, end, prototype);
    } catch (...) {
        delete prototype;
        throw;
    }
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
    // quote after its first character; line breaks play no part.
    while (stop - line > 1) {
        char* const opening = find(line + 1, stop, '"');
        if (opening == nullptr) {
            return;  // trailing text without quotes is ignored
        }
        char* const closing = find(opening + 1, stop, '"');
        if (closing == nullptr) {
            throw QuenException("Error: Invalid Line");
        }
        addChild(line, closing + 1);
        line = closing + 1;
    }
}

}  // namespace quen
