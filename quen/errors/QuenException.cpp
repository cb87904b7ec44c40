#include "quen/errors/QuenException.h"

#include "quen/strings/UtilityStrings.h"

namespace quen {

const char* QuenException::version() {
    return "QuenException 1.0, 16.08.1999";
}

QuenException::QuenException(const char* message) : message_(message != nullptr ? message : "") {}

QuenException::QuenException(const std::string& message) {
    message_.assign(message.data(), message.size());
}

QuenException::QuenException(const StdString& message) : message_(message) {}

QuenException::QuenException(const QuenException& other) : std::exception(other), message_(other.message_) {}

QuenException& QuenException::operator=(const QuenException& other) {
    if (this != &other) {
        std::exception::operator=(other);
        message_ = other.message_;
    }
    return *this;
}

QuenException::~QuenException() = default;

const char* QuenException::what() const noexcept {
    return message_.c_str();
}

void notYet(const StdString& name) {
    StdString message = utilityStrings(19);
    message += name;
    throw QuenException(message);
}

}  // namespace quen
