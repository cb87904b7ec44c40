#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsMessage.h"
#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

using quen::WindowsExceptionMessage;
using quen::WindowsMessage;
using support::MessageBoxDriver;

TEST(WindowsMessage, ShowsTheBoxAndKeepsTheReply) {
    const struct {
        const char* text;  // null texts show as empty
        const char* caption;
        UINT type;
        int reply;
        std::vector<int> buttons;
    } rows[] = {
        {"Overwrite the file?", "Copy", MB_YESNO | MB_ICONQUESTION, IDNO, {IDYES, IDNO}},
        {"Done.", "quen", MB_OK, IDOK, {IDOK}},
        {nullptr, nullptr, MB_OKCANCEL, IDCANCEL, {IDOK, IDCANCEL}},
    };
    for (const auto& row : rows) {
        MessageBoxDriver driver(row.reply);
        EXPECT_EQ(row.reply, WindowsMessage(row.text, row.caption, row.type).reply());
        const support::ShownBox box = driver.box();
        EXPECT_EQ(row.caption == nullptr ? "" : row.caption, box.caption);
        EXPECT_EQ(row.text == nullptr ? "" : row.text, box.text);
        EXPECT_EQ(row.buttons, box.buttons) << row.reply;
    }
}

TEST(WindowsExceptionMessage, ShowsThePrefixFollowedDirectlyByWhat) {
    {
        MessageBoxDriver driver(IDOK);
        const WindowsExceptionMessage message(quen::QuenException("File READ error"), "Cannot load the settings: ",
                                              "Settings", MB_OK | MB_ICONERROR);
        const support::ShownBox box = driver.box();
        EXPECT_EQ("Cannot load the settings: File READ error", box.text);
        EXPECT_EQ("Settings", box.caption);
    }
    MessageBoxDriver driver(IDOK);
    const WindowsExceptionMessage message(std::runtime_error("disk full"), nullptr, "quen", MB_OK);
    EXPECT_EQ("disk full", driver.box().text);  // a null prefix shows only what()
}
