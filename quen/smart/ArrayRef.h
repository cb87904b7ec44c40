#ifndef QUEN_SMART_ARRAYREF_H
#define QUEN_SMART_ARRAYREF_H

#include "quen/smart/RefBase.h"

namespace quen {

// A count block that deletes its array with delete[].
template <typename T>
class ArrayRef : public RefBase<T> {
public:
    explicit ArrayRef(T* array) : RefBase<T>(array) {}
    ~ArrayRef() override { delete[] this->pointer_; }

    const char* version() const override { return "ArrayRef 1.0, 16.08.1999"; }
};

}  // namespace quen

#endif
