#include "quen/values/PointFP.h"

namespace quen {

StdString PointFP::version() {
    return "PointFP 1.0, 16.08.1999";
}

PointFP::PointFP() = default;

PointFP::PointFP(const double& first, const double& second) : PointBase<double>(first, second) {}

PointFP::PointFP(const PointFP& other) = default;

PointFP& PointFP::operator=(const PointFP& other) {
    if (this != &other) {
        x = other.x;
        y = other.y;
    }
    return *this;
}

PointFP::~PointFP() = default;

bool PointFP::operator==(const PointFP& other) const {
    return sameAs(other);
}

bool PointFP::operator<(const PointFP& other) const {
    return before(other);
}

}  // namespace quen
