// The thread's last error and the system's texts for Win32 error codes.
#include "quen/platform/posix/Errors.h"
#include "quen/platform/posix/Registry.h"
#include "quen/platform/posix/Windows.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct ErrorPair {
    DWORD win32;
    int error;
};

// The first pair for an errno gives its Win32 code; the first pair for a
// Win32 code gives the errno whose text stands for it.
constexpr ErrorPair errorPairs[] = {
    {ERROR_SUCCESS, 0},
    {ERROR_INVALID_FUNCTION, ENOSYS},
    {ERROR_FILE_NOT_FOUND, ENOENT},
    {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    {ERROR_TOO_MANY_OPEN_FILES, ENFILE},
    {ERROR_ACCESS_DENIED, EACCES},
    {ERROR_ACCESS_DENIED, EPERM},
    {ERROR_INVALID_HANDLE, EBADF},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    {ERROR_INVALID_DATA, EILSEQ},
    {ERROR_OUTOFMEMORY, ENOMEM},
    {ERROR_INVALID_DRIVE, ENODEV},
    {ERROR_NOT_SAME_DEVICE, EXDEV},
    {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_NOT_READY, ENXIO},
    {ERROR_SHARING_VIOLATION, ETXTBSY},
    {ERROR_LOCK_VIOLATION, EDEADLK},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},
    {ERROR_NOT_SUPPORTED, EOPNOTSUPP},
    {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_INVALID_PARAMETER, EINVAL},
    {ERROR_INVALID_PARAMETER, EDOM},
    {ERROR_BROKEN_PIPE, EPIPE},
    {ERROR_DISK_FULL, ENOSPC},
    {ERROR_CALL_NOT_IMPLEMENTED, ENOSYS},
    {ERROR_INSUFFICIENT_BUFFER, ENOBUFS},
    {ERROR_INVALID_NAME, EINVAL},
    {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
    {ERROR_BUSY, EBUSY},
    {ERROR_ALREADY_EXISTS, EEXIST},
    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_MORE_DATA, EOVERFLOW},
    {ERROR_NO_MORE_ITEMS, ENODATA},
    {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_INVALID_ADDRESS, EFAULT},
    {ERROR_OPERATION_ABORTED, ECANCELED},
    {ERROR_IO_DEVICE, EIO},
    {ERROR_TIMEOUT, ETIMEDOUT},
    {ERROR_INVALID_PARAMETER, ERANGE},
    {ERROR_MOD_NOT_FOUND, ELIBACC},
    {ERROR_PATH_NOT_FOUND, ELOOP},
};

// Texts of our own, worded as Windows words them, for the codes this subset
// sets that no errno stands for. Every ERROR_ code that the subset's sources
// name must have a text, here or through the pairs above (a test checks it).
struct OwnText {
    DWORD win32;
    const char* text;
};

constexpr OwnText ownTexts[] = {
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_BAD_PATHNAME, "The specified path is invalid."},
    {ERROR_MR_MID_NOT_FOUND, "The system cannot find message text for the message number in the message file."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_BADDB, "The configuration registry database is corrupt."},
    {ERROR_CANTOPEN, "The configuration registry key could not be opened."},
    {ERROR_CANTREAD, "The configuration registry key could not be read."},
    {ERROR_CANTWRITE, "The configuration registry key could not be written."},
    {ERROR_KEY_DELETED, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_TLW_WITH_WSCHILD, "Cannot create a top-level child window."},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class."},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists."},
    {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows."},
    {ERROR_INVALID_THREAD_ID, "Invalid thread identifier."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The specified resource name cannot be found in the image file."},
    {ERROR_NOT_ENOUGH_QUOTA, "Not enough quota is available to process this command."},
};

bool errnoForCode(DWORD code, int& error) {
    for (const ErrorPair& pair : errorPairs) {
        if (pair.win32 == code) {
            error = pair.error;
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD code) {
    lastError = code;
}

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                            va_list*) {
    // The system's own text where an errno stands for the code, else ours.
    const char* systemText = nullptr;
    char text[256];
    int error = 0;
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0) {
        if (errnoForCode(messageId, error)) {
            // The GNU strerror_r returns the text, which need not be in our buffer.
            systemText = strerror_r(error, text, sizeof text);
        } else {
            for (const OwnText& own : ownTexts) {
                if (own.win32 == messageId) {
                    systemText = own.text;
                    break;
                }
            }
        }
    }
    if (systemText == nullptr) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    const std::size_t length = std::strlen(systemText) + 2;  // with CR LF

    char* target = nullptr;
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        if (buffer == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        const std::size_t allocated = length + 1 > size ? length + 1 : size;
        target = static_cast<char*>(std::malloc(allocated));
        if (target == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        *reinterpret_cast<char**>(buffer) = target;
    } else {
        if (buffer == nullptr || size < length + 1) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        target = buffer;
    }
    std::memcpy(target, systemText, length - 2);
    std::memcpy(target + length - 2, "\r\n", 3);
    return static_cast<DWORD>(length);
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

}  // extern "C"

namespace quen {
namespace posix {

DWORD win32ErrorFromErrno(int error) {
    for (const ErrorPair& pair : errorPairs) {
        if (pair.error == error) {
            return pair.win32;
        }
    }
    return ERROR_INVALID_FUNCTION;
}

DWORD setLastErrorFromErrno() {
    const DWORD code = win32ErrorFromErrno(errno);
    SetLastError(code);
    return code;
}

}  // namespace posix
}  // namespace quen
