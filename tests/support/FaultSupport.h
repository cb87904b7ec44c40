// Faults the file tests bring about on purpose: a second user without
// privileges, a small file system that fills up, a file another program
// holds, names that are no files (FIFOs, sockets), and a guard against a
// call that never returns. Where a platform cannot make a fault the helper
// says why, for GTEST_SKIP.
//
//     const std::string why = support::onSmallDisk(mountPoint, 64 * 1024, [&] { ... });
//     if (!why.empty()) GTEST_SKIP() << why;
#ifndef QUEN_TESTS_SUPPORT_FAULTSUPPORT_H
#define QUEN_TESTS_SUPPORT_FAULTSUPPORT_H

#include <functional>
#include <string>
#include <vector>

namespace support {

// What a name stands for, to compare before and after a call: "missing",
// "directory", "fifo", "socket", "link to " and the link's target, "file "
// and the file's bytes, or "other".
std::string describe(const std::string& name);

// The device that takes every write and reads as empty ("/dev/null", "NUL").
std::string nullDevice();

// Make a FIFO or a bound Unix socket under the name; false where the platform
// has none.
bool makeFifo(const std::string& name);
bool makeSocket(const std::string& name);

// Run work in a child process of the running test, which waits for it; the
// child's test failures are reported by the child and fail the test. They
// return "" when the work ran, else why it cannot run here (it needs root to
// become another user or to mount, and Linux).
//   asSecondUser: the child runs as "nobody", without groups; the files named
//     are given to that user first.
//   onSmallDisk: the child alone sees a tmpfs of `bytes` bytes mounted at
//     mountPoint (an empty folder), in a mount namespace of its own, so
//     nothing is left mounted whatever happens.
std::string asSecondUser(const std::vector<std::string>& givenFiles, const std::function<void()>& work);
std::string onSmallDisk(const std::string& mountPoint, unsigned int bytes, const std::function<void()>& work);

// Holds a file open for reading and writing, as another program might, and
// lets others share only what `sharing` says. Only Windows has such share
// modes: elsewhere held() is false.
class FileHolder {
public:
    enum Sharing { shareNothing, shareWritingAndDeleting };
    FileHolder(const std::string& name, Sharing sharing);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool held() const { return handle_ != nullptr; }

private:
    void* handle_ = nullptr;
};

// Ends the process when it still runs `seconds` after the guard was made, so
// that a call that blocks for ever fails its test at once instead of at the
// suite's time-out. Linux only; nothing elsewhere.
class HangGuard {
public:
    explicit HangGuard(unsigned int seconds);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace support

#endif
