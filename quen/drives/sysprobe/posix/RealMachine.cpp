// The real machine on Linux, from the mount table (/proc/self/mounts):
//
//   C:        the root file system, a hard disk;
//   D: on     the media mounted where desktops mount removable media
//             (/media/USER/NAME, /run/media/USER/NAME, /media/NAME), optical
//             drives (/dev/sr*) wherever they are mounted, and network file
//             systems wherever they are mounted. Optical drives and ISO 9660
//             or UDF media are CD-ROMs, network file systems network drives,
//             the rest removable drives.
//
// Letters stay with their media, as Windows keeps them: a medium that
// stays mounted keeps its letter, in this process and in every other, and a
// medium that has none takes the first letter from D on that no mounted
// medium holds. The assignments are kept in the registry store under
// HKEY_LOCAL_MACHINE\SYSTEM\QuenMountedMedia, one value a letter
// ("\DosDevices\D:") holding the medium's identity, and in the process as
// well, for when the store cannot be written. A medium that returns takes
// its remembered letter again if no mounted medium holds it.
//
// The label is read from the file system on the mount's device (libblkid);
// where that is refused, udev's /dev/disk/by-label names it. A mount without
// a device (tmpfs, a network file system) has no file-system label: its
// mount point's last component stands for it, as desktops and mount helpers
// name the mount point after the label or the share.
//
// A drive holds a medium while a mounted medium holds its letter; the
// capacity and the read-only state come from statvfs and the mount options.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include <blkid/blkid.h>
#include <dirent.h>
#include <mntent.h>
#include <sys/statvfs.h>

#include "quen/drives/sysprobe/Machines.h"
#include "quen/platform/Win32.h"

namespace sysProbe {
namespace {

const char* const mountTable = "/proc/self/mounts";

struct Mount {
    std::string device;
    std::string directory;
    std::string type;
    std::string options;
};

// The mount table by mount point; a point mounted twice gives the later,
// visible mount.
std::map<std::string, Mount> readMounts() {
    std::map<std::string, Mount> mounts;
    FILE* const table = setmntent(mountTable, "r");
    if (table == nullptr) {
        return mounts;
    }
    struct mntent entry;
    char buffer[4096];
    while (getmntent_r(table, &entry, buffer, sizeof buffer) != nullptr) {
        Mount mount;
        mount.device = entry.mnt_fsname;
        mount.directory = entry.mnt_dir;
        mount.type = entry.mnt_type;
        mount.options = entry.mnt_opts;
        mounts[mount.directory] = mount;
    }
    endmntent(table);
    return mounts;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool isMediaPlace(const std::string& directory) {
    const std::vector<std::string> parts = components(directory);
    if (parts.size() >= 2 && parts[0] == "media") {
        return parts.size() == 2 || parts.size() == 3;  // /media/LABEL, /media/USER/LABEL
    }
    return parts.size() == 4 && parts[0] == "run" && parts[1] == "media";  // /run/media/USER/LABEL
}

bool isNetworkType(const std::string& type) {
    static const char* const types[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph",
                                        "glusterfs", "fuse.sshfs", "fuse.glusterfs", "davfs", "fuse.davfs2"};
    for (const char* known : types) {
        if (type == known) {
            return true;
        }
    }
    return false;
}

bool isOpticalDevice(const std::string& device) {
    return device.compare(0, 7, "/dev/sr") == 0 || device.compare(0, 10, "/dev/cdrom") == 0;
}

bool hasOption(const std::string& options, const char* option) {
    std::size_t start = 0;
    while (start <= options.size()) {
        std::size_t end = options.find(',', start);
        if (end == std::string::npos) {
            end = options.size();
        }
        if (options.compare(start, end - start, option) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// /dev/disk/by-label escapes blanks and other bytes as \xHH.
std::string unescapeLabel(const std::string& name) {
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const std::string hex = name.substr(i + 2, 2);
            char* end = nullptr;
            const long value = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) {
                label += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        label += name[i];
    }
    return label;
}

std::string realPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The name in a /dev/disk/by-... folder whose link leads to the device.
std::string udevName(const char* folder, const std::string& device) {
    const std::string target = realPath(device);
    DIR* const directory = target.empty() ? nullptr : opendir(folder);
    if (directory == nullptr) {
        return std::string();
    }
    std::string found;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && realPath(std::string(folder) + name) == target) {
            found = unescapeLabel(name);
            break;
        }
    }
    closedir(directory);
    return found;
}

// What the file system on a device says of itself.
struct Identity {
    std::string label;
    std::string uuid;
};

Identity probeDevice(const std::string& device) {
    Identity identity;
    blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
    if (probe == nullptr) {
        // Not allowed to read the device: udev has read it for us.
        identity.label = udevName("/dev/disk/by-label/", device);
        identity.uuid = udevName("/dev/disk/by-uuid/", device);
        return identity;
    }
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
    if (blkid_do_safeprobe(probe) == 0) {
        const char* value = nullptr;
        if (blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value != nullptr) {
            identity.label = value;
        }
        if (blkid_probe_lookup_value(probe, "UUID", &value, nullptr) == 0 && value != nullptr) {
            identity.uuid = value;
        }
    }
    blkid_free_probe(probe);
    return identity;
}

// A mounted medium with its letter.
struct MountedMedium {
    Mount mount;
    EDriveFamily family = familyRemovable;
    std::string label;
    // What the letter is remembered by: the file system's UUID where it has
    // one, else the device and label, else (no device) the mount itself.
    std::string identity;
    int number = -1;
};

bool hasDevice(const Mount& mount) {
    return mount.device.compare(0, 5, "/dev/") == 0;
}

// The media of the mount table, in mount-point order, without letters. A
// medium mounted twice is listed once, at its first mount point.
std::vector<MountedMedium> listMedia(const std::map<std::string, Mount>& mounts) {
    std::vector<MountedMedium> media;
    for (const auto& entry : mounts) {
        const Mount& mount = entry.second;
        if (mount.directory == "/") {
            continue;
        }
        MountedMedium medium;
        if (isNetworkType(mount.type)) {
            medium.family = familyNetwork;
        } else if (isOpticalDevice(mount.device)) {
            medium.family = familyCDROM;
        } else if (isMediaPlace(mount.directory)) {
            medium.family = mount.type == "iso9660" || mount.type == "udf" ? familyCDROM : familyRemovable;
        } else {
            continue;
        }
        medium.mount = mount;
        if (hasDevice(mount)) {
            const Identity identity = probeDevice(mount.device);
            medium.label = identity.label;
            medium.identity = !identity.uuid.empty() ? "UUID " + identity.uuid
                                                      : "DEVICE " + mount.device + " " + identity.label;
        } else {
            const std::vector<std::string> parts = components(mount.directory);
            medium.label = parts.empty() ? std::string() : parts.back();
            medium.identity = "MOUNT " + mount.type + " " + mount.device + " " + mount.directory;
        }
        bool seen = false;
        for (const MountedMedium& earlier : media) {
            seen = seen || earlier.identity == medium.identity;
        }
        if (!seen) {
            media.push_back(medium);
        }
    }
    return media;
}

const char* const assignmentsKey = "SYSTEM\\QuenMountedMedia";

std::string valueName(int number) {
    return std::string("\\DosDevices\\") + static_cast<char>('A' + number) + ":";
}

// The letters remembered in this process: a store that cannot be written
// still leaves the letters stable while the process runs.
std::map<int, std::string>& processAssignments() {
    static std::map<int, std::string> assignments;
    return assignments;
}

std::mutex& assignmentLock() {
    static std::mutex lock;
    return lock;
}

// The identity remembered for each letter: the store's, else the process's.
std::map<int, std::string> readAssignments() {
    std::map<int, std::string> assignments = processAssignments();
    if (quen::posix::registryStoreFile().empty()) {
        return assignments;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, assignmentsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return assignments;
    }
    for (int number = 'D' - 'A'; number <= 'Z' - 'A'; ++number) {
        char data[1024];
        DWORD size = sizeof data - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, valueName(number).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ) {
            data[size] = '\0';
            assignments[number] = data;
        }
    }
    RegCloseKey(key);
    return assignments;
}

void rememberAssignment(int number, const std::string& identity) {
    processAssignments()[number] = identity;
    if (quen::posix::registryStoreFile().empty()) {
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, assignmentsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, valueName(number).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(identity.c_str()),
                   static_cast<DWORD>(identity.size() + 1));
    RegCloseKey(key);
}

// The media mounted now, each with its letter; media past Z have none and
// are left out.
std::vector<MountedMedium> mountedMedia() {
    std::vector<MountedMedium> media = listMedia(readMounts());
    if (media.empty()) {
        return media;  // nothing to assign: the store is not even opened
    }
    const std::lock_guard<std::mutex> lock(assignmentLock());
    const std::map<int, std::string> remembered = readAssignments();
    bool held[26] = {};
    held['C' - 'A'] = true;
    // Letters held by media still mounted first, so that no newcomer takes one.
    for (MountedMedium& medium : media) {
        for (const auto& entry : remembered) {
            if (entry.second == medium.identity && !held[entry.first]) {
                medium.number = entry.first;
                held[entry.first] = true;
                break;
            }
        }
    }
    std::vector<MountedMedium> lettered;
    for (MountedMedium& medium : media) {
        if (medium.number < 0) {
            for (int number = 'D' - 'A'; number <= 'Z' - 'A' && medium.number < 0; ++number) {
                if (!held[number]) {
                    medium.number = number;
                    held[number] = true;
                    rememberAssignment(number, medium.identity);
                }
            }
        }
        if (medium.number >= 0) {
            lettered.push_back(medium);
        }
    }
    return lettered;
}

bool readStatus(const std::string& directory, Medium& medium) {
    struct statvfs status;
    if (statvfs(directory.c_str(), &status) != 0) {
        return false;
    }
    medium.capacity = static_cast<std::uint64_t>(status.f_blocks) * status.f_frsize;
    medium.readOnly = medium.readOnly || (status.f_flag & ST_RDONLY) != 0;
    return true;
}

// C: the root file system, always there.
class RootDrive : public Drive {
public:
    RootDrive() : Drive(familyHardDisk, 'C' - 'A') {}

protected:
    bool readMedium(Medium& medium) override {
        const std::map<std::string, Mount> mounts = readMounts();
        const auto found = mounts.find("/");
        if (found != mounts.end()) {
            medium.fileSystem = found->second.type;
            medium.readOnly = hasOption(found->second.options, "ro");
            if (hasDevice(found->second)) {
                medium.label = probeDevice(found->second.device).label;
            }
        }
        readStatus("/", medium);
        return true;
    }
};

// D: on: whichever mounted medium holds the letter now, wherever mounted.
class MediumDrive : public Drive {
public:
    MediumDrive(EDriveFamily family, int driveNumber) : Drive(family, driveNumber) {}

protected:
    bool readMedium(Medium& medium) override {
        for (const MountedMedium& mounted : mountedMedia()) {
            if (mounted.number == getDrvNum()) {
                medium.label = mounted.label;
                medium.fileSystem = mounted.mount.type;
                medium.readOnly = hasOption(mounted.mount.options, "ro");
                readStatus(mounted.mount.directory, medium);
                return true;
            }
        }
        return false;
    }
};

}  // namespace

void listRealMachine(DriveList& drives) {
    drives.emplace_back(new RootDrive);
    std::vector<MountedMedium> media = mountedMedia();
    std::sort(media.begin(), media.end(),
              [](const MountedMedium& a, const MountedMedium& b) { return a.number < b.number; });
    for (const MountedMedium& medium : media) {
        drives.emplace_back(new MediumDrive(medium.family, medium.number));
    }
}

RootAnswer realDriveRoot(int driveNumber, std::string& folder) {
    if (driveNumber == 'C' - 'A') {
        folder = "/";
        return rootFolder;
    }
    for (const MountedMedium& medium : mountedMedia()) {
        if (medium.number == driveNumber) {
            folder = medium.mount.directory;
            return rootFolder;
        }
    }
    return rootNoMedium;
}

bool realDriveOfPath(const std::string& path, int& driveNumber, std::string& rest) {
    std::size_t longest = 0;
    bool found = false;
    for (const MountedMedium& medium : mountedMedia()) {
        std::string behind;
        if (medium.mount.directory.size() > longest && folderHolds(medium.mount.directory, path, false, behind)) {
            found = true;
            longest = medium.mount.directory.size();
            driveNumber = medium.number;
            rest = behind;
        }
    }
    if (!found && folderHolds("/", path, false, rest)) {
        driveNumber = 'C' - 'A';
        found = true;
    }
    return found;
}

}  // namespace sysProbe
