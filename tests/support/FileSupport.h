// Files for the tests, and the faults the file tests bring about on purpose.
// Where a platform cannot make a fault, the helper says why, for GTEST_SKIP.
#ifndef QUEN_TESTS_SUPPORT_FILESUPPORT_H
#define QUEN_TESTS_SUPPORT_FILESUPPORT_H

#include <functional>
#include <string>
#include <vector>

namespace support {

// A folder of the running test's own, removed with what it holds; '/' joins names on both platforms.
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

// The null device; the always-full one ("" where none); FIFOs and bound sockets (false where none).
std::string nullDevice();
std::string fullDevice();
bool makeFifo(const std::string& name);
bool makeSocket(const std::string& name);

// Run work in a child whose failures fail the test; "" when it ran, else why not (Linux, root only):
// as the user nobody, given the files first; or seeing a tmpfs of `bytes` at mountPoint.
std::string asSecondUser(const std::vector<std::string>& givenFiles, const std::function<void()>& work);
std::string onSmallDisk(const std::string& mountPoint, unsigned int bytes, const std::function<void()>& work);

// Runs work while another handle holds the file, sharing nothing or only writing and deleting;
// false where that cannot be done (Linux).
bool whileHeld(const std::string& name, bool shareWriting, const std::function<void()>& work);

// Ends the process `seconds` after it was made: a call blocking for ever fails its test (Linux).
struct HangGuard {
    explicit HangGuard(unsigned int seconds);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace support

#endif
