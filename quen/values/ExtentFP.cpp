#include "quen/values/ExtentFP.h"

namespace quen {

StdString ExtentFP::version() {
    return "ExtentFP 1.0, 16.08.1999";
}

ExtentFP::ExtentFP() = default;

ExtentFP::ExtentFP(const double& first, const double& second) : ExtentBase<double>(first, second) {}

ExtentFP::ExtentFP(const ExtentFP& other) = default;

ExtentFP& ExtentFP::operator=(const ExtentFP& other) {
    if (this != &other) {
        x = other.x;
        y = other.y;
    }
    return *this;
}

ExtentFP::~ExtentFP() = default;

bool ExtentFP::operator==(const ExtentFP& other) const {
    return sameAs(other);
}

}  // namespace quen
