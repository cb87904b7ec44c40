// Behaviour of the Linux Win32 subset that Windows gives in its own way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "quen/errors/WindowsError.h"
#include "quen/platform/Win32.h"

TEST(PosixErrors, SystemTextIsTheErrnoTextWithCrLf) {
    char buffer[256];
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0,
                       buffer, sizeof buffer, nullptr);
    EXPECT_EQ(std::string(std::strerror(EACCES)) + "\r\n", std::string(buffer, length));
    EXPECT_EQ(length, std::strlen(buffer));
    // A short buffer and a missing FROM_SYSTEM flag fail.
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 4, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "text", 0, 0, buffer, sizeof buffer, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND), GetLastError());
    errno = ENOSPC;
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_DISK_FULL), quen::posix::setLastErrorFromErrno());
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_DISK_FULL), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), quen::posix::win32ErrorFromErrno(EINVAL));
    EXPECT_STREQ("The specified resource name cannot be found in the image file.\r\n",
                 quen::WindowsError(ERROR_RESOURCE_NAME_NOT_FOUND).message());
}

// Every code the subset's sources name has a definition and a text of its own, as WindowsError shows it: a new
// code without a text would give callers an empty message.
TEST(PosixErrors, EveryCodeTheSubsetNamesHasASystemText) {
    std::map<std::string, DWORD> defined;
    std::set<std::string> named;
    const std::regex definition("#\\s*define\\s+(ERROR_[A-Z0-9_]+)\\s+([0-9]+)L?\\b");
    const std::regex codeName("\\bERROR_[A-Z0-9][A-Z0-9_]*");
    for (const auto& entry : std::filesystem::directory_iterator(QUEN_POSIX_SOURCES)) {
        std::ifstream file(entry.path());
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator found(text.begin(), text.end(), definition), end; found != end; ++found) {
            defined[(*found)[1]] = static_cast<DWORD>(std::stoul((*found)[2]));
        }
        for (std::sregex_iterator found(text.begin(), text.end(), codeName), end; found != end; ++found) {
            named.insert(found->str());
        }
    }
    EXPECT_GT(named.size(), 50u);
    for (const std::string& name : named) {
        SCOPED_TRACE(name);
        ASSERT_EQ(1u, defined.count(name));
        const std::string message = quen::WindowsError(static_cast<long>(defined[name])).message();
        ASSERT_GT(message.size(), 3u);
        EXPECT_EQ("\r\n", message.substr(message.size() - 2));
        EXPECT_EQ(std::string::npos, message.find('%'));
    }
}

TEST(PosixStringResources, TablesBelongToTheirModule) {
    static const quen::posix::StringResource table[] = {{7, "seven"}, {8, ""}, {9, "beyond the count"}};
    static char moduleImage;
    HINSTANCE module = reinterpret_cast<HINSTANCE>(&moduleImage);
    quen::posix::registerStringTable(module, table, 2);
    char text[16];
    EXPECT_EQ(5, LoadStringA(module, 7, text, sizeof text));
    EXPECT_EQ(0, LoadStringA(module, 8, text, sizeof text));  // an empty string counts as none
    EXPECT_EQ(0, LoadStringA(module, 9, text, sizeof text));  // past the count registered
    quen::posix::unregisterStringTable(module);
    EXPECT_EQ(0, LoadStringA(module, 7, text, sizeof text));
}

namespace {

int recordType(HWND owner, const char*, const char* caption, UINT type, void* seenType) {
    *static_cast<UINT*>(seenType) = owner == GetDesktopWindow() && std::strcmp(caption, "Error") == 0 ? type : 0;
    return IDRETRY;
}

// Shows a box in a child process on a terminal of its own, gives each answer after a prompt (what came before the first
// goes to `prompt`), and returns the box's reply.
int onTerminal(const char* text, const char* caption, UINT type, std::initializer_list<std::string> answers,
               std::string& prompt) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) _exit(MessageBoxA(GetDesktopWindow(), text, caption, type));
    EXPECT_GT(child, 0);
    prompt.clear();
    for (const std::string& answer : answers) {
        std::string seen;  // until the prompt shows, or the child goes quiet
        char buffer[256];
        for (pollfd ready = {terminal, POLLIN, 0}; seen.find("> ") == std::string::npos && poll(&ready, 1, 10000) > 0;) {
            const ssize_t got = read(terminal, buffer, sizeof buffer);
            if (got <= 0) break;
            seen.append(buffer, static_cast<std::size_t>(got));
        }
        prompt = prompt.empty() ? seen : prompt;
        EXPECT_EQ(static_cast<ssize_t>(answer.size()), write(terminal, answer.data(), answer.size()));
    }
    int status = 0;
    EXPECT_EQ(child, waitpid(child, &status, 0));
    close(terminal);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(PosixMessageBox, AHandlerOrTheTerminalAnswersElseTheDefaultButton) {
    UINT seenType = 0;
    quen::posix::setMessageBoxHandler(&recordType, &seenType);
    // A box without a caption is captioned "Error".
    EXPECT_EQ(IDRETRY, MessageBoxA(GetDesktopWindow(), "text", nullptr, MB_RETRYCANCEL | MB_ICONWARNING));
    EXPECT_EQ(static_cast<UINT>(MB_RETRYCANCEL | MB_ICONWARNING), seenType);
    quen::posix::setMessageBoxHandler(nullptr, nullptr);
    // Each box's reply without a terminal, and with one after the answers given: a button's number or the start of its
    // label, ignoring case and blanks; an empty line takes the default. Anything else asks again.
    const struct { UINT type; int byDefault; std::initializer_list<std::string> answers; int reply; } rows[] = {
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO, {"maybe\n", "\n"}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONERROR, IDCANCEL, {"4\n", "0\n", "12\n", "2\n"}, IDNO},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON4, IDABORT, {"  rEt \n"}, IDRETRY},  // a default beyond the buttons: the first
        {MB_OKCANCEL, IDOK, {"cancels\n", "OK\n"}, IDOK},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE, {"t\n"}, IDTRYAGAIN},
    };
    std::string prompt;
    for (const auto& row : rows) {
        SCOPED_TRACE(*row.answers.begin());
        EXPECT_EQ(row.byDefault, quen::posix::defaultMessageBoxReply(row.type));
        EXPECT_EQ(row.reply, onTerminal("Go on?", "Disk", row.type, row.answers, prompt));
    }
    EXPECT_EQ(IDCANCEL, onTerminal("Overwrite the file?", "Copy", MB_YESNOCANCEL | MB_DEFBUTTON2, {"c\n"}, prompt));
    prompt.erase(std::remove(prompt.begin(), prompt.end(), '\r'), prompt.end());  // the terminal's line ends
    EXPECT_EQ("\n[Copy]\nOverwrite the file?\n  1) Yes  2) No (default)  3) Cancel\n> ", prompt);
}
