#include "quen/errors/DebugStream.h"

namespace quen {

const char* DebugStream::version() {
    return "DebugStream 1.0, 23.09.1999";
}

DebugStream::DebugStream(unsigned long) {}

DebugStream::DebugStream(const StdString&, unsigned long, bool) {}

DebugStream::~DebugStream() = default;

unsigned long DebugStream::debugLevel() {
    return 0;
}

unsigned long DebugStream::debugLevel(unsigned long) {
    return 0;
}

void DebugStream::fileName(const StdString&, bool) {}

void DebugStream::on() {}

void DebugStream::off() {}

}  // namespace quen
