#include "quen/errors/WindowsMessage.h"

#include "quen/platform/Win32.h"
#include "quen/strings/StdString.h"

namespace quen {

const char* WindowsMessage::version() {
    return "WindowsMessage 1.0, 21.09.1999";
}

WindowsMessage::WindowsMessage(const char* text, const char* caption, unsigned int type)
    : reply_(MessageBoxA(GetDesktopWindow(), text != nullptr ? text : "", caption != nullptr ? caption : "",
                         type)) {}

WindowsMessage::~WindowsMessage() = default;

int WindowsMessage::reply() const {
    return reply_;
}

WindowsExceptionMessage::WindowsExceptionMessage(const std::exception& exception, const char* text,
                                                 const char* caption, unsigned int type) {
    StdString shown(text);
    shown += exception.what();
    const WindowsMessage box(shown, caption, type);
    static_cast<void>(box.reply());  // the reply is not kept
}

WindowsExceptionMessage::~WindowsExceptionMessage() = default;

}  // namespace quen
