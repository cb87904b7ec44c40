#include "quen/errors/QuenAssert.h"

namespace quen {

const char* QuenAssert::version() {
    return "QuenAssert 1.0, 23.09.1999";
}

QuenAssert::QuenAssert(bool condition) : state_(condition ? 1 : 0) {}

QuenAssert& QuenAssert::operator=(const QuenAssert& other) {
    state_ = other.state_;
    return *this;
}

QuenAssert::~QuenAssert() = default;

QuenAssert& QuenAssert::operator<<(const char (&)[20]) {
    return *this;
}

QuenAssert& QuenAssert::operator<<(const char (&)[45]) {
    return *this;
}

QuenAssert& QuenAssert::operator<<(const StdString&) {
    return *this;
}

}  // namespace quen
