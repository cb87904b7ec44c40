// A point with whole-number (signed) coordinates.
#ifndef QUEN_VALUES_POINT_H
#define QUEN_VALUES_POINT_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"
#include "quen/values/PointBase.h"

namespace quen {

class QUEN_API Point : public PointBase<long> {
public:
    static StdString version();

    Point();
    Point(long first, long second);
    Point(const Point& other);
    Point& operator=(const Point& other);
    ~Point() override;

    bool operator==(const Point& other) const;
    bool operator!=(const Point& other) const { return !(*this == other); }
    bool operator<(const Point& other) const;
};

}  // namespace quen

#endif
