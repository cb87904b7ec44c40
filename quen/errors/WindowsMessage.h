// Modal message boxes.
#ifndef QUEN_ERRORS_WINDOWSMESSAGE_H
#define QUEN_ERRORS_WINDOWSMESSAGE_H

#include <exception>

#include "quen/platform/Export.h"

namespace quen {

// Shows a message box owned by the desktop at once and waits for the user.
// The type is the standard MB_ flags, passed on unchanged. Null texts are
// taken as empty.
class QUEN_API WindowsMessage {
public:
    static const char* version();

    WindowsMessage(const char* text, const char* caption, unsigned int type);
    virtual ~WindowsMessage();

    // The id of the button pressed (IDOK, IDCANCEL, ...).
    int reply() const;

private:
    int reply_;
};

// Shows the text followed directly by the exception's what() in a message
// box; the reply is not kept.
class QUEN_API WindowsExceptionMessage {
public:
    WindowsExceptionMessage(const std::exception& exception, const char* text, const char* caption,
                            unsigned int type);
    virtual ~WindowsExceptionMessage();
};

}  // namespace quen

#endif
