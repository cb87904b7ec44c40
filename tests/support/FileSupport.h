// Files for the stream and value tests: a scratch folder per test, sparse
// files, the platform's always-full device, wide names and the time zone.
#ifndef QUEN_TESTS_SUPPORT_FILESUPPORT_H
#define QUEN_TESTS_SUPPORT_FILESUPPORT_H

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

// A file of the given size that takes no disk space: holes all through.
void makeSparseFile(const std::string& name, unsigned long long size);

// A device that refuses every write for want of space ("/dev/full"); empty
// where the platform has none.
std::string fullDevice();

// UTF-16 text as the 16-bit units that the wide-name functions take.
std::vector<unsigned short> utf16(const char16_t* text);
// Creates a file under a zero-terminated UTF-16 name, as the platform stores
// such names (UTF-8 on Linux).
void writeFileWide(const unsigned short* name, const std::string& bytes);

// Sets the time zone of the runtime's local-time conversion, in the POSIX
// form ("UTC0", "EST5") that both runtimes read from TZ.
void setTimeZone(const char* zone);

}  // namespace support

#endif
