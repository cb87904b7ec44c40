#include "quen/parser/arena/ParserArena.h"

#include <cstdint>
#include <new>

#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"

namespace quen {
namespace {

// The build under way on this thread (trees of different threads never share
// an arena, so nothing needs a lock).
thread_local ParserArena* currentArena = nullptr;

// Every window of memory that holds nodes starts at a multiple of this and
// ends before the next one, so that the header at its start is found from
// any object inside by rounding the address down.
const std::size_t blockAlignment = 1u << 16;
// An arena takes memory from the heap in spans that grow from 8 KiB (small
// trees stay small) to 1 MiB, each a little larger than needed so that it
// holds an aligned start; a span of more than 64 KiB is cut into 64 KiB
// windows, each with its own header.
const std::size_t firstSpan = 8u << 10;
const std::size_t largestSpan = 1u << 20;
// Larger objects (a caller's own node classes) get a block of their own.
const std::size_t largestArenaObject = 512;

std::size_t roundUp(std::size_t value, std::size_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

// An object's size is a multiple of its alignment, so the lowest set bit of
// the size (up to what the heap gives) is an alignment that serves it:
// 56-byte nodes pack at 8 bytes.
std::size_t alignmentFor(std::size_t size) {
    const std::size_t lowest = size & (~size + 1);
    const std::size_t heap = alignof(std::max_align_t);
    return lowest != 0 && lowest < heap ? lowest : heap;
}

void* newBlock(std::size_t size) {
    return ::operator new(size, std::align_val_t(blockAlignment));
}

void deleteBlock(void* block) noexcept {
    ::operator delete(block, std::align_val_t(blockAlignment));
}

// Storage for the shared prototypes, constructed in place at first use and
// never destroyed, so that no tree outliving the library's static objects
// can find them gone.
alignas(ParserLine) unsigned char linePrototypeStorage[sizeof(ParserLine)];
alignas(ParserFieldValue) unsigned char fieldValuePrototypeStorage[sizeof(ParserFieldValue)];

}  // namespace

Parser* ParserArena::linePrototype() {
    static Parser* const prototype = new (linePrototypeStorage) ParserLine(nullptr, nullptr, nullptr);
    return prototype;
}

Parser* ParserArena::fieldValuePrototype() {
    static Parser* const prototype = new (fieldValuePrototypeStorage) ParserFieldValue(nullptr, nullptr, nullptr);
    return prototype;
}

bool ParserArena::isShared(const Parser* node) noexcept {
    const void* const address = node;
    return address == linePrototypeStorage || address == fieldValuePrototypeStorage;
}

// The start of every window and block: the arena whose window it is, or
// null for a block holding one node of its own; in the first window of a
// span, the heap block of the span and the arena's previous span.
struct ParserArena::Slab {
    ParserArena* arena;
    void* span;
    Slab* next;
};

namespace {

const std::size_t headerSize = roundUp(sizeof(ParserArena::Slab), alignof(std::max_align_t));

ParserArena::Slab* blockOf(void* object) {
    return reinterpret_cast<ParserArena::Slab*>(reinterpret_cast<std::uintptr_t>(object) &
                                                ~static_cast<std::uintptr_t>(blockAlignment - 1));
}

}  // namespace

ParserArena::ParserArena()
    : spans_(nullptr), next_(nullptr), limit_(nullptr), spanNext_(nullptr), spanEnd_(nullptr), nextSpan_(firstSpan),
      live_(0), building_(true) {}

ParserArena::~ParserArena() {
    while (spans_ != nullptr) {
        Slab* const next = spans_->next;
        ::operator delete(spans_->span);
        spans_ = next;
    }
}

void* ParserArena::allocate(std::size_t size) {
    ParserArena* const arena = currentArena;
    if (arena == nullptr || size > largestArenaObject) {
        return allocateFromHeap(size);
    }
    return arena->take(size);
}

void* ParserArena::allocateFromHeap(std::size_t size) {
    // A block of its own, only as large as the header and the object: the
    // alignment costs address space, not memory that is ever touched.
    Slab* const block = static_cast<Slab*>(newBlock(headerSize + (size > 0 ? size : 1)));
    block->arena = nullptr;
    block->span = nullptr;
    block->next = nullptr;
    return reinterpret_cast<char*>(block) + headerSize;
}

void ParserArena::release(void* object, std::size_t) noexcept {
    if (object == nullptr) {
        return;
    }
    Slab* const block = blockOf(object);
    if (block->arena == nullptr) {
        deleteBlock(block);
    } else {
        block->arena->dropOne();
    }
}

void* ParserArena::take(std::size_t size) {
    const std::size_t alignment = alignmentFor(size);
    char* object = reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(next_), alignment));
    if (next_ == nullptr || static_cast<std::size_t>(limit_ - object) < size) {
        grow();
        object = reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(next_), alignment));
    }
    next_ = object + size;
    ++live_;
    return object;
}

void ParserArena::grow() {
    Slab* window;
    std::size_t windowSize;
    if (spanNext_ < spanEnd_) {
        // The next window of the current span.
        window = reinterpret_cast<Slab*>(spanNext_);
        windowSize = blockAlignment;
        spanNext_ += blockAlignment;
        window->span = nullptr;
        window->next = nullptr;
    } else {
        const std::size_t span = nextSpan_;
        if (nextSpan_ < largestSpan) {
            nextSpan_ *= 2;
        }
        // Room for the span behind the first aligned address in the block.
        void* const block = ::operator new(span + blockAlignment);
        window = reinterpret_cast<Slab*>(roundUp(reinterpret_cast<std::uintptr_t>(block), blockAlignment));
        windowSize = span < blockAlignment ? span : blockAlignment;
        window->span = block;
        window->next = spans_;
        spans_ = window;
        // Spans beyond the first window are whole windows long.
        spanNext_ = reinterpret_cast<char*>(window) + windowSize;
        spanEnd_ = reinterpret_cast<char*>(window) + span;
    }
    window->arena = this;
    next_ = reinterpret_cast<char*>(window) + headerSize;
    limit_ = reinterpret_cast<char*>(window) + windowSize;
}

void ParserArena::dropOne() noexcept {
    if (--live_ == 0 && !building_) {
        delete this;
    }
}

ParserArena::BuildScope::BuildScope() : arena_(new ParserArena), outer_(currentArena) {
    currentArena = arena_;
}

ParserArena::BuildScope::~BuildScope() {
    currentArena = outer_;
    arena_->building_ = false;
    if (arena_->live_ == 0) {
        delete arena_;
    }
}

}  // namespace quen
