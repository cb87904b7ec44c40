// The real machine on Linux, from the mount table (/proc/self/mounts):
//
//   C:        the root file system, a hard disk; its label is the one that
//             /dev/disk/by-label gives for its device, if any;
//   D: on     in mount-point order, the media mounted where desktops mount
//             removable media (/media/USER/LABEL, /run/media/USER/LABEL,
//             /media/LABEL), optical drives (/dev/sr*) wherever they are
//             mounted, and network file systems wherever they are mounted.
//             Optical drives and ISO 9660 or UDF media are CD-ROMs, network
//             file systems network drives, the rest removable drives. The
//             label is the mount point's last component, as desktops name
//             the mount point after the label.
//
// A drive holds a medium while its mount point is mounted; the capacity and
// the read-only state come from statvfs and the mount options.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>

#include <dirent.h>
#include <mntent.h>
#include <sys/statvfs.h>

#include "quen/drives/sysprobe/Machines.h"

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

std::string labelOfDevice(const std::string& device) {
    const std::string target = realPath(device);
    if (target.empty()) {
        return std::string();
    }
    const std::string folder = "/dev/disk/by-label/";
    DIR* const directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return std::string();
    }
    std::string label;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && realPath(folder + name) == target) {
            label = unescapeLabel(name);
            break;
        }
    }
    closedir(directory);
    return label;
}

class MountedDrive : public Drive {
public:
    MountedDrive(EDriveFamily family, int driveNumber, const std::string& directory, bool root)
        : Drive(family, driveNumber), directory_(directory), root_(root) {}

protected:
    bool readMedium(Medium& medium) override {
        const std::map<std::string, Mount> mounts = readMounts();
        const auto found = mounts.find(directory_);
        if (found == mounts.end() && !root_) {
            return false;  // unmounted: the medium has gone
        }
        bool readOnly = false;
        if (found != mounts.end()) {
            medium.fileSystem = found->second.type;
            readOnly = hasOption(found->second.options, "ro");
            const std::vector<std::string> parts = components(directory_);
            medium.label = root_ ? labelOfDevice(found->second.device) : parts.empty() ? std::string() : parts.back();
        }
        struct statvfs status;
        if (statvfs(directory_.c_str(), &status) == 0) {
            medium.capacity = static_cast<std::uint64_t>(status.f_blocks) * status.f_frsize;
            readOnly = readOnly || (status.f_flag & ST_RDONLY) != 0;
        }
        medium.readOnly = readOnly;
        return true;
    }

private:
    std::string directory_;
    bool root_;
};

}  // namespace

void listRealMachine(DriveList& drives) {
    drives.emplace_back(new MountedDrive(familyHardDisk, 'C' - 'A', "/", true));
    // The map is ordered by mount point, which gives the letters their order.
    int number = 'D' - 'A';
    for (const auto& entry : readMounts()) {
        const Mount& mount = entry.second;
        if (number > 'Z' - 'A' || mount.directory == "/") {
            continue;
        }
        EDriveFamily family;
        if (isNetworkType(mount.type)) {
            family = familyNetwork;
        } else if (isOpticalDevice(mount.device)) {
            family = familyCDROM;
        } else if (isMediaPlace(mount.directory)) {
            family = mount.type == "iso9660" || mount.type == "udf" ? familyCDROM : familyRemovable;
        } else {
            continue;
        }
        drives.emplace_back(new MountedDrive(family, number++, mount.directory, false));
    }
}

}  // namespace sysProbe
