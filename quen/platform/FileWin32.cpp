// The library's file on a Windows HANDLE: ReadFile and WriteFile at the
// caller's offsets (an OVERLAPPED offset on a synchronous handle), so no call
// depends on the handle's own file pointer.
#include <windows.h>

#include <string>

#include "quen/platform/DriveNames.h"

#include "quen/platform/File.h"

namespace quen {
namespace platform {
namespace {

// The one place where a caller's file name becomes the name handed to the
// system: lookAtFile and File::open take every name through it, so a
// drive-form name reaches the file under its drive's root.
std::string systemName(const char* name) {
    return systemFileName(name);
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED at(unsigned long long offset) {
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFULL);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// What one ReadFile or WriteFile moves at most.
const std::size_t largestTransfer = 0x40000000;

}  // namespace

FileFacts lookAtFile(const char* name) {
    FileFacts facts;
    if (name == nullptr) {
        return facts;
    }
    // The attributes need no handle: no sharing mode of another process
    // refuses them, and no device or pipe is opened to learn them.
    const DWORD attributes = GetFileAttributesA(systemName(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        facts.kind = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::missing
                                                                                       : FileKind::other;
        return facts;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        facts.kind = FileKind::other;
        return facts;
    }
    facts.kind = FileKind::regular;
    facts.readOnlyAttribute = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return facts;
}

File::~File() {
    close();
}

void File::close() {
    if (handle_ != closed) {
        // Nothing is pending: every write was made when it was asked for.
        CloseHandle(handleOf(handle_));
        handle_ = closed;
    }
}

bool File::open(const char* name, int flags) {
    close();
    if (name == nullptr) {
        return false;
    }
    const std::string path = systemName(name);
    // Others may read and write the file meanwhile, as with the runtime's
    // own files. A directory is refused here (no backup semantics).
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, (flags & create) != 0 ? OPEN_ALWAYS : OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool created = (flags & create) != 0 && GetLastError() != ERROR_ALREADY_EXISTS;
    const DWORD type = GetFileType(file);
    bool fits = type == FILE_TYPE_DISK || type == FILE_TYPE_CHAR;
    const bool device = type == FILE_TYPE_CHAR;
    // Emptied only now that it is known to be a file on a disk.
    if (fits && (flags & truncate) != 0 && !device) {
        LARGE_INTEGER start;
        start.QuadPart = 0;
        fits = SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    }
    if (!fits) {
        CloseHandle(file);
        if (created) {
            DeleteFileA(path.c_str());
        }
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    device_ = device;
    append_ = (flags & append) != 0;
    return true;
}

long long File::readAt(char* buffer, std::size_t count, long long offset) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t chunk = count - done < largestTransfer ? count - done : largestTransfer;
        OVERLAPPED where = at(static_cast<unsigned long long>(offset) + done);
        DWORD got = 0;
        if (!ReadFile(handleOf(handle_), buffer + done, static_cast<DWORD>(chunk), &got,
                      device_ ? nullptr : &where)) {
            // An offset at or past the end is refused with this code.
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (got == 0) break;
        done += got;
    }
    return static_cast<long long>(done);
}

bool File::writeAt(const char* buffer, std::size_t count, long long& offset) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t chunk = count - done < largestTransfer ? count - done : largestTransfer;
        // Both halves all ones: after the file's last byte, whoever else
        // writes to it.
        OVERLAPPED where = append_ ? at(~0ULL) : at(static_cast<unsigned long long>(offset));
        DWORD put = 0;
        const BOOL written = WriteFile(handleOf(handle_), buffer + done, static_cast<DWORD>(chunk), &put,
                                       device_ ? nullptr : &where);
        done += put;
        if (append_ && !device_) {
            const long long end = size();
            offset = end >= 0 ? end : offset + put;
        } else {
            offset += put;
        }
        if (!written || put == 0) {
            return false;
        }
    }
    return true;
}

long long File::size() const {
    if (device_) {
        return 0;
    }
    LARGE_INTEGER length;
    if (!GetFileSizeEx(handleOf(handle_), &length)) {
        return -1;
    }
    return static_cast<long long>(length.QuadPart);
}

}  // namespace platform
}  // namespace quen
