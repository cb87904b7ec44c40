// A line of a section: a field name, '=' and a quoted text of field values.
#ifndef QUEN_PARSER_PARSERLINE_H
#define QUEN_PARSER_PARSERLINE_H

#include "quen/parser/Parser.h"

namespace quen {

// begin: where the previous line (or the header) ended; separator: its first
// '='; end: one past its closing quote. title() is the text before the '=';
// value() the quoted text after it, quotes included. Line breaks have no
// role: a quoted text may span lines and several lines may share one.
class QUEN_API ParserLine : public Parser {
public:
    static const char* version();

    // A line over [begin, end) with the prototype of its field values, which
    // it then owns. Not yet initialised.
    ParserLine(char* begin, char* end, Parser* prototype);
    ~ParserLine() override;

    // Locates the '=' and the field values, once. A line without '=' has
    // neither and is no error. Throws QuenException "Error: Invalid line"
    // when the '=' (and any blanks after it) is not followed by a quote.
    void initialise() override;

protected:
    // A ParserLine over the span, with a new ParserFieldValue as its
    // prototype.
    Parser* duplicate(char* begin, char* end) override;

    bool invariant() const { return true; }

private:
    void locateFieldValue();
};

}  // namespace quen

#endif
