#include "quen/parser/ParserFieldValue.h"

#include "quen/errors/QuenException.h"
#include "quen/parser/arena/ParserScan.h"

namespace quen {

const char* ParserFieldValue::version() {
    return "ParserFieldValue 1.0, 31.01.2000";
}

ParserFieldValue::ParserFieldValue(char* begin, char* end, Parser* prototype) : Parser(begin, end) {
    child(prototype);
}

ParserFieldValue::~ParserFieldValue() = default;

void ParserFieldValue::initialise() {
    if (isInitialised()) {
        return;
    }
    locateSeperator();
    initialised(true);
}

Parser* ParserFieldValue::duplicate(char* begin, char* end) {
    return new ParserFieldValue(begin, end, nullptr);
}

void ParserFieldValue::locateSeperator() {
    char* const begin = beginBuf();
    char* const delimiter = endBuf();
    if (begin == nullptr || delimiter == nullptr || delimiter < begin) {
        return;
    }
    if (*begin == '=') {
        middleBuf(begin);  // a piece starting with '=' has an empty name
        return;
    }
    // Only a field value built by hand can be a single position.
    if (begin == delimiter) {
        throw QuenException("Error: Invalid line");
    }
    // Without '=' the piece has no separator, and so no title or value.
    middleBuf(parserscan::find(begin + 1, delimiter, '='));
}

}  // namespace quen
