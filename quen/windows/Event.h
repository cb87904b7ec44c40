// Named events shared by threads and processes.
#ifndef QUEN_WINDOWS_EVENT_H
#define QUEN_WINDOWS_EVENT_H

#include "quen/platform/BaseTypes.h"
#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

// A kernel event named "EVENT_" followed by the caller's name. The first
// object of a name (in any process) creates the event; later ones open it,
// and then their two switches have no effect. Failures of the system throw
// QuenException with the system's text for the error.
class QUEN_API Event {
public:
    static const char* version();

    // A null name is taken as the empty name.
    Event(const char* name, bool initialState, bool manualReset);
    virtual ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    // True when the event was signalled within the time (milliseconds, -1
    // for no limit), false when the time ran out. Waiting on an auto-reset
    // event takes its signal.
    bool wait(long milliseconds);

    const StdString& name() const { return name_; }

private:
    StdString name_;
    HANDLE handle_;
};

}  // namespace quen

#endif
