// Named events and handles for the Linux build.
//
// An event with a name is shared by every process of the same user that
// opens that name: its state lives in a shared-memory segment and waiting
// sleeps on a futex in it, so that a SetEvent in one process wakes a wait in
// another. Each handle holds a shared flock on the segment; the kernel drops
// it when the handle is closed or the process ends, however it ends. A
// creator that finds no lock held therefore knows the segment is left over
// from processes that are gone, and makes a fresh event in it: the event
// lives exactly while some process holds a handle to it, as on Windows.
//
// A thread killed while it waits on an auto-reset event counts for nothing,
// as on Windows: a later SetEvent goes to a live waiter or stays on the
// event. At most 128 threads wait on one auto-reset event at once.
//
// Names compare with case, as kernel object names do on Windows. "Local\"
// in front of a name is the user's namespace (the default), "Global\" a
// namespace shared by all users, each of whom may open, set, wait on and
// make its events; any other backslash is a path that does not exist
// (ERROR_PATH_NOT_FOUND).
#ifndef QUEN_PLATFORM_POSIX_EVENTS_H
#define QUEN_PLATFORM_POSIX_EVENTS_H

#include "quen/platform/posix/Types.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_FAILED 0xFFFFFFFFu
#ifndef WAIT_TIMEOUT
#  define WAIT_TIMEOUT 258L
#endif

#ifndef MAX_PATH
#  define MAX_PATH 260
#endif

#define SYNCHRONIZE 0x00100000L
#define EVENT_MODIFY_STATE 0x0002
#define EVENT_ALL_ACCESS 0x001F0003

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

extern "C" {

// Creates the event, or opens it when one of that name exists (then the two
// switches are ignored and the last error is ERROR_ALREADY_EXISTS; a new
// event sets it to 0). A null or empty name makes an event of this process
// alone. Security attributes are accepted and ignored.
QUEN_API HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                                    LPCSTR name);
// Opens an existing event: null with ERROR_FILE_NOT_FOUND when there is none.
QUEN_API HANDLE WINAPI OpenEventA(DWORD access, BOOL inheritHandle, LPCSTR name);

QUEN_API BOOL WINAPI SetEvent(HANDLE event);
QUEN_API BOOL WINAPI ResetEvent(HANDLE event);

// WAIT_OBJECT_0 when the event is (or becomes) signalled within the time,
// taking the signal of an auto-reset event; WAIT_TIMEOUT when the time runs
// out (INFINITE never does); WAIT_FAILED with ERROR_INVALID_HANDLE for a
// handle that is not an open event, with ERROR_NOT_ENOUGH_MEMORY when 128
// threads already wait on the auto-reset event.
QUEN_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);

QUEN_API BOOL WINAPI CloseHandle(HANDLE handle);
}

#endif
