// quen event, quen progress.
#include <memory>
#include <string>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

quen::Boolean* cancelFlag = nullptr;

// The demonstration's window: a click (WM_COMMAND) is its Cancel button.
LRESULT CALLBACK demonstrationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && cancelFlag != nullptr) {
        *cancelFlag = true;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

[[noreturn]] void throwLastError() {
    const quen::WindowsError error;
    throw quen::QuenException(error.message());
}

HWND makeWindow(const char* className, const char* text, DWORD style, HWND parent, int id) {
    const HWND window = CreateWindowExA(0, className, text, style, 10, 10 + 30 * id, 300, 20, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (window == nullptr) {
        throwLastError();
    }
    return window;
}

// One line: the step, the bar as text, its position and range, the title.
void showBar(std::ostream& out, const std::string& label, HWND bar, HWND title, bool cancelled) {
    const int position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    PBRANGE range = {0, 0};
    SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const int width = range.iHigh - range.iLow;
    const int cells = width > 40 ? 40 : width;
    std::string text;
    for (int cell = 0; cell < cells; ++cell) {
        const long long filled = static_cast<long long>(position - range.iLow) * cells;
        text += (cell < filled / (width > 0 ? width : 1)) ? '#' : '.';
    }
    char titleText[128] = {0};
    GetWindowTextA(title, titleText, sizeof titleText);
    out << label << " [" << text << "] " << position << "/" << range.iHigh << " " << titleText
        << (cancelled ? " (cancelled)" : "") << "\n";
}

}  // namespace

int runEvent(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.empty()) {
        throw UsageError("no action given");
    }
    const std::string& action = arguments[0];
    const bool waiting = action == "wait";
    if (action != "set" && action != "reset" && !waiting) {
        throw UsageError("unknown action '" + action + "'");
    }
    if (arguments.size() < 2 || arguments.size() > (waiting ? 3u : 2u)) {
        throw UsageError("wrong number of arguments");
    }
    const long long milliseconds = arguments.size() == 3 ? parseNumber(arguments[2], "MILLISECONDS") : -1;
    // Only -1 means no limit; the longest limit is the largest one a 32-bit
    // long holds, on both platforms.
    if (milliseconds < -1 || milliseconds > 2147483647LL) {
        throw UsageError("MILLISECONDS must be -1 (no limit) or 0 to 2147483647");
    }
    const std::string& name = arguments[1];
    // Auto reset when this call makes the event; an existing event keeps its own.
    const auto event = onOperand(name, [&] { return std::make_unique<quen::Event>(name.c_str(), false, false); });
    if (action == "set") {
        onOperand(name, [&] { event->set(); });
    } else if (action == "reset") {
        onOperand(name, [&] { event->reset(); });
    } else if (onOperand(name, [&] { return event->wait(static_cast<long>(milliseconds)); })) {
        out << "signalled\n";
    } else {
        out << "timed out\n";
        return exitFailure;
    }
    return exitOk;
}

int runProgress(const Arguments& arguments, const Options&, std::ostream& out) {
    if (arguments.size() > 3) {
        throw UsageError("wrong number of arguments");
    }
    const long long cycle = arguments.size() > 0 ? parseNumber(arguments[0], "CYCLE") : 4;
    const long long steps = arguments.size() > 1 ? parseNumber(arguments[1], "STEPS") : 10;
    const long long cancelAt = arguments.size() > 2 ? parseNumber(arguments[2], "CANCEL-AT") : 0;
    if (cycle < 0 || cycle > 1000 || steps < 0 || steps > 10000) {
        throw UsageError("CYCLE must be 0 to 1000 and STEPS 0 to 10000");
    }

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = demonstrationProcedure;
    windowClass.lpszClassName = "QuenProgressDemonstration";
    if (RegisterClassA(&windowClass) == 0) {
        throwLastError();
    }
    const HWND dialog = makeWindow(windowClass.lpszClassName, "quen progress", WS_OVERLAPPEDWINDOW, nullptr, 0);
    quen::Boolean cancel;
    cancelFlag = &cancel;
    bool cancelled = false;
    try {
        const HWND bar = makeWindow(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, dialog, 1);
        const HWND title = makeWindow(WC_STATICA, "", WS_CHILD | WS_VISIBLE, dialog, 2);
        quen::WindowsWaiting waiting(static_cast<int>(cycle), bar, title, cancel);
        waiting.title("Waiting");
        for (int step = 1; step <= steps; ++step) {
            if (step == cancelAt) {
                // A click on Cancel, handled while the next step drains the queue.
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            waiting.step();
            showBar(out, "step " + std::to_string(step), bar, title, waiting.cancelled());
        }
        waiting.complete();
        waiting.title("Done");
        cancelled = waiting.cancelled();
        showBar(out, "complete", bar, title, cancelled);
    } catch (...) {
        cancelFlag = nullptr;
        DestroyWindow(dialog);
        throw;
    }
    cancelFlag = nullptr;
    DestroyWindow(dialog);
    return cancelled ? exitFailure : exitOk;
}

}  // namespace tool
