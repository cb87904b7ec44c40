// A text buffer as the parser needs it (the characters and a NUL behind
// them), the tree built over it, the tree written out as one string, and
// the error a text or a node raises.
#ifndef QUEN_TESTS_PARSER_PARSERTEXT_H
#define QUEN_TESTS_PARSER_PARSERTEXT_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"
#include "quen/parser/ParserSection.h"

namespace parsertest {

// Every byte of the text and the NUL behind it.
struct Text : std::vector<char> {
    explicit Text(const std::string& text) : std::vector<char>(text.begin(), text.end()) { push_back('\0'); }
    unsigned long length() const { return static_cast<unsigned long>(size() - 1); }
};

// The root over text, given the section prototype it takes over.
inline std::unique_ptr<quen::ParserBuf> parse(Text& text,
                                              quen::Parser* prototype = new quen::ParserSection(nullptr, nullptr, nullptr)) {
    return std::make_unique<quen::ParserBuf>(text.data(), text.length(), prototype);
}

// The text of the QuenException that an action raises, or "no error".
template <class Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const quen::QuenException& error) {
        return error.what();
    }
    return "no error";
}

inline quen::Parser& nth(const quen::Parser& node, unsigned long index) {
    return *node.at(index);
}

// A node and everything below it as "title|value" followed by each child
// in <>. Titles and values are compared with their exact case and length.
// afterEach, when given, runs after each node is read.
inline std::string tree(const quen::Parser& node, const std::function<void()>& afterEach = {}) {
    const quen::StdString title = node.title();
    const quen::StdString value = node.value();
    if (afterEach) {
        afterEach();
    }
    std::string result = std::string(title.data(), title.size()) + "|" + std::string(value.data(), value.size());
    for (const quen::Parser* child : node) {
        result += "<" + tree(*child, afterEach) + ">";
    }
    return result;
}

}  // namespace parsertest

// Both parser test files work with these names.
using namespace std::string_literals;
using namespace parsertest;
using quen::Parser;
using quen::ParserBuf;
using quen::ParserFieldValue;
using quen::ParserLine;
using quen::ParserSection;

#endif
