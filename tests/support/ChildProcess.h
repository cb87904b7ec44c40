// A second process runs this test executable again, only one child part of it, defined with
// CHILD_PART(EventChild, SetsTheEvent) { ... } and started with ChildProcess("EventChild.SetsTheEvent").
// CTest leaves out "*Child.*"; no other suite's name may end so.
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
typedef std::vector<std::string> Launcher;  // words run before the child's own (setpriv's, say)

inline bool isChildProcess() {
    const char* flag = std::getenv("QUEN_TEST_CHILD");
    return flag != nullptr && flag[0] == '1';
}

// Runs the child as a second user (nobody, without groups); empty, with the reason in `whyNot`, where that cannot be
// done (Windows, no root, no setpriv).
Launcher asAnotherUser(std::string& whyNot);

class ChildProcess {
public:
    // Runs only the test `testName`, the variables given added to the parent's environment.
    explicit ChildProcess(const std::string& testName, const Environment& environment = Environment(),
                          const Launcher& launcher = Launcher());
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int wait();   // the exit code: 0 when its test passed or skipped, 1 when it failed, -1 when killed
    void kill();  // ends the child at once, as a crash would

    struct Handle;

private:
    std::unique_ptr<Handle> handle_;
    bool finished_ = false;
    int exitCode_ = -1;
};

}  // namespace support

#endif
