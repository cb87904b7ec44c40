// The Win32 base types (and __int64) without the rest of the API, for public
// headers that need only those.
#ifndef QUEN_PLATFORM_BASETYPES_H
#define QUEN_PLATFORM_BASETYPES_H

#if defined(_WIN32)
#  include <windef.h>  // the compiler knows __int64 itself
#else
#  include "quen/platform/posix/Types.h"
#endif

#endif
