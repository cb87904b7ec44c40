// The library's file on a Linux descriptor: pread and pwrite at the caller's
// offsets, so no call depends on a position the kernel keeps.
#include "quen/platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "quen/platform/DriveNames.h"

namespace quen {
namespace platform {
namespace {

// The one place where a caller's file name becomes the name handed to the
// system: lookAtFile and File::open take every name through it, so a
// drive-form name reaches the file under its drive's root.
std::string systemName(const char* name) {
    return systemFileName(name);
}

int descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

FileKind kindOf(const struct stat& status) {
    if (S_ISREG(status.st_mode)) return FileKind::regular;
    if (S_ISCHR(status.st_mode)) return FileKind::device;
    return FileKind::other;
}

bool openable(FileKind kind) {
    return kind == FileKind::regular || kind == FileKind::device;
}

// What one system call may move: Linux transfers at most this much at once.
const std::size_t largestTransfer = 0x7FFFF000;

}  // namespace

FileFacts lookAtFile(const char* name) {
    FileFacts facts;
    if (name == nullptr) {
        return facts;
    }
    // O_PATH reaches the file without opening its data: no FIFO waits for a
    // writer, no device is woken, no read permission is needed.
    const int probe = ::open(systemName(name).c_str(), O_PATH | O_CLOEXEC);
    if (probe < 0) {
        facts.kind = errno == ENOENT || errno == ENOTDIR ? FileKind::missing : FileKind::other;
        return facts;
    }
    struct stat status;
    if (fstat(probe, &status) == 0) {
        facts.kind = kindOf(status);
        facts.readOnlyAttribute =
            facts.kind == FileKind::regular && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    } else {
        facts.kind = FileKind::other;
    }
    ::close(probe);
    return facts;
}

File::~File() {
    close();
}

void File::close() {
    if (handle_ != closed) {
        // Nothing is pending: every write was made when it was asked for.
        ::close(descriptor(handle_));
        handle_ = closed;
    }
}

bool File::open(const char* name, int flags) {
    close();
    if (name == nullptr) {
        return false;
    }
    const std::string path = systemName(name);
    // Look before the data is opened: only a regular file or a character
    // device gets that far, so opening can neither block nor act on a FIFO.
    const int probe = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    int fd = -1;
    bool created = false;
    if (probe >= 0) {
        struct stat status;
        const bool fits = fstat(probe, &status) == 0 && openable(kindOf(status));
        ::close(probe);
        if (!fits) {
            return false;
        }
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } else if (errno == ENOENT && (flags & create) != 0) {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST) {
            // A symbolic link to a missing file (O_EXCL never follows one):
            // the file is made where the link points, as any open that
            // creates does. Or the name appeared meanwhile; the checks below
            // still hold for whatever it is.
            fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
        }
    }
    if (fd < 0) {
        return false;
    }
    struct stat status;
    bool fits = fstat(fd, &status) == 0 && openable(kindOf(status));
    const bool device = fits && kindOf(status) == FileKind::device;
    // Emptied only now that it is known to be a regular file.
    if (fits && (flags & truncate) != 0 && !device && status.st_size != 0) {
        fits = ftruncate(fd, 0) == 0;
    }
    // Blocking transfers from here on; appending by the system, so that
    // another writer's bytes are never overwritten.
    if (fits) {
        fits = fcntl(fd, F_SETFL, (flags & append) != 0 ? O_APPEND : 0) == 0;
    }
    if (!fits) {
        ::close(fd);
        if (created) {
            unlink(path.c_str());
        }
        return false;
    }
    handle_ = fd;
    device_ = device;
    append_ = (flags & append) != 0;
    return true;
}

long long File::readAt(char* buffer, std::size_t count, long long offset) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t chunk = count - done < largestTransfer ? count - done : largestTransfer;
        const ssize_t got = device_ ? ::read(descriptor(handle_), buffer + done, chunk)
                                    : ::pread(descriptor(handle_), buffer + done, chunk,
                                              static_cast<off_t>(offset + static_cast<long long>(done)));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

bool File::writeAt(const char* buffer, std::size_t count, long long& offset) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t chunk = count - done < largestTransfer ? count - done : largestTransfer;
        // With O_APPEND, write puts the bytes after the last one and leaves
        // the descriptor's position just past them.
        const ssize_t put = device_ || append_
                                ? ::write(descriptor(handle_), buffer + done, chunk)
                                : ::pwrite(descriptor(handle_), buffer + done, chunk, static_cast<off_t>(offset));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) {
            return false;  // the system takes nothing and says no more
        }
        done += static_cast<std::size_t>(put);
        if (append_ && !device_) {
            const off_t end = lseek(descriptor(handle_), 0, SEEK_CUR);
            offset = end >= 0 ? static_cast<long long>(end) : offset + put;
        } else {
            offset += put;
        }
    }
    return true;
}

long long File::size() const {
    if (device_) {
        return 0;
    }
    struct stat status;
    if (fstat(descriptor(handle_), &status) != 0) {
        return -1;
    }
    return static_cast<long long>(status.st_size);
}

}  // namespace platform
}  // namespace quen
