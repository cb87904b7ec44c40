// A second process runs this test executable again, only one child part of
// it: CHILD_PART(EventChild, SetsTheEvent) { ... }, started with
// ChildProcess("EventChild.SetsTheEvent"). CTest leaves out "*Child.*"; no
// other suite's name may end so.
#ifndef QUEN_TESTS_SUPPORT_CHILDPROCESS_H
#define QUEN_TESTS_SUPPORT_CHILDPROCESS_H

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// Defines a child part; its body follows. Run outside a child it skips.
#define CHILD_PART(suite, name)                                         \
    void suite##_##name##_body();                                       \
    TEST(suite, name) {                                                 \
        if (!::support::isChildProcess()) GTEST_SKIP() << "child part"; \
        suite##_##name##_body();                                        \
    }                                                                   \
    void suite##_##name##_body()

namespace support {

typedef std::vector<std::pair<std::string, std::string>> Environment;
// A command line that runs the child's after its own words (setpriv's, say).
typedef std::vector<std::string> Launcher;

// True in a process started by ChildProcess.
inline bool isChildProcess() {
    const char* flag = std::getenv("QUEN_TEST_CHILD");
    return flag != nullptr && flag[0] == '1';
}

// A launcher that runs the child as a second user (nobody, without groups).
// Empty, with the reason in `whyNot`, where that cannot be done: on Windows,
// without root, without setpriv.
Launcher asAnotherUser(std::string& whyNot);

class ChildProcess {
public:
    // Runs only the test `testName`, with the variables given added to the
    // parent's environment, through the launcher when one is given (Linux).
    explicit ChildProcess(const std::string& testName, const Environment& environment = Environment(),
                          const Launcher& launcher = Launcher());
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the child: its exit code (0 when its test passed or skipped,
    // 1 when it failed), -1 when it was killed.
    int wait();
    // Ends the child at once, as a crash would.
    void kill();

    struct Handle;

private:
    std::unique_ptr<Handle> handle_;
    bool finished_ = false;
    int exitCode_ = -1;
};

}  // namespace support

#endif
