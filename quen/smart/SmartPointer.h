// A shared owner of one heap object.
#ifndef QUEN_SMART_SMARTPOINTER_H
#define QUEN_SMART_SMARTPOINTER_H

#include "quen/smart/ObjRef.h"
#include "quen/smart/SmartBase.h"

#include <new>

namespace quen {

template <typename T>
class SmartPointer : public SmartBase<T, ObjRef<T>> {
    typedef SmartBase<T, ObjRef<T>> Base;

public:
    // Holds nothing; deletes nothing.
    SmartPointer() : Base(new ObjRef<T>(nullptr)) {}
    // Takes ownership of an object made with new.
    explicit SmartPointer(T* object) : Base(adopt(object)) {}
    SmartPointer(const SmartPointer& other) : Base(other) {}
    SmartPointer& operator=(const SmartPointer& other) {
        Base::operator=(other);
        return *this;
    }

    const char* version() const override { return "SmartPointer 1.0, 10.09.1999"; }

    T* operator->() const { return this->get(); }
    T& operator*() const { return *this->get(); }

private:
    // The object is ours from the call on, even when its block cannot be made.
    static ObjRef<T>* adopt(T* object) {
        ObjRef<T>* const block = new (std::nothrow) ObjRef<T>(object);
        if (block == nullptr) {
            delete object;
            throw std::bad_alloc();
        }
        return block;
    }
};

}  // namespace quen

#endif
