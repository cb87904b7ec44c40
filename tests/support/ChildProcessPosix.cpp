#include <csignal>
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
    const struct passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0 || nobody == nullptr || nobody->pw_uid == 0) {
        whyNot = "needs root, setpriv and the user nobody";
        return Launcher();
    }
    const Launcher launcher{"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
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
    for (char** variable = environ; *variable != nullptr; ++variable) variables.push_back(*variable);
    variables.push_back("QUEN_TEST_CHILD=1");
    for (const auto& entry : environment) variables.push_back(entry.first + "=" + entry.second);
    // The executable's own name: through a launcher /proc/self/exe would be the launcher.
    char self[PATH_MAX] = {0};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) throw std::runtime_error("cannot name the test");
    std::vector<std::string> words = launcher;
    words.push_back(self);
    words.push_back("--gtest_filter=" + testName);
    const auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> result;
        for (std::string& one : strings) result.push_back(&one[0]);
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(words);
    std::vector<char*> envp = pointers(variables);
    handle_->pid = fork();
    if (handle_->pid < 0) throw std::runtime_error("fork failed");
    if (handle_->pid == 0) {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() { kill(); }

int ChildProcess::wait() {
    int status = 0;
    while (!finished_ && waitpid(handle_->pid, &status, 0) < 0) {
    }
    if (!finished_) exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished_ = true;
    return exitCode_;
}

void ChildProcess::kill() {
    if (finished_) return;
    ::kill(handle_->pid, SIGKILL);
    wait();
    exitCode_ = -1;
}

}  // namespace support
