// quen drives, quen volume, quen locate.
#include <iomanip>
#include <iostream>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

// The marker that opens a volume file name.
const quen::FileString marker("||");

const char* className(const quen::DiskDrive& drive) {
    if (drive.isHD()) return "DiskDriveHD";
    if (drive.isRAMDrive()) return "DiskDriveRAM";
    if (drive.isCDROM()) return "DiskDriveCDROM";
    if (drive.isFloppy()) return "DiskDriveFloppy";
    if (drive.isNetworkDrive()) return "DiskDriveNetwork";
    if (drive.isUnknown()) return "DiskDriveUnknown";
    return drive.isVolumeRemovable() ? "DiskDriveRemovableGeneric" : "DiskDriveFixed";
}

void expectNames(const Arguments& arguments) {
    if (arguments.empty()) {
        throw UsageError("no file name given");
    }
}

}  // namespace

int runDrives(const Arguments& arguments, const Options&, std::ostream& out) {
    if (!arguments.empty()) {
        throw UsageError("takes no arguments");
    }
    quen::DiskDriveAccessor drives;
    out << std::left << std::setw(7) << "drive" << std::setw(27) << "class" << std::setw(11) << "removable"
        << std::setw(17) << "label" << std::setw(11) << "read-only" << "capacity\n";
    for (bool more = drives.first(); more; more = drives.next()) {
        quen::DiskDrive& drive = drives.drive();
        // The label column shows "-" for an empty drive and "" for a medium
        // without a label, as a scripted machine writes them.
        const bool medium = drive.getDisk();
        const std::string label = !medium ? "-" : drive.volumeName().empty() ? "\"\"" : drive.volumeName().c_str();
        out << std::setw(7) << drive.driveName().c_str() << std::setw(27) << className(drive) << std::setw(11)
            << (drive.isVolumeRemovable() ? "yes" : "no") << std::setw(16) << label << ' ' << std::setw(11)
            << (drive.isReadOnly() ? "yes" : "no") << drive.capacity() << "\n";
    }
    return exitOk;
}

int runVolume(const Arguments& arguments, const Options&, std::ostream& out) {
    expectNames(arguments);
    quen::DiskDriveAccessor drives;
    for (const std::string& name : arguments) {
        const std::string driveName = quen::platform::driveFileName(name.c_str());
        const quen::FileString volume =
            onOperand(name, [&] { return drives.driveFileNameToVolumeFileName(driveName.c_str(), marker); });
        out << visibleName(volume.c_str()) << "\n";
    }
    return exitOk;
}

int runLocate(const Arguments& arguments, const Options&, std::ostream& out) {
    expectNames(arguments);
    quen::DiskDriveAccessor drives;
    int result = exitOk;
    for (const std::string& name : arguments) {
        const quen::FileString found =
            onOperand(name, [&] { return drives.volumeFileNameToDriveFileName(name.c_str(), marker); });
        if (found.empty()) {
            out.flush();
            std::cerr << "quen locate: " << visibleName(name) << ": no drive holds this volume\n";
            result = exitFailure;
        } else {
            out << visibleName(found.c_str()) << "\n";
        }
    }
    return result;
}

}  // namespace tool
