#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <limits.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ChildProcess.h"

extern char** environ;

namespace support {

struct ChildProcess::Handle {
    pid_t pid = -1;
};

Launcher asAnotherUser(std::string& whyNot) {
    if (geteuid() != 0) {
        whyNot = "only root can start a process as another user";
        return Launcher();
    }
    const std::string setpriv = "/usr/bin/setpriv";
    const struct passwd* nobody = getpwnam("nobody");
    if (access(setpriv.c_str(), X_OK) != 0 || nobody == nullptr || nobody->pw_uid == 0) {
        whyNot = "needs setpriv and the user nobody";
        return Launcher();
    }
    const Launcher launcher{setpriv, "--reuid=" + std::to_string(nobody->pw_uid),
                            "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
    // The executable and its libraries must be open to the other user: a
    // build under root's closed home is not.
    if (ChildProcess("-*", Environment(), launcher).wait() != 0) {
        whyNot = "the user nobody cannot run this test executable (a folder above it is closed to others)";
        return Launcher();
    }
    return launcher;
}

ChildProcess::ChildProcess(const std::string& testName, const Environment& environment, const Launcher& launcher)
    : handle_(new Handle) {
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
    // The executable's own name: through a launcher /proc/self/exe would be
    // the launcher.
    char self[PATH_MAX] = {0};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
        throw std::runtime_error("cannot name the test executable");
    }
    std::vector<std::string> words = launcher;
    words.push_back(self);
    words.push_back(filter);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(&word[0]);
    }
    argv.push_back(nullptr);

    handle_->pid = fork();
    if (handle_->pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (handle_->pid == 0) {
        execve(argv[0], argv.data(), envp.data());
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
