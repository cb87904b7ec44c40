// Files for the tests, and the faults the file tests bring about on purpose.
// Where a platform cannot make a fault, the helper says why, for GTEST_SKIP.
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
// "missing", "directory", "fifo", "socket", "link to TARGET", "file BYTES" or "other".
std::string describe(const std::string& name);
void makeSparseFile(const std::string& name, unsigned long long size);  // holes all through
// UTF-16 text as the zero-terminated 16-bit units the wide-name functions take.
std::vector<unsigned short> utf16(const char16_t* text);
void writeFileWide(const unsigned short* name, const std::string& bytes);  // UTF-8 on Linux
void setTimeZone(const char* zone);  // for the runtime's local time, in the POSIX form ("EST5")

// "/dev/null" or "NUL"; the device that refuses every write for want of
// space ("/dev/full", empty where there is none); FIFOs and bound Unix
// sockets (false where there are none).
std::string nullDevice();
std::string fullDevice();
bool makeFifo(const std::string& name);
bool makeSocket(const std::string& name);

// Run work in a child process whose failures fail the test. "" when it ran,
// else why it cannot run here (Linux and root only): asSecondUser as the user
// nobody, given the files first; onSmallDisk seeing a tmpfs of `bytes` at
// mountPoint (an empty folder), in a mount namespace of its own.
std::string asSecondUser(const std::vector<std::string>& givenFiles, const std::function<void()>& work);
std::string onSmallDisk(const std::string& mountPoint, unsigned int bytes, const std::function<void()>& work);

// Runs work while the file is held open for reading and writing, as another program might, sharing
// nothing or only writing and deleting; false where that cannot be done (Linux).
bool whileHeld(const std::string& name, bool shareWriting, const std::function<void()>& work);

// Ends the process still running `seconds` after it was made, so that a call
// that would block for ever fails its test (Linux only).
struct HangGuard {
    explicit HangGuard(unsigned int seconds);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace support

#endif
