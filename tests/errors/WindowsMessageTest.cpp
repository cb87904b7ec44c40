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
    EXPECT_STREQ("WindowsMessage 1.0, 21.09.1999", WindowsMessage::version());
    MessageBoxDriver driver(IDNO);
    const WindowsMessage message("Overwrite the file?", "Copy", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(IDNO, message.reply());
    const support::ShownBox box = driver.box();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ("Copy", box.caption);
    EXPECT_EQ("Overwrite the file?", box.text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
}

TEST(WindowsMessage, OkBoxRepliesOk) {
    MessageBoxDriver driver(IDOK);
    const WindowsMessage message("Done.", "quen", MB_OK);
    EXPECT_EQ(IDOK, message.reply());
    EXPECT_EQ((std::vector<int>{IDOK}), driver.box().buttons);
}

TEST(WindowsMessage, NullTextsShowAsEmpty) {
    MessageBoxDriver driver(IDCANCEL);
    const WindowsMessage message(nullptr, nullptr, MB_OKCANCEL);
    EXPECT_EQ(IDCANCEL, message.reply());
    const support::ShownBox box = driver.box();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ("", box.text);
    EXPECT_EQ("", box.caption);
}

TEST(WindowsExceptionMessage, ShowsThePrefixFollowedDirectlyByWhat) {
    MessageBoxDriver driver(IDOK);
    const quen::QuenException error("File READ error");
    const WindowsExceptionMessage message(error, "Cannot load the settings: ", "Settings", MB_OK | MB_ICONERROR);
    const support::ShownBox box = driver.box();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ("Cannot load the settings: File READ error", box.text);
    EXPECT_EQ("Settings", box.caption);
}

TEST(WindowsExceptionMessage, NullPrefixShowsOnlyWhat) {
    MessageBoxDriver driver(IDOK);
    const std::runtime_error error("disk full");
    const WindowsExceptionMessage message(error, nullptr, "quen", MB_OK);
    EXPECT_EQ("disk full", driver.box().text);
}
