#include "quen/values/Point.h"

namespace quen {

StdString Point::version() {
    return "Point 1.0, 16.08.1999";
}

Point::Point() = default;

Point::Point(long first, long second) : PointBase<long>(first, second) {}

Point::Point(const Point& other) = default;

Point& Point::operator=(const Point& other) {
    if (this != &other) {
        x = other.x;
        y = other.y;
    }
    return *this;
}

Point::~Point() = default;

bool Point::operator==(const Point& other) const {
    return sameAs(other);
}

bool Point::operator<(const Point& other) const {
    return before(other);
}

}  // namespace quen
