// The library's trace stream. It is inert: levels, file names and switches
// are accepted and not kept, and nothing is ever written.
#ifndef QUEN_ERRORS_DEBUGSTREAM_H
#define QUEN_ERRORS_DEBUGSTREAM_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

class QUEN_API DebugStream {
public:
    static const char* version();

    explicit DebugStream(unsigned long level = 4294967295UL);
    DebugStream(const StdString& fileName, unsigned long level, bool append);
    virtual ~DebugStream();

    static unsigned long debugLevel();                     // 0
    static unsigned long debugLevel(unsigned long level);  // ignores level; 0
    static void fileName(const StdString& name, bool append);
    static void on();
    static void off();
};

}  // namespace quen

#endif
