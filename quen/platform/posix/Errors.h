// Win32 error codes, the thread's last error and the system's error texts.
#ifndef QUEN_PLATFORM_POSIX_ERRORS_H
#define QUEN_PLATFORM_POSIX_ERRORS_H

#include <cstdarg>

#include "quen/platform/posix/Types.h"

#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_DRIVE 15L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_NOT_READY 21L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_EOF 38L
#define ERROR_HANDLE_DISK_FULL 39L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BROKEN_PIPE 109L
#define ERROR_DISK_FULL 112L
#define ERROR_CALL_NOT_IMPLEMENTED 120L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_BUSY 170L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_MORE_DATA 234L
#define WAIT_TIMEOUT 258L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_DIRECTORY 267L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_INVALID_ADDRESS 487L
#define ERROR_OPERATION_ABORTED 995L
#define ERROR_IO_DEVICE 1117L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_TIMEOUT 1460L

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))

extern "C" {

// The calling thread's last error, as on Windows.
QUEN_API DWORD WINAPI GetLastError(void);
QUEN_API void WINAPI SetLastError(DWORD code);

// Only FORMAT_MESSAGE_FROM_SYSTEM is supported: the text is the operating
// system's own text for the errno that corresponds to the Win32 code,
// followed by CR LF as Windows system texts are. Returns the number of
// characters written (without the terminating zero), or 0 with
// ERROR_MR_MID_NOT_FOUND when there is no text for the code.
// With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is the address of
// a pointer that receives a buffer to release with LocalFree.
QUEN_API DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                     LPSTR buffer, DWORD size, va_list* arguments);

// Releases a buffer allocated by FormatMessageA; returns null on success.
QUEN_API HLOCAL WINAPI LocalFree(HLOCAL memory);
}

namespace quen {
namespace posix {

// The Win32 code that corresponds to an errno value (ERROR_INVALID_FUNCTION
// when there is none closer), for the subset's calls that fail in POSIX.
QUEN_API DWORD win32ErrorFromErrno(int error);

// Sets the thread's last error from errno and returns the code set.
QUEN_API DWORD setLastErrorFromErrno();

}  // namespace posix
}  // namespace quen

#endif
