// The root of a parser tree: the whole text, cut into sections.
#ifndef QUEN_PARSER_PARSERBUF_H
#define QUEN_PARSER_PARSERBUF_H

#include "quen/parser/Parser.h"

namespace quen {

class QUEN_API ParserBuf : public Parser {
public:
    static const char* version();

    // Builds the whole tree over text[0, length) before it returns, with the
    // given prototype (normally a ParserSection, which it then owns) making
    // the sections. The byte at text[length] must be a writable NUL, as the
    // format has always required; this parser only ever reads it. A null
    // text or a zero length gives no sections.
    //
    // Throws QuenException "Error: Invalid section " for a '[' without a ']'
    // after it, and passes on the errors of the sections, lines and field
    // values; everything built so far is then deleted, the prototype too.
    ParserBuf(char* text, unsigned long length, Parser* prototype);
    ~ParserBuf() override;

    // Locates the sections, once.
    void initialise() override;

protected:
    // The root is never a child: makes nothing.
    Parser* duplicate(char* begin, char* end) override;

    bool invariant() const { return true; }

private:
    void locateSections();

    char* buffer_;  // the caller's, not owned
};

}  // namespace quen

#endif
