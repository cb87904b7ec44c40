#include <gtest/gtest.h>

#include <string>

#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"

using quen::WindowsError;
using quen::WindowsSystemMessage;

namespace {

class DerivedError : public WindowsError {
public:
    explicit DerivedError(long code) : WindowsError(code) {}
};

bool endsWithCrLf(const std::string& text) {
    return text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

// The system's text for `code` through FormatMessageA directly; 0 and no
// buffer when it has none.
DWORD systemText(DWORD code, std::string& text) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                                        0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    text = buffer == nullptr ? "" : std::string(buffer, length);
    EXPECT_EQ(nullptr, LocalFree(buffer));
    return length;
}

}  // namespace

TEST(WindowsError, GivesTheSystemTextUntrimmed) {
    const WindowsError notFound(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(2, notFound.code());
    const std::string text = notFound.message();
    EXPECT_TRUE(endsWithCrLf(text)) << text;
    std::string direct;
    ASSERT_NE(0u, systemText(ERROR_FILE_NOT_FOUND, direct));
    EXPECT_EQ(direct, text);
    EXPECT_NE(std::string(WindowsError(ERROR_ACCESS_DENIED).message()), text);
    // A code without a system text gives an empty message.
    EXPECT_EQ(0u, systemText(0x20001234, direct));
    EXPECT_EQ("", direct);
    EXPECT_STREQ("", WindowsError(0x20001234L).message());
    EXPECT_STREQ("", WindowsSystemMessage(0x20001234).message());
}

TEST(WindowsError, DefaultConstructionReadsTheLastError) {
    SetLastError(87);
    EXPECT_EQ(87u, GetLastError());
    SetLastError(ERROR_ACCESS_DENIED);
    const WindowsError error;
    EXPECT_EQ(5, error.code());
    EXPECT_TRUE(error == WindowsError(ERROR_ACCESS_DENIED));
}

TEST(WindowsError, EqualityNeedsTypeCodeAndText) {
    EXPECT_TRUE(WindowsError(2) == WindowsError(2));
    EXPECT_FALSE(WindowsError(2) == WindowsError(5));
    EXPECT_FALSE(WindowsError(2) == DerivedError(2));
    WindowsError assigned(5);
    assigned = WindowsError(2);
    EXPECT_TRUE(assigned == WindowsError(2));
    EXPECT_TRUE(WindowsError(assigned) == assigned);
}

TEST(WindowsSystemMessage, GivesTheSameTextAsWindowsError) {
    EXPECT_STREQ("WindowsSystemMessage 1.0, 23.09.1999", WindowsSystemMessage::version());
    for (const int code : {2, 5, 6, 87, 234, 259}) {
        const WindowsSystemMessage message(code);
        EXPECT_STREQ(WindowsError(code).message(), message.message()) << code;
        EXPECT_TRUE(endsWithCrLf(message.message())) << code;
    }
}
