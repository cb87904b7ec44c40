// The shared part of the reference-counted handles.
#ifndef QUEN_SMART_SMARTBASE_H
#define QUEN_SMART_SMARTBASE_H

#include <cstdint>

namespace quen {

// A handle on a count block of type R. The block is never null; it is shared
// by copies and deleted, with what it holds, when its last handle goes.
template <typename T, typename R>
class SmartBase {
public:
    virtual ~SmartBase() { release(); }

    virtual const char* version() const { return "SmartBase 1.0, 10.09.1999"; }

    T* get() const { return ref_->pointer(); }
    explicit operator bool() const { return get() != nullptr; }
    // The number of handles sharing the block.
    std::int32_t count() const { return ref_->count(); }

    // Gives up this handle's block (deleting it and what it holds when this
    // was its last handle) and shares the other's. Assigning a handle to
    // itself, or to another handle of the same block, changes nothing. Public
    // and correct here, not only in the derived handles, so that assigning
    // through a reference to the base keeps the count right: both handles of
    // one count-block type hold the same kind of block.
    SmartBase& operator=(const SmartBase& other) {
        share(other);
        return *this;
    }

protected:
    explicit SmartBase(R* ref) : ref_(ref) {}
    SmartBase(const SmartBase& other) : ref_(other.ref_) { ref_->addReference(); }

    void share(const SmartBase& other) {
        if (ref_ == other.ref_) {
            return;
        }
        R* const old = ref_;
        ref_ = other.ref_;
        ref_->addReference();
        release(old);
    }

private:
    void release() { release(ref_); }
    // Kept out of line: inlined into a caller that holds two handles of one
    // block, it makes GCC 12 report a use after free on a path that the
    // count rules out.
    [[gnu::noinline]] static void release(R* block) {
        if (block->release() == 1) {
            delete block;
        }
    }

    R* ref_;
};

}  // namespace quen

#endif
