#include <cstring>
#include <stdexcept>
#include <string>

#include "quen/platform/Win32.h"
#include "support/ChildProcess.h"

namespace support {

struct ChildProcess::Handle { PROCESS_INFORMATION process = {}; };

Launcher asAnotherUser(std::string& whyNot) {
    whyNot = "starting a process as another user is done on Linux only";
    return Launcher();
}

ChildProcess::ChildProcess(const std::string& testName, const Environment& environment, const Launcher& launcher)
    : handle_(new Handle) {
    if (!launcher.empty()) throw std::runtime_error("no launchers on Windows");
    // The child's environment block: ours first, since the first of a name counts, then the parent's.
    std::string block = std::string("QUEN_TEST_CHILD=1") + '\0';
    for (const auto& entry : environment) block += entry.first + "=" + entry.second + '\0';
    char* const inherited = GetEnvironmentStringsA();
    const char* end = inherited;
    while (*end != '\0') end += std::strlen(end) + 1;
    block.append(inherited, static_cast<std::size_t>(end - inherited)) += '\0';
    FreeEnvironmentStringsA(inherited);
    char self[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" --gtest_filter=" + testName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, &block[0], nullptr, &startup,
                        &handle_->process)) {
        throw std::runtime_error("CreateProcessA failed");
    }
}

ChildProcess::~ChildProcess() {
    kill();
    CloseHandle(handle_->process.hThread);
    CloseHandle(handle_->process.hProcess);
}

int ChildProcess::wait() {
    if (finished_) return exitCode_;
    WaitForSingleObject(handle_->process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(handle_->process.hProcess, &code);
    finished_ = true;
    return exitCode_ = static_cast<int>(code);
}

void ChildProcess::kill() {
    if (finished_) return;
    TerminateProcess(handle_->process.hProcess, 255);
    wait();
    exitCode_ = -1;
}

}  // namespace support
