// Count blocks of the reference-counted handles.
#ifndef QUEN_SMART_REFBASE_H
#define QUEN_SMART_REFBASE_H

#include <cstdint>

namespace quen {

// Holds the shared pointer and the number of handles sharing it. The count
// is a plain integer: handles that share a block are used by one thread.
template <typename T>
class RefBase {
public:
    explicit RefBase(T* pointer) : pointer_(pointer), count_(1) {}
    RefBase(const RefBase&) = delete;
    RefBase& operator=(const RefBase&) = delete;
    // Does not touch the held pointer: the derived block owns it.
    virtual ~RefBase() {}

    virtual const char* version() const { return "RefBase 1.0, 16.08.1999"; }

    T* pointer() const { return pointer_; }
    std::int32_t count() const { return count_; }
    void addReference() { ++count_; }
    // Returns the count before the release; the caller deletes the block
    // when it was 1.
    std::int32_t release() {
        const std::int32_t before = count_;
        count_ = before - 1;
        return before;
    }

protected:
    T* pointer_;
    std::int32_t count_;
};

}  // namespace quen

#endif
