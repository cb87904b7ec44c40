// The library's own file: a name opened for reading and writing on the
// system's handle (a descriptor on Linux, a HANDLE on Windows) with no buffer
// of its own. Every transfer is made by the system before the call returns,
// so the system's refusal (a full disk, a broken device) is the answer of the
// call that caused it, never of a later flush. BinFStream and FileOpen stand
// on it; it is not Win32.
//
//   quen::platform::File file;
//   long long end = 0;
//   if (file.open("data.bin", quen::platform::File::create)) file.writeAt("abc", 3, end);
#ifndef QUEN_PLATFORM_FILE_H
#define QUEN_PLATFORM_FILE_H

#include <cstddef>
#include <cstdint>

namespace quen {
namespace platform {

// What a name stands for.
enum class FileKind {
    missing,  // nothing, or a symbolic link to nothing
    regular,
    device,   // a character device (/dev/null, /dev/full; NUL)
    other,    // a directory, FIFO, socket, block device, pipe: never opened as a file
};

struct FileFacts {
    FileKind kind = FileKind::missing;
    // FILE_ATTRIBUTE_READONLY on Windows; on Linux a regular file on which
    // nobody has a write permission bit.
    bool readOnlyAttribute = false;
};

// Looks at the name without opening its data, so that nothing can block
// (a FIFO without a writer) or happen (a device that acts when opened), and
// changes nothing. A null name is missing.
FileFacts lookAtFile(const char* name);

class File {
public:
    // How open treats the name.
    enum Flags {
        create = 1,    // a missing name is made an empty regular file
        truncate = 2,  // an existing regular file is emptied
        append = 4,    // every write goes after the file's last byte
    };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens the name for reading and writing. Only regular files and
    // character devices are opened; any other kind of name fails at once,
    // without blocking. On failure the file system is as it was: nothing
    // created, truncated or removed. An open file is closed first.
    bool open(const char* name, int flags);
    void close();
    bool isOpen() const { return handle_ != closed; }
    // A character device: transfers ignore their offsets.
    bool isDevice() const { return device_; }

    // Reads up to count bytes at offset. The number read, fewer than count
    // only at the end of the file; -1 when the system fails.
    long long readAt(char* buffer, std::size_t count, long long offset);
    // Writes the count bytes at offset, or after the last byte when opened to
    // append; offset then tells where the bytes written end (also after a
    // failure: what the system took before it refused stays written). False
    // when the system refused any of them.
    bool writeAt(const char* buffer, std::size_t count, long long& offset);
    // The length in bytes (0 for a device); -1 when the system cannot tell.
    long long size() const;

private:
    static constexpr std::intptr_t closed = -1;  // also INVALID_HANDLE_VALUE

    std::intptr_t handle_ = closed;
    bool device_ = false;
    bool append_ = false;
};

}  // namespace platform
}  // namespace quen

#endif
