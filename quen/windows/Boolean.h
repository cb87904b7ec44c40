// The cancel flag shared between a caller and a progress monitor.
#ifndef QUEN_WINDOWS_BOOLEAN_H
#define QUEN_WINDOWS_BOOLEAN_H

#include "quen/platform/Export.h"

namespace quen {

// A bool that is shared by reference: the monitor keeps the caller's object
// and reads it afresh every time, so that a window procedure run while the
// queue is drained can set it. Its members live in this header.
class Boolean {
public:
    Boolean(bool value = false) : value_(value) {}
    virtual ~Boolean() {}

    operator bool() const { return value_; }
    Boolean& operator=(bool value) {
        value_ = value;
        return *this;
    }

private:
    bool value_;
};

// The library's two constant flags, built when the library loads, after its
// message table.
extern QUEN_API const Boolean booleanFalse;
extern QUEN_API const Boolean booleanTrue;

}  // namespace quen

#endif
