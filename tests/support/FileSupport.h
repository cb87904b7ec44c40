// Files for the tests: a scratch folder per test, sparse files, wide names,
// the time zone, and the faults the file tests bring about on purpose. Where
// a platform cannot make a fault, the helper says why, for GTEST_SKIP:
//
//     const std::string why = support::onSmallDisk(mountPoint, 64 * 1024, [&] { ... });
//     if (!why.empty()) GTEST_SKIP() << why;
#ifndef QUEN_TESTS_SUPPORT_FILESUPPORT_H
#define QUEN_TESTS_SUPPORT_FILESUPPORT_H

#include <functional>
#include <string>
#include <vector>

namespace support {

// A folder of its own for the running test, removed with what it holds when
// the object goes. Names are joined with '/', which both platforms accept.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& name, const std::string& bytes);
std::string readFile(const std::string& name);
bool fileExists(const std::string& name);
// What a name stands for, to compare before and after a call: "missing",
// "directory", "fifo", "socket", "link to TARGET", "file BYTES" or "other".
std::string describe(const std::string& name);
// A file of the given size that takes no disk space: holes all through.
void makeSparseFile(const std::string& name, unsigned long long size);
// UTF-16 text as the zero-terminated 16-bit units the wide-name functions take.
std::vector<unsigned short> utf16(const char16_t* text);
// Creates a file under a UTF-16 name, as the platform stores it (UTF-8 on Linux).
void writeFileWide(const unsigned short* name, const std::string& bytes);
// The time zone of the runtime's local time, in the POSIX form ("UTC0", "EST5").
void setTimeZone(const char* zone);

// The device that takes every write and reads as empty ("/dev/null", "NUL"),
// and the one that refuses every write for want of space ("/dev/full"; empty
// where there is none).
std::string nullDevice();
std::string fullDevice();
// A FIFO or a bound Unix socket under the name; false where there are none.
bool makeFifo(const std::string& name);
bool makeSocket(const std::string& name);

// Run work in a child process that the test waits for; the child's failures
// fail the test. "" when the work ran, else why it cannot run here (Linux
// and root only):
//   asSecondUser: as the user nobody without groups, given the files first;
//   onSmallDisk: seeing a tmpfs of `bytes` at mountPoint (an empty folder),
//     in a mount namespace of its own, so nothing stays mounted.
std::string asSecondUser(const std::vector<std::string>& givenFiles, const std::function<void()>& work);
std::string onSmallDisk(const std::string& mountPoint, unsigned int bytes, const std::function<void()>& work);

// Holds a file open for reading and writing, as another program might,
// sharing only what `sharing` says. Windows only: elsewhere held() is false.
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
// that a call that would block for ever fails its test at once (Linux only).
class HangGuard {
public:
    explicit HangGuard(unsigned int seconds);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace support

#endif
