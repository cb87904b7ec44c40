#include <algorithm>

#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

namespace support {

struct MessageBoxDriver::State {
    int reply = 0;
    ShownBox box;
    quen::posix::MessageBoxHandler previous = nullptr;
};

namespace {

std::vector<int> buttonsOf(UINT type) {
    std::vector<int> buttons;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: buttons = {IDCANCEL, IDYES, IDNO}; break;
    case MB_YESNO: buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: buttons = {IDCANCEL, IDRETRY}; break;
    case MB_CANCELTRYCONTINUE: buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: buttons = {IDOK}; break;
    }
    std::sort(buttons.begin(), buttons.end());
    return buttons;
}

int answer(HWND, const char* text, const char* caption, UINT type, void* context) {
    auto* state = static_cast<MessageBoxDriver::State*>(context);
    state->box.text = text;
    state->box.caption = caption;
    state->box.buttons = buttonsOf(type);
    return state->reply;
}

}  // namespace

MessageBoxDriver::MessageBoxDriver(int reply) : state_(new State) {
    state_->reply = reply;
    state_->previous = quen::posix::setMessageBoxHandler(&answer, state_.get());
}

MessageBoxDriver::~MessageBoxDriver() {
    quen::posix::setMessageBoxHandler(state_->previous, nullptr);
}

ShownBox MessageBoxDriver::box() {
    return state_->box;
}

}  // namespace support
