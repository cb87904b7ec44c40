// Everything quen offers: every public header and the platform's Win32 API
// (on Windows <windows.h> and <commctrl.h>, on Linux the library's subset).
#ifndef QUEN_QUEN_H
#define QUEN_QUEN_H

#include "quen/Version.h"
#include "quen/platform/Win32.h"
#include "quen/platform/DriveNames.h"

// Strings
#include "quen/strings/FileString.h"
#include "quen/strings/ICharTraits.h"
#include "quen/strings/StdString.h"
#include "quen/strings/StringTable.h"
#include "quen/strings/UtilityStrings.h"
#include "quen/strings/WildString.h"

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

// Binary streams
#include "quen/streams/BinFStream.h"
#include "quen/streams/BinStream.h"
#include "quen/streams/FileOpen.h"

// Values
#include "quen/values/Extent.h"
#include "quen/values/ExtentBase.h"
#include "quen/values/ExtentFP.h"
#include "quen/values/Point.h"
#include "quen/values/PointBase.h"
#include "quen/values/PointFP.h"
#include "quen/values/TimeDate.h"
#include "quen/values/XYBase.h"

// Drives and volumes
#include "quen/drives/Disk.h"
#include "quen/drives/DiskDrive.h"
#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"

// Sectioned text parser
#include "quen/parser/Parser.h"
#include "quen/parser/ParserArray.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"
#include "quen/parser/ParserSection.h"

// Registry
#include "quen/registry/Registry.h"
#include "quen/registry/RegistryQuenLtd.h"

// Windows interaction
#include "quen/windows/Boolean.h"
#include "quen/windows/Event.h"
#include "quen/windows/ProgressMeter.h"
#include "quen/windows/ProgressMeter2.h"
#include "quen/windows/WindowsMessageLoop.h"
#include "quen/windows/WindowsProgressMonitor.h"
#include "quen/windows/WindowsWaiting.h"

#endif
