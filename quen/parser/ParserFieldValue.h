// A field value: one comma-separated piece of a line's quoted text.
#ifndef QUEN_PARSER_PARSERFIELDVALUE_H
#define QUEN_PARSER_PARSERFIELDVALUE_H

#include "quen/parser/Parser.h"

namespace quen {

// begin: its first character; separator: its first '='; end: its delimiter,
// the ',' or the closing quote after it. title() is the name before the '=',
// value() the text between the '=' and the delimiter. A piece without '='
// has an empty title and value.
class QUEN_API ParserFieldValue : public Parser {
public:
    static const char* version();

    // A field value over [begin, end], end being its delimiter. Field values
    // have no children; a prototype given is owned all the same.
    ParserFieldValue(char* begin, char* end, Parser* prototype);
    ~ParserFieldValue() override;

    // Locates the '=', once. Throws QuenException "Error: Invalid line" for a
    // field value of a single position whose character is not '='.
    void initialise() override;

protected:
    // A ParserFieldValue over the span, without prototype.
    Parser* duplicate(char* begin, char* end) override;

    bool invariant() const { return true; }

private:
    void locateSeperator();
};

}  // namespace quen

#endif
