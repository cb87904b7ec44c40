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

struct ChildProcess::Handle { pid_t pid = -1; };

Launcher asAnotherUser(std::string& whyNot) {
    const struct passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0 || nobody == nullptr || nobody->pw_uid == 0) {
        whyNot = "needs root, setpriv and the user nobody";
        return Launcher();
    }
    const Launcher launcher{"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                            "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
    // A build under root's closed home is not open to the other user.
    if (ChildProcess("-*", Environment(), launcher).wait() == 0) return launcher;
    whyNot = "the user nobody cannot run this test executable (a folder above it is closed to others)";
    return Launcher();
}

ChildProcess::ChildProcess(const std::string& testName, const Environment& environment, const Launcher& launcher)
    : handle_(new Handle) {
    std::vector<std::string> variables{"QUEN_TEST_CHILD=1"};
    for (char** variable = environ; *variable != nullptr; ++variable) variables.push_back(*variable);
    for (const auto& entry : environment) variables.push_back(entry.first + "=" + entry.second);
    // Through a launcher /proc/self/exe would be the launcher: the name is taken here.
    char self[PATH_MAX] = {0};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) throw std::runtime_error("cannot name the test");
    std::vector<std::string> words = launcher;
    words.insert(words.end(), {self, "--gtest_filter=" + testName});
    std::vector<char*> argv, envp;
    for (std::string& word : words) argv.push_back(&word[0]);
    for (std::string& variable : variables) envp.push_back(&variable[0]);
    argv.push_back(nullptr);
    envp.push_back(nullptr);
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
    if (finished_) return exitCode_;
    while (waitpid(handle_->pid, &status, 0) < 0) continue;
    finished_ = true;
    return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::kill() {
    if (finished_) return;
    ::kill(handle_->pid, SIGKILL);
    wait();
    exitCode_ = -1;
}

}  // namespace support
