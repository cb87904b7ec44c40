#include <gtest/gtest.h>

#include <string>

#include "quen/values/Extent.h"
#include "quen/values/ExtentFP.h"
#include "quen/values/Point.h"
#include "quen/values/PointFP.h"
#include "quen/values/TimeDate.h"

using quen::Extent;
using quen::ExtentFP;
using quen::Point;
using quen::PointFP;

namespace {

class OtherPoint : public Point {
public:
    using Point::Point;
};

}  // namespace

TEST(Values, Banners) {
    const std::pair<std::string, std::string> rows[] = {
        {"TimeDate 1.0, 16.08.1999", quen::TimeDate::version()},
        {"Point 1.0, 16.08.1999", Point::version().c_str()},
        {"PointFP 1.0, 16.08.1999", PointFP::version().c_str()},
        {"Extent 1.0, 16.08.1999", Extent::version().c_str()},
        {"ExtentFP 1.0, 16.08.1999", ExtentFP::version().c_str()},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.first, row.second);
    }
}

TEST(Point, OrderIsRowByRowAndSigned) {
    const struct {
        Point a, b;
        bool less;
    } rows[] = {
        {{1, 2}, {0, 3}, true},  // y decides first
        {{0, 3}, {1, 2}, false}, {{1, 2}, {2, 2}, true}, {{2, 2}, {2, 2}, false},
        {{-1, 0}, {0, 0}, true}, {{5, -1}, {0, 0}, true}, {{}, {0, 1}, true},
    };
    for (const auto& row : rows) EXPECT_EQ(row.less, row.a < row.b) << row.a.x << "," << row.a.y;
    EXPECT_TRUE(PointFP(0.5, -0.25) < PointFP(0.0, 0.0));
    EXPECT_FALSE(PointFP(0.5, 1.0) < PointFP(0.25, 1.0));
    const OtherPoint derived(1, 2);
    EXPECT_FALSE(Point(0, 0) < derived);  // no order between types
    EXPECT_FALSE(derived < Point(5, 5));
}

TEST(Point, EqualityIsExactAndPerDynamicClass) {
    EXPECT_FALSE(PointFP(0.1 + 0.2, 0.0) == PointFP(0.3, 0.0));
    EXPECT_TRUE(ExtentFP() == ExtentFP(0.0, 0.0));
    EXPECT_TRUE(Extent(2, 3) == Extent(2, 3));
    EXPECT_FALSE(Extent(2, 3) == Extent(3, 2));
    EXPECT_TRUE(Extent(2, 3) != Extent(2, 4));
    Point q(3, -4);
    EXPECT_TRUE(Point(q) == q);
    q = Point();
    EXPECT_TRUE(q == Point(0, 0));
    ExtentFP f;
    f = ExtentFP(1.5, 2.5);
    EXPECT_TRUE(f == ExtentFP(1.5, 2.5));
    const OtherPoint derived(1, 2);
    EXPECT_FALSE(Point(1, 2) == derived);
    EXPECT_FALSE(derived == Point(1, 2));
    EXPECT_TRUE(derived == OtherPoint(1, 2));
}
