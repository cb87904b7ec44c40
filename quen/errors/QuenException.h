// The one exception type of the library.
#ifndef QUEN_ERRORS_QUENEXCEPTION_H
#define QUEN_ERRORS_QUENEXCEPTION_H

#include <exception>
#include <string>

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

// Carries one text: a message of the library's table, maybe with details
// joined to it, a fixed text, or the system's text for a Win32 error.
// Callers tell failures apart by comparing what() with the table's texts.
class QUEN_API QuenException : public std::exception {
public:
    static const char* version();

    // A null pointer is taken as the empty text.
    QuenException(const char* message);
    QuenException(const std::string& message);
    QuenException(const StdString& message);
    QuenException(const QuenException& other);
    QuenException& operator=(const QuenException& other);
    ~QuenException() override;

    // Never null; "" for an empty message.
    const char* what() const noexcept override;

private:
    StdString message_;
};

// Throws QuenException "Not yet implemented: " followed by the name.
[[noreturn]] QUEN_API void notYet(const StdString& name);

}  // namespace quen

#endif
