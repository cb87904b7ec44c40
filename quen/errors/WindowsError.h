// The system's texts for Win32 error codes.
#ifndef QUEN_ERRORS_WINDOWSERROR_H
#define QUEN_ERRORS_WINDOWSERROR_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

// A Win32 error code and the system's text for it, exactly as the system
// formats it (line break included). A code without a text gives "".
class QUEN_API WindowsError {
public:
    // The calling thread's last error, read before anything else is called.
    WindowsError();
    explicit WindowsError(long code);
    WindowsError(const WindowsError& other);
    WindowsError& operator=(const WindowsError& other);
    virtual ~WindowsError();

    // Same dynamic type, same code and the same text ignoring case.
    bool operator==(const WindowsError& other) const;
    bool operator!=(const WindowsError& other) const { return !(*this == other); }

    long code() const { return code_; }
    const char* message() const;

private:
    long code_;
    StdString message_;
};

// The system's text for a code, without the code.
class QUEN_API WindowsSystemMessage {
public:
    static const char* version();

    explicit WindowsSystemMessage(int code);
    virtual ~WindowsSystemMessage();

    const char* message() const;

private:
    StdString message_;
};

}  // namespace quen

#endif
