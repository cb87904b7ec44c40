// Message boxes for the Linux build.
//
// Linux has no desktop to own a modal box. MessageBoxA therefore asks on the
// process's terminal when it has one (caption, text and the buttons, read
// back by number or initial letter); without a terminal it returns the box's
// default button at once. A host or a test can take over the box entirely
// with setMessageBoxHandler, which sees the text, caption and type and
// returns the reply.
#ifndef QUEN_PLATFORM_POSIX_MESSAGEBOX_H
#define QUEN_PLATFORM_POSIX_MESSAGEBOX_H

#include "quen/platform/posix/Types.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_TYPEMASK 0x0000000FL

#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L

#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_DEFMASK 0x00000F00L

#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11

extern "C" {

QUEN_API int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// The desktop window: a fixed handle that owns top-level boxes.
QUEN_API HWND WINAPI GetDesktopWindow(void);
}

namespace quen {
namespace posix {

typedef int (*MessageBoxHandler)(HWND owner, const char* text, const char* caption, UINT type,
                                 void* context);

// Every MessageBoxA call goes to the handler while one is set (null restores
// the terminal behaviour). Returns the handler it replaces.
QUEN_API MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler, void* context);

// The reply a box of this type gives when nobody can answer: its default
// button (MB_DEFBUTTONn, the first button when n is out of range).
QUEN_API int defaultMessageBoxReply(UINT type);

}  // namespace posix
}  // namespace quen

#endif
