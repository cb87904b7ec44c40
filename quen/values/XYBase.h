// Two values of one type: the common base of the points and extents.
#ifndef QUEN_VALUES_XYBASE_H
#define QUEN_VALUES_XYBASE_H

#include <typeinfo>

namespace quen {

template <typename T>
class XYBase {
public:
    XYBase() : x(), y() {}
    XYBase(const T& first, const T& second) : x(first), y(second) {}
    XYBase(const XYBase& other) = default;
    XYBase& operator=(const XYBase& other) = default;
    virtual ~XYBase() = default;

    T x;
    T y;

protected:
    // Exact equality, and only between objects of the same dynamic class.
    bool sameAs(const XYBase& other) const {
        return typeid(*this) == typeid(other) && x == other.x && y == other.y;
    }
};

}  // namespace quen

#endif
