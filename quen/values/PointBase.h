// A point: XYBase with an order, the second value deciding first.
#ifndef QUEN_VALUES_POINTBASE_H
#define QUEN_VALUES_POINTBASE_H

#include "quen/values/XYBase.h"

namespace quen {

template <typename T>
class PointBase : public XYBase<T> {
public:
    PointBase() = default;
    PointBase(const T& first, const T& second) : XYBase<T>(first, second) {}

protected:
    // Row by row: y first, then x. Objects of different dynamic classes are
    // never before one another.
    bool before(const PointBase& other) const {
        if (typeid(*this) != typeid(other)) {
            return false;
        }
        if (this->y != other.y) {
            return this->y < other.y;
        }
        return this->x < other.x;
    }
};

}  // namespace quen

#endif
