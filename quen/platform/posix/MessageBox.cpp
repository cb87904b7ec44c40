#include "quen/platform/posix/MessageBox.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Button {
    int id;
    const char* label;
};

std::vector<Button> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}};
    default: return {{IDOK, "OK"}};
    }
}

quen::posix::MessageBoxHandler currentHandler = nullptr;
void* currentContext = nullptr;

// Index of the button that a reply line chooses: its number (from 1) or the
// start of its label, ignoring case. An empty line chooses the default.
int chosenButton(const std::string& line, const std::vector<Button>& buttons, int defaultIndex) {
    std::size_t begin = line.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return defaultIndex;
    }
    std::size_t end = line.find_last_not_of(" \t\r\n");
    const std::string answer = line.substr(begin, end - begin + 1);
    if (answer.size() == 1 && answer[0] >= '1' && answer[0] < '1' + static_cast<int>(buttons.size())) {
        return answer[0] - '1';
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const char* label = buttons[i].label;
        if (answer.size() <= std::strlen(label) && strncasecmp(answer.c_str(), label, answer.size()) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int askOnTerminal(int terminal, const char* text, const char* caption, UINT type) {
    const std::vector<Button> buttons = buttonsOf(type);
    int defaultIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
    if (defaultIndex >= static_cast<int>(buttons.size())) {
        defaultIndex = 0;
    }
    std::string prompt = "\n[";
    prompt += caption;
    prompt += "]\n";
    prompt += text;
    prompt += "\n";
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        prompt += "  ";
        prompt += static_cast<char>('1' + i);
        prompt += ") ";
        prompt += buttons[i].label;
        if (static_cast<int>(i) == defaultIndex) {
            prompt += " (default)";
        }
    }
    prompt += "\n> ";
    for (;;) {
        if (write(terminal, prompt.data(), prompt.size()) < 0) {
            return buttons[defaultIndex].id;
        }
        std::string line;
        char c = 0;
        ssize_t got = 0;
        while ((got = read(terminal, &c, 1)) == 1 && c != '\n') {
            line += c;
        }
        if (got <= 0 && line.empty()) {
            return buttons[defaultIndex].id;  // end of input: nobody answers
        }
        const int chosen = chosenButton(line, buttons, defaultIndex);
        if (chosen >= 0) {
            return buttons[chosen].id;
        }
        prompt = "> ";
    }
}

}  // namespace

extern "C" {

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (text == nullptr) {
        text = "";
    }
    if (caption == nullptr) {
        caption = "Error";  // the caption Windows gives a box without one
    }
    if (currentHandler != nullptr) {
        return currentHandler(owner, text, caption, type, currentContext);
    }
    const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0) {
        return quen::posix::defaultMessageBoxReply(type);
    }
    const int reply = askOnTerminal(terminal, text, caption, type);
    close(terminal);
    return reply;
}

HWND WINAPI GetDesktopWindow(void) {
    static char desktop;
    return reinterpret_cast<HWND>(&desktop);
}

}  // extern "C"

namespace quen {
namespace posix {

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler, void* context) {
    const MessageBoxHandler previous = currentHandler;
    currentHandler = handler;
    currentContext = context;
    return previous;
}

int defaultMessageBoxReply(UINT type) {
    const std::vector<Button> buttons = buttonsOf(type);
    std::size_t index = (type & MB_DEFMASK) >> 8;
    if (index >= buttons.size()) {
        index = 0;
    }
    return buttons[index].id;
}

}  // namespace posix
}  // namespace quen
