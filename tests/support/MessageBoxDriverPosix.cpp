#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

namespace support {

struct MessageBoxDriver::State {
    int reply = 0;
    ShownBox box;
    quen::posix::MessageBoxHandler previous = nullptr;
};

namespace {

// The buttons Windows shows for the kinds of box the suites use.
int answer(HWND, const char* text, const char* caption, UINT type, void* context) {
    auto* state = static_cast<MessageBoxDriver::State*>(context);
    const UINT kind = type & MB_TYPEMASK;
    state->box = {caption, text,
                  kind == MB_OKCANCEL ? std::vector<int>{IDOK, IDCANCEL}
                  : kind == MB_YESNO  ? std::vector<int>{IDYES, IDNO}
                  : kind == MB_OK     ? std::vector<int>{IDOK}
                                      : std::vector<int>{}};
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
