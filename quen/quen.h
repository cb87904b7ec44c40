// Everything quen offers: every public header and the platform's Win32 API
// (on Windows <windows.h> and <commctrl.h>, on Linux the library's subset).
#ifndef QUEN_QUEN_H
#define QUEN_QUEN_H

#include "quen/platform/Win32.h"

// Strings
#include "quen/strings/ICharTraits.h"
#include "quen/strings/StdString.h"
#include "quen/strings/StringTable.h"
#include "quen/strings/UtilityStrings.h"

// Errors and diagnostics
#include "quen/errors/DebugStream.h"
#include "quen/errors/QuenAssert.h"
#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/errors/WindowsMessage.h"

// Reference counting
#include "quen/smart/ArrayRef.h"
#include "quen/smart/ObjRef.h"
#include "quen/smart/RefBase.h"
#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartBase.h"
#include "quen/smart/SmartPointer.h"

#endif
