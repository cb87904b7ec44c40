// Behaviour of the Linux Win32 subset that Windows gives in its own way.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

// Reads what the child writes to its terminal until `marker` has appeared
// `times` times (or the child goes quiet).
std::string readTerminalUntil(int terminal, const std::string& marker, int times) {
    std::string seen;
    char buffer[256];
    auto count = [&] {
        int found = 0;
        for (std::size_t at = seen.find(marker); at != std::string::npos; at = seen.find(marker, at + 1)) {
            ++found;
        }
        return found;
    };
    while (count() < times) {
        pollfd ready = {terminal, POLLIN, 0};
        if (poll(&ready, 1, 10000) <= 0) {
            break;
        }
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen;
}

}  // namespace

TEST(PosixMessageBox, AsksOnTheProcesssTerminal) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(MessageBoxA(GetDesktopWindow(), "Overwrite the file?", "Copy", MB_YESNOCANCEL | MB_DEFBUTTON2));
    }
    const std::string prompt = readTerminalUntil(terminal, "> ", 1);
    EXPECT_NE(std::string::npos, prompt.find("[Copy]")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("Overwrite the file?")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("1) Yes  2) No (default)  3) Cancel")) << prompt;
    // An answer that names no button asks again; then "c" chooses Cancel.
    ASSERT_EQ(6, write(terminal, "maybe\n", 6));
    readTerminalUntil(terminal, "> ", 1);
    ASSERT_EQ(2, write(terminal, "c\n", 2));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    close(terminal);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(IDCANCEL, WEXITSTATUS(status));
}

TEST(PosixMessageBox, AnEmptyAnswerOnTheTerminalTakesTheDefault) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(MessageBoxA(nullptr, "Retry?", "Disk", MB_RETRYCANCEL | MB_DEFBUTTON2));
    }
    readTerminalUntil(terminal, "> ", 1);
    ASSERT_EQ(1, write(terminal, "\n", 1));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    close(terminal);
    EXPECT_EQ(IDCANCEL, WEXITSTATUS(status));
}
