// The Win32 API the library is written against.
//
// On Windows this is the system's own <windows.h> and <commctrl.h>. On Linux
// it is the library's own subset of Win32: the same types, constants and
// functions, in the global namespace as Windows declares them, with the
// behaviour the library and its hosts rely on. Code that includes this header
// therefore compiles unchanged on both platforms.
#ifndef QUEN_PLATFORM_WIN32_H
#define QUEN_PLATFORM_WIN32_H

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#  include <commctrl.h>
#else
#  include "quen/platform/posix/Types.h"
#  include "quen/platform/posix/Errors.h"
#  include "quen/platform/posix/StringResources.h"
#  include "quen/platform/posix/MessageBox.h"
#  include "quen/platform/posix/Registry.h"
#  include "quen/platform/posix/Events.h"
#  include "quen/platform/posix/Windows.h"
#  include "quen/platform/posix/Time.h"
#  include "quen/platform/posix/FileSystem.h"
#endif

#endif
