// The sectioned text parser on arbitrary bytes, as hand-written files can be:
// every node's title() and value() is read, the text must come back
// unchanged, and the only failures allowed are the format's own errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserSection.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void checkTrimmed(const quen::StdString& text) {
    check(text.find('\0') == quen::StdString::npos);
    check(text.empty() || (!isBlank(text[0]) && !isBlank(text[text.size() - 1])));
}

// Depth 1 sections, 2 lines, 3 field values; with no NUL in the text the
// format fixes how their texts begin and end.
void walk(const quen::Parser& node, int depth, bool plainText) {
    const quen::StdString title = node.title();
    const quen::StdString value = node.value();
    checkTrimmed(title);
    checkTrimmed(value);
    if (depth == 0) {
        check(title.empty() && value.empty());
    }
    if (plainText && depth == 1) {
        check(title.size() >= 2 && title[0] == '[' && title[title.size() - 1] == ']');
    }
    if (plainText && depth == 2 && !value.empty()) {
        check(value[0] == '"' && value[value.size() - 1] == '"');
    }
    check(depth < 3 || node.size() == 0);
    const unsigned long size = node.size();
    check(node.end() - node.begin() == static_cast<std::ptrdiff_t>(size));
    for (unsigned long index = 0; index < size; ++index) {
        check(node.at(index) == node.begin()[index]);
        check(&node[index] == node.at(index));
        walk(*node.at(index), depth + 1, plainText);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the bytes and their NUL, so that the sanitizer sees any read
    // beyond them.
    const std::unique_ptr<char[]> text(new char[size + 1]);
    if (size > 0) {
        std::memcpy(text.get(), data, size);
    }
    text[size] = '\0';
    const bool plainText = std::memchr(data, '\0', size) == nullptr;
    try {
        const quen::ParserBuf root(text.get(), static_cast<unsigned long>(size),
                                   new quen::ParserSection(nullptr, nullptr, nullptr));
        walk(root, 0, plainText);
    } catch (const quen::QuenException& error) {
        const std::string what = error.what();
        check(what == "Error: Invalid section " || what == "Error: Invalid Line" || what == "Error: Invalid line");
    }
    check((size == 0 || std::memcmp(text.get(), data, size) == 0) && text[size] == '\0');
    return 0;
}
