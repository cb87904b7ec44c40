// Behaviour of the Linux Win32 subset that Windows gives in its own way.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
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
    // A short buffer and a missing FROM_SYSTEM flag fail.
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 4, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
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

namespace {

int seenType = -1;
int recordType(HWND owner, const char*, const char* caption, UINT type, void*) {
    seenType = static_cast<int>(type);
    EXPECT_EQ(GetDesktopWindow(), owner);
    EXPECT_STREQ("Error", caption);  // a box without a caption is captioned so
    return IDRETRY;
}

// Reads what the child writes to its terminal until `marker` appears (or
// the child goes quiet).
std::string readTerminalUntil(int terminal, const std::string& marker) {
    std::string seen;
    char buffer[256];
    while (seen.find(marker) == std::string::npos) {
        pollfd ready = {terminal, POLLIN, 0};
        const ssize_t got = poll(&ready, 1, 10000) <= 0 ? 0 : read(terminal, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen;
}

// Shows a box in a child process on a terminal of its own, gives each
// answer after a prompt, and returns the box's reply; `prompt` gets the
// first prompt.
int answerOnTerminal(const char* text, const char* caption, UINT type, std::initializer_list<std::string> answers,
                     std::string& prompt) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) {
        ADD_FAILURE() << "forkpty failed";
        return -1;
    }
    if (child == 0) {
        _exit(MessageBoxA(GetDesktopWindow(), text, caption, type));
    }
    prompt.clear();
    for (const std::string& answer : answers) {
        const std::string seen = readTerminalUntil(terminal, "> ");
        prompt = prompt.empty() ? seen : prompt;
        EXPECT_EQ(static_cast<ssize_t>(answer.size()), write(terminal, answer.data(), answer.size()));
    }
    int status = 0;
    EXPECT_EQ(child, waitpid(child, &status, 0));
    close(terminal);
    EXPECT_TRUE(WIFEXITED(status));
    return WEXITSTATUS(status);
}

}  // namespace

TEST(PosixMessageBox, NobodyToAnswerGivesTheDefaultButtonAndAHandlerAnswers) {
    EXPECT_EQ(IDOK, quen::posix::defaultMessageBoxReply(MB_OK));
    EXPECT_EQ(IDYES, quen::posix::defaultMessageBoxReply(MB_YESNO));
    EXPECT_EQ(IDNO, quen::posix::defaultMessageBoxReply(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDCANCEL, quen::posix::defaultMessageBoxReply(MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONERROR));
    EXPECT_EQ(IDABORT, quen::posix::defaultMessageBoxReply(MB_ABORTRETRYIGNORE | MB_DEFBUTTON4));
    EXPECT_EQ(IDCONTINUE, quen::posix::defaultMessageBoxReply(MB_CANCELTRYCONTINUE | MB_DEFBUTTON3));
    quen::posix::setMessageBoxHandler(&recordType, nullptr);
    EXPECT_EQ(IDRETRY, MessageBoxA(GetDesktopWindow(), "text", nullptr, MB_RETRYCANCEL | MB_ICONWARNING));
    EXPECT_EQ(static_cast<int>(MB_RETRYCANCEL | MB_ICONWARNING), seenType);
    quen::posix::setMessageBoxHandler(nullptr, nullptr);
}

TEST(PosixMessageBox, AsksOnTheProcesssTerminal) {
    std::string prompt;
    // An answer that names no button asks again; then "c" chooses Cancel.
    EXPECT_EQ(IDCANCEL, answerOnTerminal("Overwrite the file?", "Copy", MB_YESNOCANCEL | MB_DEFBUTTON2,
                                         {"maybe\n", "c\n"}, prompt));
    EXPECT_NE(std::string::npos, prompt.find("[Copy]")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("Overwrite the file?")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("1) Yes  2) No (default)  3) Cancel")) << prompt;
    // An empty answer takes the default.
    EXPECT_EQ(IDCANCEL, answerOnTerminal("Retry?", "Disk", MB_RETRYCANCEL | MB_DEFBUTTON2, {"\n"}, prompt));
}
