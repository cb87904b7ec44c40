// A desktop dialog: a window with a title, a progress bar and a Cancel
// button over a large file copy. The copy goes in steps of one MiB through
// BinStream::copyFile; after each step a WindowsProgressMonitor moves the bar,
// shows the title and drains the thread's message queue, so the dialog
// paints and a click on Cancel (or closing the window) sets the cancel flag,
// which the loop reads before the next step.
//
//     progress_dialog [SOURCE TARGET] [--size MIB] [--pause MS] [--cancel-after STEPS]
//
// Without SOURCE and TARGET it copies a scratch file of --size MiB (64 by
// default) and removes both files afterwards. --pause waits that long after
// each step, so that a person can watch the bar and press Cancel.
// --cancel-after presses Cancel for the user: a second thread posts the
// button a click (BM_CLICK) once that many steps are done, and the copy then
// has to stop; the program exits 1 if it did not.
//
// On Windows these are the system's common controls; under Wine's null
// graphics driver and on Linux (quen's Win32 subset) the same windows exist
// without being drawn.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quen/quen.h"

#ifndef BM_CLICK
#  define BM_CLICK 0x00F5  // not in quen's Linux subset, whose stand-in button below handles it
#endif

namespace {

quen::Boolean cancel;  // the flag that the monitor reads at every call

// The dialog: Cancel (IDCANCEL) and closing the window both ask the copy to
// stop; the window goes when the copy is over.
LRESULT CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        cancel = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Where the system has no push button (quen's Linux subset), a window of
// this class stands in for it: a click tells the parent, as a button does.
LRESULT CALLBACK standInButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_CLICK) {
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND child(const char* className, const char* text, int x, int y, int width, int height, HWND parent, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

HWND cancelButton(HWND parent) {
    HWND button = child("Button", "Cancel", 160, 80, 100, 28, parent, IDCANCEL);
    if (button == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = standInButton;
        windowClass.lpszClassName = "Button";
        RegisterClassA(&windowClass);
        button = child("Button", "Cancel", 160, 80, 100, 28, parent, IDCANCEL);
    }
    return button;
}

struct Options {
    std::string source;
    std::string target;
    long long sizeMiB = 64;
    int pauseMs = 0;
    int cancelAfter = -1;
};

bool parseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--size" && hasValue) {
            options.sizeMiB = std::atoll(argv[++i]);
        } else if (argument == "--pause" && hasValue) {
            options.pauseMs = std::atoi(argv[++i]);
        } else if (argument == "--cancel-after" && hasValue) {
            options.cancelAfter = std::atoi(argv[++i]);
        } else if (argument.compare(0, 2, "--") == 0) {
            return false;
        } else {
            names.push_back(argument);
        }
    }
    if (names.size() == 2) {
        options.source = names[0];
        options.target = names[1];
    }
    return (names.empty() || names.size() == 2) && options.sizeMiB > 0 && options.sizeMiB < 4096 &&
           options.pauseMs >= 0;
}

// A scratch source of the given size, a pattern that a short copy would not match.
void makeSource(const std::string& name, long long sizeMiB) {
    std::remove(name.c_str());
    quen::BinFStream file(name.c_str(), quen::BinStream::out | quen::BinStream::trunc);
    std::vector<char> block(1 << 20);
    for (long long mib = 0; mib < sizeMiB; ++mib) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<char>((i + static_cast<std::size_t>(mib)) * 31u);
        }
        file.write(block.data(), static_cast<unsigned int>(block.size()));
    }
}

// Presses Cancel once the copy has done `steps` steps: the click is posted
// to the button from this thread, as the system posts a user's click, and is
// handled when the copy next drains its queue. The copy waits at that step
// until the click is posted, so that the outcome does not depend on timing.
class CancelPresser {
public:
    CancelPresser(HWND button, int steps) : button_(button), steps_(steps), thread_([this] { run(); }) {}
    ~CancelPresser() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = steps_;
            over_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    CancelPresser(const CancelPresser&) = delete;
    CancelPresser& operator=(const CancelPresser&) = delete;

    // Called after each step, with the number done so far.
    void stepDone(int done) {
        std::unique_lock<std::mutex> lock(mutex_);
        done_ = done;
        changed_.notify_all();
        if (done == steps_) {
            changed_.wait_for(lock, std::chrono::seconds(30), [this] { return posted_; });
        }
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return done_ >= steps_; });
        if (!over_) {
            PostMessageA(button_, BM_CLICK, 0, 0);
        }
        posted_ = true;
        changed_.notify_all();
    }

    HWND button_;
    int steps_;
    int done_ = 0;
    bool posted_ = false;
    bool over_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: progress_dialog [SOURCE TARGET] [--size MIB] [--pause MS] [--cancel-after STEPS]\n";
        return 2;
    }
    const bool scratch = options.source.empty();
    if (scratch) {
        options.source = "progress_dialog.source";
        options.target = "progress_dialog.target";
    }

    // The progress bar is a common control: its class must be registered first.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = dialogProcedure;
    windowClass.lpszClassName = "QuenCopyDialog";
    if (RegisterClassA(&windowClass) == 0) {
        std::cerr << "progress_dialog: " << quen::WindowsError().message() << "\n";
        return 1;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    const HWND dialog = CreateWindowExA(0, windowClass.lpszClassName, "Copying", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                        420, 160, nullptr, nullptr, nullptr, nullptr);
    const HWND title = dialog ? child(WC_STATICA, "", 15, 15, 380, 20, dialog, 1) : nullptr;
    const HWND bar = dialog ? child(PROGRESS_CLASSA, "", 15, 45, 380, 22, dialog, 2) : nullptr;
    const HWND button = dialog ? cancelButton(dialog) : nullptr;
    if (title == nullptr || bar == nullptr || button == nullptr) {
        std::cerr << "progress_dialog: cannot make the dialog: " << quen::WindowsError().message() << "\n";
        return 1;
    }

    int status = 0;
    long long copied = 0;
    long long size = 0;
    try {
        if (scratch) {
            makeSource(options.source, options.sizeMiB);
        }
        size = static_cast<long long>(quen::fileSize(options.source.c_str()));
        const long long chunk = 1 << 20;
        const int steps = static_cast<int>((size + chunk - 1) / chunk);

        std::remove(options.target.c_str());
        quen::BinFStream target(options.target.c_str(), quen::BinStream::out | quen::BinStream::trunc);
        quen::WindowsProgressMonitor monitor(bar, title, cancel);
        monitor.numberOfSteps(steps);
        monitor.reset(("Copying " + options.source).c_str());

        std::unique_ptr<CancelPresser> presser;
        if (options.cancelAfter >= 0) {
            presser.reset(new CancelPresser(button, options.cancelAfter));
        }
        for (int step = 0; step < steps && !monitor.cancelled(); ++step) {
            const long long length = size - copied < chunk ? size - copied : chunk;
            target.copyFile(options.source.c_str(), static_cast<unsigned int>(length), copied, 1 << 16);
            copied += length;
            const std::string text =
                "Copied " + std::to_string(copied >> 20) + " of " + std::to_string(size >> 20) + " MiB";
            monitor.step(text.c_str());
            if (presser) {
                presser->stepDone(step + 1);
            }
            if (options.pauseMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(options.pauseMs));
            }
        }
        presser.reset();

        const long long written = target.size();
        if (written != copied) {
            std::cerr << "progress_dialog: the target holds " << written << " bytes, not " << copied << "\n";
            status = 1;
        } else if (monitor.cancelled()) {
            std::cout << "cancelled after " << copied << " of " << size << " bytes\n";
            if (options.cancelAfter >= 0 && copied != (options.cancelAfter + 1LL) * chunk) {
                std::cerr << "progress_dialog: Cancel was pressed after step " << options.cancelAfter
                          << " but the copy stopped later\n";
                status = 1;
            }
        } else {
            std::cout << "copied " << copied << " bytes\n";
            if (options.cancelAfter >= 0 && options.cancelAfter < steps) {
                std::cerr << "progress_dialog: Cancel was pressed but the copy went on to the end\n";
                status = 1;
            }
        }
    } catch (const quen::QuenException& error) {
        std::cerr << "progress_dialog: " << error.what() << "\n";
        status = 1;
    }

    DestroyWindow(dialog);
    if (scratch || cancel) {
        // A copy that was cancelled is not left half done.
        std::remove(options.target.c_str());
    }
    if (scratch) {
        std::remove(options.source.c_str());
    }
    return status;
}
