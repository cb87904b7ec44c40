// Behaviour of the Linux Win32 subset that Windows gives in its own way.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "quen/platform/Win32.h"

TEST(PosixErrors, SystemTextIsTheErrnoTextWithCrLf) {
    char buffer[256];
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0,
                       buffer, sizeof buffer, nullptr);
    EXPECT_EQ(std::string(std::strerror(EACCES)) + "\r\n", std::string(buffer, length));
    EXPECT_EQ(length, std::strlen(buffer));
}

TEST(PosixErrors, ShortBufferAndMissingFlagFail) {
    char tiny[4];
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, tiny, sizeof tiny,
                                 nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    char buffer[256];
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "text", 0, 0, buffer, sizeof buffer, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND), GetLastError());
}

TEST(PosixErrors, ErrnoValuesMapToWin32Codes) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), quen::posix::win32ErrorFromErrno(ENOENT));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), quen::posix::win32ErrorFromErrno(EACCES));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), quen::posix::win32ErrorFromErrno(EINVAL));
    errno = ENOSPC;
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_DISK_FULL), quen::posix::setLastErrorFromErrno());
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_DISK_FULL), GetLastError());
}

TEST(PosixStringResources, TablesBelongToTheirModule) {
    static const quen::posix::StringResource table[] = {{7, "seven"}, {8, ""}};
    static char moduleImage;
    HINSTANCE module = reinterpret_cast<HINSTANCE>(&moduleImage);
    quen::posix::registerStringTable(module, table, 2);
    char text[16];
    EXPECT_EQ(5, LoadStringA(module, 7, text, sizeof text));
    EXPECT_STREQ("seven", text);
    EXPECT_EQ(0, LoadStringA(module, 8, text, sizeof text));  // an empty string counts as none
    EXPECT_EQ(0, LoadStringA(module, 9, text, sizeof text));
    EXPECT_EQ(0, LoadStringA(module, 7, text, 0));
    quen::posix::unregisterStringTable(module);
    EXPECT_EQ(0, LoadStringA(module, 7, text, sizeof text));
}

TEST(PosixMessageBox, NobodyToAnswerGivesTheDefaultButton) {
    EXPECT_EQ(IDOK, quen::posix::defaultMessageBoxReply(MB_OK));
    EXPECT_EQ(IDYES, quen::posix::defaultMessageBoxReply(MB_YESNO));
    EXPECT_EQ(IDNO, quen::posix::defaultMessageBoxReply(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDCANCEL, quen::posix::defaultMessageBoxReply(MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONERROR));
    EXPECT_EQ(IDABORT, quen::posix::defaultMessageBoxReply(MB_ABORTRETRYIGNORE | MB_DEFBUTTON4));
    EXPECT_EQ(IDCONTINUE, quen::posix::defaultMessageBoxReply(MB_CANCELTRYCONTINUE | MB_DEFBUTTON3));
}

namespace {

int seenType = -1;
int recordType(HWND owner, const char*, const char* caption, UINT type, void*) {
    seenType = static_cast<int>(type);
    EXPECT_EQ(GetDesktopWindow(), owner);
    EXPECT_STREQ("Error", caption);  // a box without a caption is captioned so
    return IDRETRY;
}

}  // namespace

TEST(PosixMessageBox, HandlerSeesTheBoxAndAnswersIt) {
    quen::posix::setMessageBoxHandler(&recordType, nullptr);
    EXPECT_EQ(IDRETRY, MessageBoxA(GetDesktopWindow(), "text", nullptr, MB_RETRYCANCEL | MB_ICONWARNING));
    EXPECT_EQ(static_cast<int>(MB_RETRYCANCEL | MB_ICONWARNING), seenType);
    quen::posix::setMessageBoxHandler(nullptr, nullptr);
}
