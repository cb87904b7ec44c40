// The real machine on Windows: the logical drives the system reports, with
// the medium read through the volume information of each drive's root.
#include <string>

#include "quen/drives/sysprobe/Machines.h"
#include "quen/platform/Win32.h"

namespace sysProbe {
namespace {

EDriveFamily familyOf(UINT type, int driveNumber) {
    switch (type) {
    case DRIVE_FIXED: return familyHardDisk;
    case DRIVE_RAMDISK: return familyRAMDisk;
    case DRIVE_CDROM: return familyCDROM;
    case DRIVE_REMOTE: return familyNetwork;
    case DRIVE_REMOVABLE: return driveNumber < 2 ? familyFloppy : familyRemovable;
    default: return familyUnknown;
    }
}

class WindowsDrive : public Drive {
public:
    WindowsDrive(EDriveFamily family, int driveNumber) : Drive(family, driveNumber) {
        root_[0] = static_cast<char>('A' + driveNumber);
        root_[1] = ':';
        root_[2] = '\\';
        root_[3] = '\0';
    }

protected:
    bool readMedium(Medium& medium) override {
        // An empty floppy or CD drive must answer "no medium", not ask the
        // user to insert one.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        DWORD flags = 0;
        const bool present = readVolume(medium, flags);
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        ULARGE_INTEGER free;
        const BOOL sized = present && GetDiskFreeSpaceExA(root_, &available, &total, &free);
        SetErrorMode(oldMode);
        if (!present) {
            return false;
        }
        medium.capacity = sized ? total.QuadPart : 0;
        medium.readOnly = (flags & FILE_READ_ONLY_VOLUME) != 0;
        return true;
    }

private:
    // The label, the file system and the flags of the volume in the drive;
    // false when there is none.
    bool readVolume(Medium& medium, DWORD& flags) const {
        DWORD serial = 0;
        DWORD maximumLength = 0;
        // Where the system has it, the volume is asked through a handle on
        // its root directory: GetVolumeInformationA opens the volume device
        // itself, and under Wine, where reading the device behind Z: (the
        // host's root) is refused, that makes every process that loads the
        // library print a complaint on its standard error.
        if (const VolumeByHandle byHandle = volumeByHandle()) {
            const HANDLE root = CreateFileA(root_, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            if (root == INVALID_HANDLE_VALUE) {
                return false;
            }
            WCHAR label[MAX_PATH + 1] = L"";
            WCHAR fileSystem[MAX_PATH + 1] = L"";
            const BOOL done = byHandle(root, label, MAX_PATH + 1, &serial, &maximumLength, &flags, fileSystem,
                                       MAX_PATH + 1);
            CloseHandle(root);
            if (!done) {
                return false;
            }
            medium.label = narrow(label);
            medium.fileSystem = narrow(fileSystem);
            return true;
        }
        char label[MAX_PATH + 1] = "";
        char fileSystem[MAX_PATH + 1] = "";
        if (!GetVolumeInformationA(root_, label, sizeof label, &serial, &maximumLength, &flags, fileSystem,
                                   sizeof fileSystem)) {
            return false;
        }
        medium.label = label;
        medium.fileSystem = fileSystem;
        return true;
    }

    typedef BOOL(WINAPI* VolumeByHandle)(HANDLE, LPWSTR, DWORD, LPDWORD, LPDWORD, LPDWORD, LPWSTR, DWORD);

    // GetVolumeInformationByHandleW, or null before Windows Vista.
    static VolumeByHandle volumeByHandle() {
        static const VolumeByHandle function = [] {
            const HMODULE kernel = GetModuleHandleA("kernel32.dll");
            const FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "GetVolumeInformationByHandleW") : nullptr;
            // Through void (*)(): a cast between two unrelated function
            // types draws a warning.
            return reinterpret_cast<VolumeByHandle>(reinterpret_cast<void (*)()>(found));
        }();
        return function;
    }

    // In the ANSI code page, as GetVolumeInformationA gives it.
    static std::string narrow(const WCHAR* text) {
        const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (size <= 1) {
            return std::string();
        }
        std::string result(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(size - 1));
        return result;
    }

    char root_[4];
};

}  // namespace

void listRealMachine(DriveList& drives) {
    const DWORD letters = GetLogicalDrives();
    for (int number = 0; number < 26; ++number) {
        if ((letters & (DWORD(1) << number)) == 0) {
            continue;
        }
        const char root[4] = {static_cast<char>('A' + number), ':', '\\', '\0'};
        drives.emplace_back(new WindowsDrive(familyOf(GetDriveTypeA(root), number), number));
    }
}

// The system resolves drive letters itself: a drive-form name is already
// the name of the file.
RootAnswer realDriveRoot(int, std::string&) {
    return rootNotKnown;
}

bool realDriveOfPath(const std::string&, int&, std::string&) {
    return false;
}

}  // namespace sysProbe
