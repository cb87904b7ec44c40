// The registry calls of Win32 for the Linux build, over an SQLite store.
//
// The store is the file named by QUEN_REGISTRY, else
// $XDG_CONFIG_HOME/quen/registry.sqlite3, else ~/.config/quen/registry.sqlite3;
// it is made on first use with the five roots and their Software keys. Every
// write is committed before the call returns, so another process sees it at
// once and it survives a crash of the writer. Names compare ignoring the case
// of the letters A to Z and keep the case they were created with; sub-keys
// enumerate in that order, values in the order they were created. A store
// that cannot be opened or is not ours makes the calls fail with
// ERROR_CANTOPEN or ERROR_BADDB and is left as it was. A store file deleted
// or replaced while open is noticed before the next write: its handles then
// answer ERROR_KEY_DELETED, and the roots open the file now at the path.
// As on Windows, making a sub-key needs no right of the parent's handle.
#ifndef QUEN_PLATFORM_POSIX_REGISTRY_H
#define QUEN_PLATFORM_POSIX_REGISTRY_H

#include <string>

#include "quen/platform/posix/Time.h"
#include "quen/platform/posix/Types.h"

struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;
typedef LONG LSTATUS;
struct _SECURITY_ATTRIBUTES;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// The predefined roots, with Windows' values. They are never closed.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))

// Data types; the data is stored as given, whatever the type.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// Access rights of a key handle.
#ifndef READ_CONTROL
#  define READ_CONTROL 0x00020000L
#endif
#ifndef STANDARD_RIGHTS_READ
#  define STANDARD_RIGHTS_READ READ_CONTROL
#endif
#ifndef STANDARD_RIGHTS_WRITE
#  define STANDARD_RIGHTS_WRITE READ_CONTROL
#endif
#ifndef MAXIMUM_ALLOWED
#  define MAXIMUM_ALLOWED 0x02000000L
#endif
#ifndef GENERIC_READ
#  define GENERIC_READ 0x80000000L
#endif
#ifndef GENERIC_WRITE
#  define GENERIC_WRITE 0x40000000L
#endif
#ifndef GENERIC_EXECUTE
#  define GENERIC_EXECUTE 0x20000000L
#endif
#ifndef GENERIC_ALL
#  define GENERIC_ALL 0x10000000L
#endif
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

// Options and dispositions of RegCreateKeyExA. A volatile key is kept like
// any other.
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

// The registry's own error codes, beside those of Errors.h.
#ifndef ERROR_BAD_PATHNAME
#  define ERROR_BAD_PATHNAME 161L
#endif
#ifndef ERROR_NOACCESS
#  define ERROR_NOACCESS 998L
#endif
#ifndef ERROR_BADDB
#  define ERROR_BADDB 1009L
#endif
#ifndef ERROR_CANTOPEN
#  define ERROR_CANTOPEN 1011L
#endif
#ifndef ERROR_CANTREAD
#  define ERROR_CANTREAD 1012L
#endif
#ifndef ERROR_CANTWRITE
#  define ERROR_CANTWRITE 1013L
#endif
#ifndef ERROR_KEY_DELETED
#  define ERROR_KEY_DELETED 1018L
#endif

extern "C" {

// Each returns ERROR_SUCCESS or a Win32 error code, as on Windows (the
// thread's last error is not set). Names longer than 255 characters (keys)
// or 16,383 characters (values) fail with ERROR_INVALID_PARAMETER.
QUEN_API LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
QUEN_API LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                                     LPDWORD disposition);
QUEN_API LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                      LPDWORD dataSize);
QUEN_API LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                    DWORD dataSize);
QUEN_API LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                                   LPSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime);
QUEN_API LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength,
                                   LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
QUEN_API LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName);
QUEN_API LONG WINAPI RegCloseKey(HKEY key);
}

namespace quen {
namespace posix {

// The store file that the registry calls use now, from the environment;
// empty when there is no QUEN_REGISTRY and no home directory.
QUEN_API std::string registryStoreFile();

}  // namespace posix
}  // namespace quen

#endif
