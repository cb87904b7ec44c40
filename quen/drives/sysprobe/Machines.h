// The sources of drive records behind DriveArray. Internal to sysProbe.
#ifndef QUEN_DRIVES_SYSPROBE_MACHINES_H
#define QUEN_DRIVES_SYSPROBE_MACHINES_H

#include <memory>
#include <string>
#include <vector>

#include "quen/drives/sysprobe/SysProbe.h"

namespace sysProbe {

typedef std::vector<std::unique_ptr<Drive>> DriveList;

// The drives of the scripted machine in file, in the file's order.
void listScriptedMachine(const std::string& file, DriveList& drives);

// The drives of the machine the process runs on (one implementation per
// platform).
void listRealMachine(DriveList& drives);

}  // namespace sysProbe

#endif
