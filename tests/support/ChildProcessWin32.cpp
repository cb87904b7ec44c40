#include <stdexcept>
#include <string>

#include "quen/platform/Win32.h"
#include "support/ChildProcess.h"

namespace support {

struct ChildProcess::Handle {
    PROCESS_INFORMATION process = {};
};

namespace {

// Sets environment variables for the child to inherit, and puts the old
// values back afterwards.
class InheritedEnvironment {
public:
    explicit InheritedEnvironment(const Environment& environment) {
        set("QUEN_TEST_CHILD", "1");
        for (const auto& entry : environment) {
            set(entry.first, entry.second);
        }
    }
    ~InheritedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            SetEnvironmentVariableA(it->name.c_str(), it->existed ? it->value.c_str() : nullptr);
        }
    }

private:
    struct Saved {
        std::string name;
        bool existed;
        std::string value;
    };
    void set(const std::string& name, const std::string& value) {
        char old[32768];
        const DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
        saved_.push_back(Saved{name, length > 0 && length < sizeof old, length > 0 ? std::string(old, length) : ""});
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    std::vector<Saved> saved_;
};

}  // namespace

Launcher asAnotherUser(std::string& whyNot) {
    whyNot = "starting a process as another user is done on Linux only";
    return Launcher();
}

ChildProcess::ChildProcess(const std::string& testName, const Environment& environment, const Launcher& launcher)
    : handle_(new Handle) {
    if (!launcher.empty()) {
        throw std::runtime_error("no launchers on Windows");
    }
    char self[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" --gtest_filter=" + testName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const InheritedEnvironment inherited(environment);
    if (!CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &handle_->process)) {
        throw std::runtime_error("CreateProcessA failed");
    }
}

ChildProcess::~ChildProcess() {
    if (!finished_) {
        kill();
    }
    CloseHandle(handle_->process.hThread);
    CloseHandle(handle_->process.hProcess);
}

int ChildProcess::wait() {
    if (!finished_) {
        WaitForSingleObject(handle_->process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(handle_->process.hProcess, &code);
        finished_ = true;
        exitCode_ = static_cast<int>(code);
    }
    return exitCode_;
}

void ChildProcess::kill() {
    if (!finished_) {
        TerminateProcess(handle_->process.hProcess, 255);
        wait();
        exitCode_ = -1;
    }
}

}  // namespace support
