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

const std::size_t alignment = alignof(std::max_align_t);
const std::size_t firstSlabSize = 4096;
const std::size_t largestSlabSize = 1u << 20;
// Larger objects (a caller's own node classes) come from the heap.
const std::size_t largestArenaObject = 512;

std::size_t roundUp(std::size_t value, std::size_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

// The owner mark stands right behind the object, at a pointer's alignment.
std::size_t markOffset(std::size_t size) {
    return roundUp(size, alignof(ParserArena*));
}

ParserArena*& markOf(void* object, std::size_t size) {
    return *reinterpret_cast<ParserArena**>(static_cast<char*>(object) + markOffset(size));
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

struct ParserArena::Slab {
    Slab* next;
};

ParserArena::ParserArena()
    : slabs_(nullptr), next_(nullptr), limit_(nullptr), nextSlabSize_(firstSlabSize), live_(0), building_(true) {}

ParserArena::~ParserArena() {
    while (slabs_ != nullptr) {
        Slab* const next = slabs_->next;
        ::operator delete(slabs_);
        slabs_ = next;
    }
}

void* ParserArena::allocate(std::size_t size) {
    ParserArena* const arena = currentArena;
    if (arena == nullptr || size > largestArenaObject) {
        return allocateFromHeap(size);
    }
    void* const object = arena->take(roundUp(markOffset(size) + sizeof(ParserArena*), alignment));
    markOf(object, size) = arena;
    return object;
}

void* ParserArena::allocateFromHeap(std::size_t size) {
    void* const object = ::operator new(markOffset(size) + sizeof(ParserArena*));
    markOf(object, size) = nullptr;
    return object;
}

void ParserArena::release(void* object, std::size_t size) noexcept {
    if (object == nullptr) {
        return;
    }
    ParserArena* const arena = markOf(object, size);
    if (arena == nullptr) {
        ::operator delete(object);
    } else {
        arena->dropOne();
    }
}

void* ParserArena::take(std::size_t chunk) {
    if (static_cast<std::size_t>(limit_ - next_) < chunk) {
        grow(chunk);
    }
    void* const object = next_;
    next_ += chunk;
    ++live_;
    return object;
}

void ParserArena::grow(std::size_t chunk) {
    // Small trees get small slabs; large ones ever larger, up to a limit.
    const std::size_t header = roundUp(sizeof(Slab), alignment);
    std::size_t size = nextSlabSize_;
    while (size < header + chunk + alignment) {
        size *= 2;
    }
    if (nextSlabSize_ < largestSlabSize) {
        nextSlabSize_ *= 2;
    }
    Slab* const slab = static_cast<Slab*>(::operator new(size));
    slab->next = slabs_;
    slabs_ = slab;
    // The heap may align less than a node needs on some platforms.
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(slab) + sizeof(Slab);
    next_ = reinterpret_cast<char*>(roundUp(start, alignment));
    limit_ = reinterpret_cast<char*>(slab) + size;
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
