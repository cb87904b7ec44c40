#include "quen/parser/Parser.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "quen/parser/ParserArray.h"
#include "quen/parser/arena/ParserArena.h"

namespace quen {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text of [first, last), ended early by a NUL inside it, without the
// blanks at either end. This is the text that the range gives when read as
// a zero-terminated string with a NUL put at last, found without writing
// to the caller's buffer.
StdString trimmedText(const char* first, const char* last) {
    const char* stop = static_cast<const char*>(std::memchr(first, '\0', static_cast<std::size_t>(last - first)));
    if (stop == nullptr) {
        stop = last;
    }
    while (first < stop && isBlank(*first)) {
        ++first;
    }
    while (stop > first && isBlank(stop[-1])) {
        --stop;
    }
    StdString text;
    text.assign(first, static_cast<std::size_t>(stop - first));
    return text;
}

}  // namespace

const char* Parser::version() {
    return "Parser 1.0, 16.02.2000";
}

Parser::Parser(char* begin, char* end)
    : child_(nullptr), array_(nullptr), beginBuf_(begin), middleBuf_(nullptr), endBuf_(end), isInitialised_(false) {}

Parser::Parser() : Parser(nullptr, nullptr) {}

void* Parser::operator new(std::size_t size) {
    return ParserArena::allocate(size);
}

// Rarely asked for: a block of its own, whatever build is under way.
void* Parser::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ParserArena::allocateFromHeap(size);
    } catch (...) {
        return nullptr;
    }
}

void Parser::operator delete(void* node, std::size_t size) noexcept {
    ParserArena::release(node, size);
}

void Parser::operator delete(void* node, const std::nothrow_t&) noexcept {
    ParserArena::release(node, 0);
}

void* Parser::operator new(std::size_t size, std::align_val_t alignment) {
    return ::operator new(size, alignment);
}

void Parser::operator delete(void* node, std::size_t, std::align_val_t alignment) noexcept {
    ::operator delete(node, alignment);
}

Parser::~Parser() {
    delete array_;
    if (!ParserArena::isShared(child_)) {
        delete child_;
    }
}

const Parser& Parser::operator[](unsigned long& index) const {
    return *at(index);
}

Parser::const_iterator Parser::begin() const {
    return array_ != nullptr && !array_->empty() ? array_->data() : nullptr;
}

Parser::const_iterator Parser::end() const {
    return array_ != nullptr && !array_->empty() ? array_->data() + array_->size() : nullptr;
}

unsigned long Parser::size() const {
    return array_ != nullptr ? static_cast<unsigned long>(array_->size()) : 0;
}

StdString Parser::title() const {
    if (beginBuf_ == nullptr || middleBuf_ == nullptr || middleBuf_ <= beginBuf_) {
        return StdString();
    }
    return trimmedText(beginBuf_, middleBuf_);
}

StdString Parser::value() const {
    // Nothing lies strictly between the separator and the end when the end
    // is at most one position after it.
    if (middleBuf_ == nullptr || endBuf_ == nullptr || endBuf_ <= middleBuf_ + 1) {
        return StdString();
    }
    return trimmedText(middleBuf_ + 1, endBuf_);
}

Parser* Parser::at(unsigned __int64 index) const {
    const std::size_t position = static_cast<std::uint32_t>(index);
    assert(array_ != nullptr && position < array_->size() && "Parser::at beyond the last child");
    return (*array_)[position];
}

void Parser::child(Parser* prototype) {
    if (prototype != child_) {
        if (!ParserArena::isShared(child_)) {
            delete child_;
        }
        child_ = prototype;
    }
}

void Parser::addChildren(const ChildSpan* spans, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        Parser* const node = newChild(spans[i].begin, spans[i].end);
        if (node == nullptr) {
            continue;
        }
        if (array_ == nullptr || array_->size() == array_->capacity()) {
            // Room for the rest of the batch: that much for the first (most
            // nodes have one batch), but no fewer than four, as arrays of one
            // size let the heap reuse a deleted tree's memory for the next
            // one (sized exactly, glibc gave it back to the system and took
            // it again, a third slower); at least double the capacity for
            // later batches, so that many batches still cost linear time.
            try {
                const std::size_t needed = (array_ != nullptr ? array_->size() : 0) + (count - i);
                if (array_ == nullptr) {
                    array_ = new ParserArray;
                    array_->reserve(std::max<std::size_t>(needed, 4));
                } else {
                    array_->reserve(std::max(needed, 2 * array_->capacity()));
                }
            } catch (...) {
                delete node;
                throw;
            }
        }
        insertIntoArray(node);
        node->initialise();
    }
}

bool Parser::insertIntoArray(Parser* node) {
    try {
        if (array_ == nullptr) {
            array_ = new ParserArray;
            // A node whose kind did not count its children: room for a few
            // saves the vector's first regrowths.
            array_->reserve(4);
        }
        array_->push_back(node);
    } catch (...) {
        delete node;  // handed over, so ours to release
        throw;
    }
    return node != nullptr;
}

Parser* Parser::newChild(char* begin, char* end) {
    return child_ != nullptr ? child_->duplicate(begin, end) : nullptr;
}

void Parser::addChild(char* begin, char* end) {
    Parser* const node = newChild(begin, end);
    if (node == nullptr) {
        return;
    }
    insertIntoArray(node);
    // Once appended, the node belongs to the tree: if its own scan throws,
    // it goes with the rest.
    node->initialise();
}

}  // namespace quen
