#ifndef QUEN_SMART_OBJREF_H
#define QUEN_SMART_OBJREF_H

#include "quen/smart/RefBase.h"

namespace quen {

// A count block that deletes its object with delete (the object's virtual
// destructor, for a polymorphic T).
template <typename T>
class ObjRef : public RefBase<T> {
public:
    explicit ObjRef(T* pointer) : RefBase<T>(pointer) {}
    ~ObjRef() override { delete this->pointer_; }

    const char* version() const override { return "ObjRef 1.0, 16.08.1999"; }
};

}  // namespace quen

#endif
