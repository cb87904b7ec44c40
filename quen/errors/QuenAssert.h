// The library's streaming assertion. It is inert: it accepts every condition
// and text and has no effect, so code behaves the same whether or not the
// condition holds.
#ifndef QUEN_ERRORS_QUENASSERT_H
#define QUEN_ERRORS_QUENASSERT_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

class QUEN_API QuenAssert {
public:
    static const char* version();

    explicit QuenAssert(bool condition);
    QuenAssert(const QuenAssert& other) = default;
    QuenAssert& operator=(const QuenAssert& other);
    ~QuenAssert();

    // Texts chained onto the assertion: literals of 19 and 44 characters,
    // and strings.
    QuenAssert& operator<<(const char (&text)[20]);
    QuenAssert& operator<<(const char (&text)[45]);
    QuenAssert& operator<<(const StdString& text);

private:
    unsigned char state_;
};

}  // namespace quen

#endif
