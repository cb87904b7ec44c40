// The sources of drive records behind DriveArray, and where each drive's
// files are. Internal to sysProbe and the platform's name translation.
#ifndef QUEN_DRIVES_SYSPROBE_MACHINES_H
#define QUEN_DRIVES_SYSPROBE_MACHINES_H

#include <memory>
#include <string>
#include <vector>

#include "quen/drives/sysprobe/SysProbe.h"

namespace sysProbe {

typedef std::vector<std::unique_ptr<Drive>> DriveList;

// The scripted machine's file when QUEN_SYSPROBE names one. A relative name
// is taken from the folder that was current when the library loaded (the
// first call, which the drive map makes while the library loads), so that a
// host changing its current folder later keeps its machine; a value set
// after that is taken from the folder current at the call.
bool scriptedMachineFile(std::string& file);

// The drives of the scripted machine in file, in the file's order.
void listScriptedMachine(const std::string& file, DriveList& drives);

// The drives of the machine the process runs on (one implementation per
// platform).
void listRealMachine(DriveList& drives);

// Where a machine keeps the files of a drive's medium: the folder of its
// root, no medium (rootNoMedium), or rootNotKnown when the machine says
// nothing and the name stays the system's.
RootAnswer scriptedDriveRoot(const std::string& file, int driveNumber, std::string& folder);
RootAnswer realDriveRoot(int driveNumber, std::string& folder);

// The drive whose medium's root folder holds path (the innermost one), and
// the rest of the path behind that folder, starting with a separator or
// empty; false when no drive's root holds it.
bool scriptedDriveOfPath(const std::string& file, const std::string& path, int& driveNumber, std::string& rest);
bool realDriveOfPath(const std::string& path, int& driveNumber, std::string& rest);

// Whether folder is path itself or a folder above it ('/' and '\' equal;
// letters compared ignoring case when ignoreCase); sets rest to what
// follows it in path.
bool folderHolds(const std::string& folder, const std::string& path, bool ignoreCase, std::string& rest);

}  // namespace sysProbe

#endif
