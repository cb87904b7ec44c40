// A section of the text: its header '[...]' and the quoted lines after it.
#ifndef QUEN_PARSER_PARSERSECTION_H
#define QUEN_PARSER_PARSERSECTION_H

#include "quen/parser/Parser.h"

namespace quen {

// begin: its '['; separator: one past its ']'; end: its last character, the
// one before the next section's '[' or the last of the text. title() is the
// header with its brackets; value() the body without the character right
// after ']' and without the section's last character.
class QUEN_API ParserSection : public Parser {
public:
    static const char* version();

    // A section over [begin, end] (end is its last character) with the
    // prototype of its lines, which it then owns. Not yet initialised.
    ParserSection(char* begin, char* end, Parser* prototype);
    ~ParserSection() override;

    // Locates the header and the lines, once. Throws QuenException
    // "Error: Invalid section " when the span holds no header and
    // "Error: Invalid Line" for a quote left open.
    void initialise() override;

protected:
    // A ParserSection over the span, with a new ParserLine as its prototype.
    Parser* duplicate(char* begin, char* end) override;

    bool invariant() const { return true; }

private:
    void locateLines();
};

}  // namespace quen

#endif
