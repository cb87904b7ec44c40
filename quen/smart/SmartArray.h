// A shared owner of one heap array.
#ifndef QUEN_SMART_SMARTARRAY_H
#define QUEN_SMART_SMARTARRAY_H

#include <cstddef>

#include "quen/smart/ArrayRef.h"
#include "quen/smart/SmartBase.h"

#include <new>

namespace quen {

template <typename T>
class SmartArray : public SmartBase<T, ArrayRef<T>> {
    typedef SmartBase<T, ArrayRef<T>> Base;

public:
    // Takes ownership of an array made with new T[n].
    explicit SmartArray(T* array) : Base(adopt(array)) {}
    SmartArray(const SmartArray& other) : Base(other) {}
    SmartArray& operator=(const SmartArray& other) {
        Base::operator=(other);
        return *this;
    }

    const char* version() const override { return "SmartArray 1.0, 10.09.1999"; }

    T& operator[](std::size_t index) const { return this->get()[index]; }

private:
    // The array is ours from the call on, even when its block cannot be made.
    static ArrayRef<T>* adopt(T* array) {
        ArrayRef<T>* const block = new (std::nothrow) ArrayRef<T>(array);
        if (block == nullptr) {
            delete[] array;
            throw std::bad_alloc();
        }
        return block;
    }
};

}  // namespace quen

#endif
