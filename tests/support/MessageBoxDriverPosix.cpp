#include "quen/platform/Win32.h"
#include "support/MessageBoxDriver.h"

namespace support {

ShownBox answerBox(int reply, const std::function<void()>& work) {
    struct Answer { int reply; ShownBox box; } answer{reply, {}};
    // The buttons Windows shows for the kinds of box the suites use.
    const auto handler = [](HWND, const char* text, const char* caption, UINT type, void* context) {
        auto* answer = static_cast<Answer*>(context);
        const UINT kind = type & MB_TYPEMASK;
        answer->box = {caption, text,
                       kind == MB_OKCANCEL ? std::vector<int>{IDOK, IDCANCEL}
                       : kind == MB_YESNO  ? std::vector<int>{IDYES, IDNO}
                       : kind == MB_OK     ? std::vector<int>{IDOK}
                                           : std::vector<int>{}};
        return answer->reply;
    };
    const quen::posix::MessageBoxHandler previous = quen::posix::setMessageBoxHandler(handler, &answer);
    work();
    quen::posix::setMessageBoxHandler(previous, nullptr);
    return answer.box;
}

}  // namespace support
