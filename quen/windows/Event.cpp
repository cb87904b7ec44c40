#include "quen/windows/Event.h"

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"

namespace quen {
namespace {

// The system's text for the calling thread's last error; read before
// anything else can change it.
[[noreturn]] void throwLastError() {
    const WindowsError error;
    throw QuenException(error.message());
}

DWORD timeoutOf(long milliseconds) {
    // A long is wider than a DWORD on Linux: what does not fit waits
    // without limit rather than for the remainder of a wrapped value.
    const long long value = milliseconds;
    if (value > static_cast<long long>(INFINITE)) {
        return INFINITE;
    }
    return static_cast<DWORD>(milliseconds);
}

}  // namespace

const char* Event::version() {
    return "Event 1.0, 23.09.1999";
}

Event::Event(const char* name, bool initialState, bool manualReset) : name_("EVENT_"), handle_(nullptr) {
    if (name != nullptr) {
        name_ += name;
    }
    handle_ = CreateEventA(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE, name_.c_str());
    if (handle_ == nullptr) {
        throwLastError();
    }
}

Event::~Event() {
    CloseHandle(handle_);
}

void Event::set() {
    if (!SetEvent(handle_)) {
        throwLastError();
    }
}

void Event::reset() {
    if (!ResetEvent(handle_)) {
        throwLastError();
    }
}

bool Event::wait(long milliseconds) {
    const DWORD result = WaitForSingleObject(handle_, timeoutOf(milliseconds));
    if (result == WAIT_OBJECT_0) {
        return true;
    }
    if (result == WAIT_TIMEOUT) {
        return false;
    }
    throwLastError();
}

}  // namespace quen
