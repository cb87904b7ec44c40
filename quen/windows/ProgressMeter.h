// The abstract progress interface of long operations.
#ifndef QUEN_WINDOWS_PROGRESSMETER_H
#define QUEN_WINDOWS_PROGRESSMETER_H

#include "quen/platform/Export.h"

namespace quen {

class QUEN_API ProgressMeter {
public:
    static const char* version();

    ProgressMeter();
    virtual ~ProgressMeter();

    // The operation's title.
    virtual void title(const char* text) = 0;
    // The number of steps that make the whole operation.
    virtual void numberOfSteps(int steps) = 0;
    // Back to the start, with a new title unless the text is empty.
    virtual void reset(const char* text) = 0;
    virtual void step(int steps) = 0;
    // One step on, with a new title unless the text is empty.
    virtual void step(const char* text) = 0;
    // True once the user asked to stop; never, here.
    virtual bool cancelled() const;
};

}  // namespace quen

#endif
