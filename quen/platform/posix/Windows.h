// Windows, window classes and message queues for the Linux build.
//
// Nothing is drawn: a window here is its class, window procedure, text,
// parent and owning thread. Each thread gets a message queue when it first
// needs one; a message posted to a window goes to the queue of the thread
// that created the window, and a message sent to a window of another thread
// is run by that thread when it next looks at its queue, while the sender
// waits (and meanwhile runs what is sent to it), as on Windows. A thread's
// windows go with the thread.
//
// The system classes of the common controls are there from the start: the
// progress bar (PROGRESS_CLASSA), with the position, range and step of the
// Windows control, and the static control (WC_STATICA), which holds a text.
#ifndef QUEN_PLATFORM_POSIX_WINDOWS_H
#define QUEN_PLATFORM_POSIX_WINDOWS_H

#include "quen/platform/posix/Types.h"

typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;

struct HMENU__;
typedef HMENU__* HMENU;
struct HICON__;
typedef HICON__* HICON;
typedef HICON HCURSOR;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, *LPWNDCLASSA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct {
    int iLow;
    int iHigh;
} PBRANGE, *PPBRANGE;

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define MAKEWPARAM(low, high) ((WPARAM)(DWORD)MAKELONG(low, high))
#define MAKELPARAM(low, high) ((LPARAM)(DWORD)MAKELONG(low, high))
#define MAKELRESULT(low, high) ((LRESULT)(DWORD)MAKELONG(low, high))
#define MAKEINTATOM(atom) ((LPCSTR)((ULONG_PTR)((WORD)(atom))))

// Messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_USER 0x0400
#define WM_APP 0x8000

#define BN_CLICKED 0

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define CW_USEDEFAULT ((int)0x80000000)
#define HWND_MESSAGE ((HWND)(LONG_PTR)-3)

// Virtual keys that TranslateMessage turns into characters.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20

// The common controls.
#define PROGRESS_CLASSA "msctls_progress32"
#define WC_STATICA "Static"
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_STANDARD_CLASSES 0x00004000

#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)
#define PBM_GETSTEP (WM_USER + 13)

#ifndef ERROR_TLW_WITH_WSCHILD
#  define ERROR_TLW_WITH_WSCHILD 1406L
#endif
#ifndef ERROR_INVALID_THREAD_ID
#  define ERROR_INVALID_THREAD_ID 1444L
#endif
#ifndef ERROR_CLASS_HAS_WINDOWS
#  define ERROR_CLASS_HAS_WINDOWS 1412L
#endif
#ifndef ERROR_NOT_ENOUGH_QUOTA
#  define ERROR_NOT_ENOUGH_QUOTA 1816L
#endif

extern "C" {

// Classes are the process's; names compare ignoring case. The result is the
// class atom (0 with ERROR_CLASS_ALREADY_EXISTS for a name taken).
QUEN_API ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
QUEN_API BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);

// Sends WM_NCCREATE (whose default handling sets the text) and WM_CREATE;
// null when either refuses, when the class is unknown
// (ERROR_CANNOT_FIND_WND_CLASS) or the parent is not a window.
QUEN_API HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                     LPVOID parameter);
// WM_DESTROY to the window, then its children are destroyed, then
// WM_NCDESTROY; messages still posted to it are dropped. Only the thread
// that created a window destroys it (ERROR_ACCESS_DENIED otherwise).
QUEN_API BOOL WINAPI DestroyWindow(HWND window);
QUEN_API BOOL WINAPI IsWindow(HWND window);
QUEN_API HWND WINAPI GetParent(HWND window);
QUEN_API DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId);
QUEN_API DWORD WINAPI GetCurrentThreadId(void);

// WM_NCCREATE (text), WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, WM_CLOSE
// (destroys the window); 0 for everything else.
QUEN_API LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
QUEN_API LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam);

QUEN_API LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A null window posts to the calling thread's own queue.
QUEN_API BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
QUEN_API BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
QUEN_API void WINAPI PostQuitMessage(int exitCode);

// First runs the messages other threads have sent to this one. A null window
// takes messages of every window of the thread and the thread's own; a
// window takes its own and its descendants'; (HWND)-1 only the thread's own.
// WM_QUIT comes when no posted message is left, for a null window filter.
QUEN_API BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
// Waits for a message: 0 for WM_QUIT, -1 on an invalid window.
QUEN_API BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
// WM_KEYDOWN of a letter, digit, space, tab, return, back space or escape
// posts the WM_CHAR of a keyboard without shift; TRUE for every key message.
QUEN_API BOOL WINAPI TranslateMessage(const MSG* message);
QUEN_API LRESULT WINAPI DispatchMessageA(const MSG* message);

// Through WM_SETTEXT/WM_GETTEXT for the thread's own windows. For a window
// of another thread GetWindowTextA reads the text without a message, as
// Windows does for other processes' windows.
QUEN_API BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
QUEN_API int WINAPI GetWindowTextA(HWND window, LPSTR text, int size);
QUEN_API int WINAPI GetWindowTextLengthA(HWND window);

// A top-level window by class and text (either null for any), both compared
// ignoring case.
QUEN_API HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);

// The common controls are registered from the start; these only answer.
QUEN_API void WINAPI InitCommonControls(void);
QUEN_API BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
}

#endif
