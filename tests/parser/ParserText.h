// A text buffer as the parser needs it (the characters and a NUL behind
// them), the tree built over it, and the error a text raises.
#ifndef QUEN_TESTS_PARSER_PARSERTEXT_H
#define QUEN_TESTS_PARSER_PARSERTEXT_H

#include <memory>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserSection.h"

namespace parsertest {

class Text {
public:
    explicit Text(const std::string& text) : bytes_(text.begin(), text.end()) { bytes_.push_back('\0'); }

    char* data() { return bytes_.data(); }
    unsigned long length() const { return static_cast<unsigned long>(bytes_.size() - 1); }
    // Every byte, the NUL behind the text included.
    const std::vector<char>& bytes() const { return bytes_; }

private:
    std::vector<char> bytes_;
};

inline std::unique_ptr<quen::ParserBuf> parse(Text& text) {
    return std::make_unique<quen::ParserBuf>(text.data(), text.length(),
                                             new quen::ParserSection(nullptr, nullptr, nullptr));
}

// The text of the QuenException that parsing raises, or "no error".
inline std::string parseError(const std::string& content) {
    Text text(content);
    try {
        parse(text);
    } catch (const quen::QuenException& error) {
        return error.what();
    }
    return "no error";
}

inline quen::Parser& nth(const quen::Parser& node, unsigned long index) {
    return *node.at(index);
}

}  // namespace parsertest

#endif
