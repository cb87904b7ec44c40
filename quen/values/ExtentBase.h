// An extent: a horizontal and a vertical size. Extents have no order.
#ifndef QUEN_VALUES_EXTENTBASE_H
#define QUEN_VALUES_EXTENTBASE_H

#include "quen/values/XYBase.h"

namespace quen {

template <typename T>
class ExtentBase : public XYBase<T> {
public:
    ExtentBase() = default;
    ExtentBase(const T& first, const T& second) : XYBase<T>(first, second) {}
};

}  // namespace quen

#endif
