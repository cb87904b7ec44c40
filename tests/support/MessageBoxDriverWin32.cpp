#include <chrono>
#include <thread>

#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

namespace support {

struct MessageBoxDriver::State {
    int reply = 0;
    ShownBox box;
    std::thread clicker;
};

namespace {

std::string windowText(HWND window) {
    char text[4096] = {0};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// This process's box, a dialog of the class "#32770": boxes are top-level
// windows of the whole desktop, and other test processes may show theirs.
HWND ownBox() {
    HWND window = nullptr;
    DWORD process = 0;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr &&
           (GetWindowThreadProcessId(window, &process), process != GetCurrentProcessId())) {
    }
    return window;
}

// Waits for the box, reads it and presses the button, as a user would.
void answerBox(MessageBoxDriver::State* state) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND box = nullptr;
    while ((box = ownBox()) == nullptr && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (box == nullptr) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the box lays out its text
    state->box = {windowText(box), windowText(GetDlgItem(box, 0xFFFF)), {}};
    // In id order, as ShownBox wants them.
    for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
        if (GetDlgItem(box, id) != nullptr) state->box.buttons.push_back(id);
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(state->reply, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, state->reply)));
}

}  // namespace

MessageBoxDriver::MessageBoxDriver(int reply) : state_(new State) {
    state_->reply = reply;
    state_->clicker = std::thread(answerBox, state_.get());
}

MessageBoxDriver::~MessageBoxDriver() {
    box();
}

ShownBox MessageBoxDriver::box() {
    if (state_->clicker.joinable()) state_->clicker.join();
    return state_->box;
}

}  // namespace support
