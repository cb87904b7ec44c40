#include "quen/values/Extent.h"

namespace quen {

StdString Extent::version() {
    return "Extent 1.0, 16.08.1999";
}

Extent::Extent() = default;

Extent::Extent(long first, long second) : ExtentBase<long>(first, second) {}

Extent::Extent(const Extent& other) = default;

Extent& Extent::operator=(const Extent& other) {
    if (this != &other) {
        x = other.x;
        y = other.y;
    }
    return *this;
}

Extent::~Extent() = default;

bool Extent::operator==(const Extent& other) const {
    return sameAs(other);
}

}  // namespace quen
