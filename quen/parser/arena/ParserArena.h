// Where the nodes of a parser tree live.
//
// A tree of a large text has millions of small nodes, all made while its root
// is constructed and all deleted together with the root. Taking each from the
// general heap and giving each back costs more than finding them in the text,
// so while a root builds its tree (a BuildScope is open on the thread) nodes
// come from an arena of that tree: a bump pointer over windows of at most
// 64 KiB, cut from heap blocks that grow from 8 KiB to 1 MiB. Every node is
// still deleted by its owner; the arena counts the nodes it holds and frees
// its blocks when the last one goes. Nodes made outside a build, and nodes
// larger than the arena takes, get a block of their own. Windows and such
// blocks start at multiples of 64 KiB with a header naming their arena (none
// for a block of its own), so a node's owner is found from its address and
// the nodes themselves carry nothing extra: they pack at their own
// alignment, 56-byte nodes at 8 bytes.
//
// The prototypes that the library's own sections and lines hand their
// children (a line prototype for each section, a field value prototype for
// each line) are all alike: over null positions, without prototype, never
// initialised and never changed. So every such node shares one of two
// immortal prototypes instead of owning a node of its own, and owners pass
// over them when they delete their prototype.
#ifndef QUEN_PARSER_ARENA_PARSERARENA_H
#define QUEN_PARSER_ARENA_PARSERARENA_H

#include <cstddef>

namespace quen {

class Parser;

class ParserArena {
public:
    // Memory for an object of the given size, from the arena of the build
    // under way on this thread or, without one, from the heap.
    static void* allocate(std::size_t size);
    // Heap memory marked as such, whatever build is under way.
    static void* allocateFromHeap(std::size_t size);
    // Gives back what allocate() gave for an object of that size.
    static void release(void* object, std::size_t size) noexcept;

    // The shared prototypes: a ParserLine and a ParserFieldValue over null
    // positions, made at the first call and never deleted.
    static Parser* linePrototype();
    static Parser* fieldValuePrototype();
    // True for the two shared prototypes, which no owner deletes.
    static bool isShared(const Parser* node) noexcept;

    // Opens a build on this thread with an arena of its own for the nodes
    // made until the scope closes. The arena lives on as long as one of its
    // nodes does. Scopes nest.
    class BuildScope {
    public:
        BuildScope();
        ~BuildScope();
        BuildScope(const BuildScope&) = delete;
        BuildScope& operator=(const BuildScope&) = delete;

    private:
        ParserArena* arena_;
        ParserArena* outer_;
    };

    // The header at the start of every slab and block.
    struct Slab;

private:
    ParserArena();
    ~ParserArena();
    ParserArena(const ParserArena&) = delete;
    ParserArena& operator=(const ParserArena&) = delete;

    void* take(std::size_t size);
    void grow();
    void dropOne() noexcept;

    Slab* spans_;      // the first window of each span, newest first
    char* next_;       // where the current window is free
    char* limit_;      // its end
    char* spanNext_;   // the next window of the current span
    char* spanEnd_;    // the end of the current span
    std::size_t nextSpan_;
    std::size_t live_;  // objects handed out and not given back
    bool building_;     // a BuildScope still holds the arena
};

}  // namespace quen

#endif
