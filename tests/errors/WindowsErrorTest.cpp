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

// The system's text for the code through FormatMessageA itself; "" when it
// has none.
std::string systemText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                                        0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const std::string text = buffer == nullptr ? "" : std::string(buffer, length);
    EXPECT_EQ(nullptr, LocalFree(buffer));
    return text;
}

}  // namespace

// Both give the system's text untrimmed, line break and all; a code without
// a text gives an empty message.
TEST(WindowsError, GivesTheSystemTextUntrimmed) {
    for (const long code : {2L, 5L, 6L, 87L, 234L, 259L, 0x20001234L}) {
        const std::string text = systemText(static_cast<DWORD>(code));
        EXPECT_EQ(code == 0x20001234L, text.empty()) << code;
        EXPECT_TRUE(text.empty() || text.compare(text.size() - 2, 2, "\r\n") == 0) << text;
        EXPECT_EQ(text, WindowsError(code).message()) << code;
        EXPECT_EQ(text, WindowsSystemMessage(static_cast<int>(code)).message()) << code;
        EXPECT_EQ(code, WindowsError(code).code());
    }
    EXPECT_NE(systemText(2), systemText(5));
}

TEST(WindowsError, DefaultConstructionReadsTheLastError) {
    SetLastError(87);
    EXPECT_EQ(87u, GetLastError());
    SetLastError(ERROR_ACCESS_DENIED);
    const WindowsError error;
    EXPECT_EQ(5, error.code());
    EXPECT_EQ(systemText(5), error.message());
}

TEST(WindowsError, EqualityNeedsTypeCodeAndText) {
    EXPECT_TRUE(WindowsError(2) == WindowsError(2));
    EXPECT_FALSE(WindowsError(2) == WindowsError(5));
    EXPECT_FALSE(WindowsError(2) == DerivedError(2));
    EXPECT_TRUE(WindowsError(2) != WindowsError(5));
    WindowsError assigned(5);
    assigned = WindowsError(2);
    const WindowsError& alias = assigned;
    assigned = alias;
    EXPECT_TRUE(assigned == WindowsError(2));
    EXPECT_TRUE(WindowsError(assigned) == assigned);
}
