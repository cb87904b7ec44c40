#include "quen/errors/WindowsError.h"

#include <typeinfo>

#include "quen/platform/Win32.h"

namespace quen {
namespace {

// The system's text for the code, as FormatMessageA gives it with the
// buffer allocated for us and inserts not suppressed.
StdString systemText(long code, DWORD size) {
    StdString text;
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
                                        nullptr, static_cast<DWORD>(code), 0,
                                        reinterpret_cast<LPSTR>(&buffer), size, nullptr);
    if (buffer != nullptr) {
        if (length != 0) {
            text.assign(buffer, length);
        }
        LocalFree(buffer);
    }
    return text;
}

}  // namespace

WindowsError::WindowsError() : code_(static_cast<long>(GetLastError())), message_(systemText(code_, 1024)) {}

WindowsError::WindowsError(long code) : code_(code), message_(systemText(code, 1024)) {}

WindowsError::WindowsError(const WindowsError& other) = default;

WindowsError& WindowsError::operator=(const WindowsError& other) {
    if (this != &other) {
        code_ = other.code_;
        message_ = other.message_;
    }
    return *this;
}

WindowsError::~WindowsError() = default;

bool WindowsError::operator==(const WindowsError& other) const {
    return typeid(*this) == typeid(other) && code_ == other.code_ && message_ == other.message_;
}

const char* WindowsError::message() const {
    return message_.c_str();
}

const char* WindowsSystemMessage::version() {
    return "WindowsSystemMessage 1.0, 23.09.1999";
}

WindowsSystemMessage::WindowsSystemMessage(int code) : message_(systemText(code, 0)) {}

WindowsSystemMessage::~WindowsSystemMessage() = default;

const char* WindowsSystemMessage::message() const {
    return message_.c_str();
}

}  // namespace quen
