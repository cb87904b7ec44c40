// The node of the sectioned text parser: the part that the root, sections,
// lines and field values share.
//
// A tree of nodes lies over a text that the caller holds in memory and keeps
// alive, unchanged, while the tree exists. No node copies text: each holds
// three positions in the caller's buffer (its begin, its separator and its
// end) and makes a string only when title() or value() is asked for.
//
// A node never decides the kind of its children. It owns a child prototype
// and asks it to duplicate() itself over each child's span; every duplicate
// gets a fresh prototype of the next lower kind, so a caller hands only the
// root its prototype. A node owns its prototype and its children; deleting a
// node deletes the whole subtree below it, never the text.
#ifndef QUEN_PARSER_PARSER_H
#define QUEN_PARSER_PARSER_H

#include <cstddef>
#include <new>

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

class ParserArray;

class QUEN_API Parser {
public:
    // Random access over the children, in text order. A node without
    // children gives the empty range [nullptr, nullptr).
    typedef Parser* const* const_iterator;
    typedef const_iterator iterator;

    static const char* version();

    // A node over [begin, end), without prototype, children or separator,
    // not yet initialised.
    Parser(char* begin, char* end);
    virtual ~Parser();

    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Nodes made while a root builds its tree live in an arena of that tree
    // instead of taking one heap block each; the others, and nodes larger
    // than the arena takes, get a heap block of their own. Either way a node
    // is deleted by its owner as usual.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* node, std::size_t size) noexcept;
    static void operator delete(void* node, const std::nothrow_t&) noexcept;
    static void operator delete(void*, void*) noexcept {}
    // A caller's over-aligned node class comes from the heap.
    static void* operator new(std::size_t size, std::align_val_t alignment);
    static void operator delete(void* node, std::size_t size, std::align_val_t alignment) noexcept;

    // The child that at() gives for the same index. The index is only read.
    virtual const Parser& operator[](unsigned long& index) const;
    virtual const_iterator begin() const;
    virtual const_iterator end() const;

    // Locates this node's separator and makes its children, once; each kind
    // does its own part. Throws QuenException with the format's error texts.
    virtual void initialise() = 0;

    // The number of children.
    virtual unsigned long size() const;

    // The text from begin up to the separator, and the text strictly between
    // the separator and the end, each without leading and trailing blanks,
    // tabs, carriage returns and line feeds; empty while the positions are
    // not set. A NUL inside the range ends the text there.
    //
    // Both give what the range reads as when a NUL stands at its end, but
    // find it without writing to the buffer, which is the same afterwards.
    // Each makes one string: its cost is the range's length.
    virtual StdString title() const;
    virtual StdString value() const;

    // The child at the index (text order, from 0). Only the low 32 bits of
    // the index count. Unchecked: the caller keeps the index below size().
    Parser* at(unsigned __int64 index) const;

protected:
    // Makes a node of this prototype's own kind over [begin, end], or null
    // when this kind makes no children. Ownership passes to the caller.
    virtual Parser* duplicate(char* begin, char* end) = 0;

    Parser();

    Parser* child() const { return child_; }
    // Takes ownership of the prototype (and deletes the one it replaces).
    void child(Parser* prototype);
    ParserArray* array() const { return array_; }
    char* beginBuf() const { return beginBuf_; }
    char* middleBuf() const { return middleBuf_; }
    void middleBuf(char* middle) { middleBuf_ = middle; }
    char* endBuf() const { return endBuf_; }
    bool isInitialised() const { return isInitialised_; }
    void initialised(bool done) { isInitialised_ = done; }

    // Appends a node to the children, making the child array first if
    // needed; the array takes ownership. True when the node appended is
    // not null. When memory runs out the node is deleted and the failure
    // passes to the caller.
    bool insertIntoArray(Parser* node);

    // What the prototype's duplicate() makes over [begin, end].
    Parser* newChild(char* begin, char* end);

    // Makes the child over [begin, end] through the prototype, appends it and
    // initialises it at once, so that the tree grows depth first in text
    // order. A prototype that makes nothing is skipped.
    void addChild(char* begin, char* end);

    bool invariant() const { return true; }

private:
    // The library's kinds find their children's spans in batches and make
    // each batch at once, so that the child array grows once per batch
    // rather than once per doubling, and to the size it needs.
    friend class ParserBuf;
    friend class ParserSection;
    friend class ParserLine;
    struct ChildSpan {
        char* begin;
        char* end;
    };
    static const std::size_t childBatch = 32;
    // addChild() for each span in turn, after making room for all of them.
    void addChildren(const ChildSpan* spans, std::size_t count);

    Parser* child_;
    ParserArray* array_;
    char* beginBuf_;
    char* middleBuf_;
    char* endBuf_;
    bool isInitialised_;
};

}  // namespace quen

#endif
