#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/errors/WindowsMessage.h"
#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"
#include "support/Texts.h"

using quen::QuenException;
using quen::StdString;
using quen::WindowsError;

namespace {

struct DerivedError : WindowsError { using WindowsError::WindowsError; };

// The system's text for the code through FormatMessageA itself; "" when it has none.
std::string systemText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                                        0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const std::string text = buffer == nullptr ? "" : std::string(buffer, length);
    EXPECT_EQ(nullptr, LocalFree(buffer));
    return text;
}

}  // namespace

TEST(QuenException, CarriesItsTextFromEveryKindOfStringThroughCopies) {
    const std::pair<std::string, QuenException> rows[] = {
        {"standard", QuenException(std::string("standard"))}, {"ours", QuenException(StdString("ours"))},
        {"", QuenException(std::string())}, {"", QuenException(static_cast<const char*>(nullptr))}, {"", QuenException(StdString())}};
    for (const auto& row : rows) EXPECT_STREQ(row.first.c_str(), row.second.what());
    const QuenException original("File READ error");
    QuenException assigned("other");
    assigned = original;
    assigned = static_cast<const QuenException&>(assigned);
    EXPECT_STREQ("File READ error", static_cast<const std::exception&>(QuenException(assigned)).what());
    EXPECT_EQ("Not yet implemented: setEOF|Not yet implemented: ",
              support::thrown([] { quen::notYet("setEOF"); }) + "|" + support::thrown([] { quen::notYet(""); }));
}

// Both give the system's text untrimmed, line break and all; a code without a text gives an empty message.
TEST(WindowsError, GivesTheSystemTextUntrimmed) {
    for (const long code : {2L, 5L, 6L, 87L, 234L, 259L, 0x20001234L}) {
        const std::string text = systemText(static_cast<DWORD>(code));
        EXPECT_EQ(code == 0x20001234L, text.empty()) << code;
        EXPECT_TRUE(text.empty() || text.compare(text.size() - 2, 2, "\r\n") == 0) << text;
        EXPECT_EQ(text, WindowsError(code).message()) << code;
        EXPECT_EQ(text, quen::WindowsSystemMessage(static_cast<int>(code)).message()) << code;
        EXPECT_EQ(code, WindowsError(code).code());
    }
    EXPECT_NE(systemText(2), systemText(5));
    SetLastError(ERROR_ACCESS_DENIED);
    const WindowsError last;  // the thread's last error
    EXPECT_TRUE(last.code() == 5 && last.message() == systemText(5));
}

TEST(WindowsError, EqualityNeedsTypeCodeAndText) {
    WindowsError assigned(5);
    assigned = WindowsError(2);
    assigned = static_cast<const WindowsError&>(assigned);
    EXPECT_TRUE(assigned == WindowsError(2) && WindowsError(assigned) == assigned && WindowsError(2) != WindowsError(5));
    EXPECT_FALSE(WindowsError(2) == WindowsError(5) || WindowsError(2) == DerivedError(2));
}

TEST(WindowsMessage, ShowsTheBoxAndKeepsTheReply) {
    const struct { const char *text, *caption; UINT type; int reply; std::vector<int> buttons; } rows[] = {
        {"Overwrite the file?", "Copy", MB_YESNO | MB_ICONQUESTION, IDNO, {IDYES, IDNO}},
        {"Done.", "quen", MB_OK, IDOK, {IDOK}},
        {nullptr, nullptr, MB_OKCANCEL, IDCANCEL, {IDOK, IDCANCEL}},  // null texts show as empty
    };
    for (const auto& row : rows) {
        const support::ShownBox box = support::answerBox(row.reply, [&] {
            EXPECT_EQ(row.reply, quen::WindowsMessage(row.text, row.caption, row.type).reply());
        });
        EXPECT_EQ(std::string(row.caption == nullptr ? "" : row.caption) + "|" + (row.text == nullptr ? "" : row.text),
                  box.caption + "|" + box.text);
        EXPECT_EQ(row.buttons, box.buttons) << row.reply;
    }
}

// A null prefix shows only what().
TEST(WindowsExceptionMessage, ShowsThePrefixFollowedDirectlyByWhat) {
    const support::ShownBox box = support::answerBox(IDOK, [] {
        quen::WindowsExceptionMessage(QuenException("File READ error"), "Cannot load the settings: ", "Settings",
                                      MB_OK | MB_ICONERROR);
    });
    EXPECT_EQ("Settings|Cannot load the settings: File READ error", box.caption + "|" + box.text);
    const auto what = [] { quen::WindowsExceptionMessage(std::runtime_error("disk full"), nullptr, "quen", MB_OK); };
    EXPECT_EQ("disk full", support::answerBox(IDOK, what).text);
}
