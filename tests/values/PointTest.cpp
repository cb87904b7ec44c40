#include <gtest/gtest.h>

#include "quen/values/Extent.h"
#include "quen/values/ExtentFP.h"
#include "quen/values/Point.h"
#include "quen/values/PointFP.h"

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

TEST(Point, Banners) {
    EXPECT_EQ("Point 1.0, 16.08.1999", std::string(Point::version().c_str()));
    EXPECT_EQ("PointFP 1.0, 16.08.1999", std::string(PointFP::version().c_str()));
    EXPECT_EQ("Extent 1.0, 16.08.1999", std::string(Extent::version().c_str()));
    EXPECT_EQ("ExtentFP 1.0, 16.08.1999", std::string(ExtentFP::version().c_str()));
}

TEST(Point, ConstructionAndCopies) {
    const Point origin;
    EXPECT_EQ(0, origin.x);
    EXPECT_EQ(0, origin.y);
    Point p(3, -4);
    EXPECT_EQ(3, p.x);
    EXPECT_EQ(-4, p.y);
    Point q(p);
    EXPECT_TRUE(q == p);
    q = origin;
    EXPECT_TRUE(q == origin);
    const Point& same = q;
    q = same;  // assignment to itself
    EXPECT_TRUE(q == origin);
    const ExtentFP e(1.5, 2.5);
    ExtentFP f;
    f = e;
    EXPECT_EQ(1.5, f.x);
    EXPECT_EQ(2.5, f.y);
}

TEST(Point, OrderIsRowByRowAndSigned) {
    EXPECT_TRUE(Point(1, 2) < Point(0, 3));   // y decides first
    EXPECT_FALSE(Point(0, 3) < Point(1, 2));
    EXPECT_TRUE(Point(1, 2) < Point(2, 2));
    EXPECT_FALSE(Point(2, 2) < Point(2, 2));
    EXPECT_TRUE(Point(-1, 0) < Point(0, 0));
    EXPECT_TRUE(Point(5, -1) < Point(0, 0));
    EXPECT_TRUE(PointFP(0.5, -0.25) < PointFP(0.0, 0.0));
    EXPECT_FALSE(PointFP(0.5, 1.0) < PointFP(0.25, 1.0));
}

TEST(Point, EqualityIsExactAndPerDynamicClass) {
    const double sum = 0.1 + 0.2;
    EXPECT_FALSE(PointFP(sum, 0.0) == PointFP(0.3, 0.0));
    EXPECT_TRUE(PointFP(sum, 1.0) == PointFP(sum, 1.0));
    EXPECT_TRUE(ExtentFP() == ExtentFP(0.0, 0.0));
    EXPECT_TRUE(Extent(2, 3) == Extent(2, 3));
    EXPECT_FALSE(Extent(2, 3) == Extent(3, 2));
    EXPECT_TRUE(Extent(2, 3) != Extent(2, 4));

    const OtherPoint derived(1, 2);
    const Point plain(1, 2);
    EXPECT_FALSE(plain == derived);
    EXPECT_FALSE(derived == plain);
    EXPECT_FALSE(Point(0, 0) < derived);
    EXPECT_FALSE(derived < Point(5, 5));
    EXPECT_TRUE(derived == OtherPoint(1, 2));
}
