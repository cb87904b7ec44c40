#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "support/ChildProcess.h"

extern char** environ;

namespace support {

struct ChildProcess::Handle {
    pid_t pid = -1;
};

ChildProcess::ChildProcess(const std::string& testName, const Environment& environment) : handle_(new Handle) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        variables.push_back(*variable);
    }
    variables.push_back("QUEN_TEST_CHILD=1");
    for (const auto& entry : environment) {
        variables.push_back(entry.first + "=" + entry.second);
    }
    const std::string filter = "--gtest_filter=" + testName;
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(&variable[0]);
    }
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    std::string filterArgument = filter;
    char* argv[] = {self, &filterArgument[0], nullptr};

    handle_->pid = fork();
    if (handle_->pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (handle_->pid == 0) {
        execve(self, argv, envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (!finished_) {
        kill();
    }
}

int ChildProcess::wait() {
    if (!finished_) {
        int status = 0;
        while (waitpid(handle_->pid, &status, 0) < 0) {
        }
        finished_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exitCode_;
}

void ChildProcess::kill() {
    if (!finished_) {
        ::kill(handle_->pid, SIGKILL);
        wait();
        exitCode_ = -1;
    }
}

}  // namespace support
