// Win32 base types and constants for the Linux build.
//
// Sizes follow 32-bit Windows, not the LP64 model: DWORD and LONG are 32 bits
// wide here too, so that values stored or exchanged keep their Windows width.
#ifndef QUEN_PLATFORM_POSIX_TYPES_H
#define QUEN_PLATFORM_POSIX_TYPES_H

#include <cstddef>
#include <cstdint>

#include "quen/platform/Export.h"

// The compiler keyword of the Windows compilers; here the standard 64-bit type.
#ifndef __int64
#  define __int64 long long
#endif

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef ULONG_PTR SIZE_T;

typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* PVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;

// Handles are distinct pointer types, as with STRICT on Windows, so that
// overloads and mistakes are told apart by the compiler.
typedef void* HANDLE;
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HANDLE HLOCAL;

#ifndef TRUE
#  define TRUE 1
#endif
#ifndef FALSE
#  define FALSE 0
#endif

#define MAKEWORD(low, high) ((WORD)(((BYTE)((low) & 0xff)) | ((WORD)((BYTE)((high) & 0xff))) << 8))
#define MAKELONG(low, high) ((LONG)(((WORD)((low) & 0xffff)) | ((DWORD)((WORD)((high) & 0xffff))) << 16))
#define LOWORD(value) ((WORD)(((DWORD_PTR)(value)) & 0xffff))
#define HIWORD(value) ((WORD)((((DWORD_PTR)(value)) >> 16) & 0xffff))

#endif
