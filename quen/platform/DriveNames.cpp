// Drive-form names to the system's names and back, over sysProbe's roots.
#include "quen/platform/DriveNames.h"

#include "quen/drives/sysprobe/SysProbe.h"

#if defined(_WIN32)
#  include "quen/platform/Win32.h"
#endif

namespace quen {
namespace platform {
namespace {

#if defined(_WIN32)
const char systemSeparator = '\\';
#else
const char systemSeparator = '/';
#endif

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// 'D:', 'D:\...', 'D:/...'; the drive number, or -1.
int driveOf(const char* name) {
    const char letter = name[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (!isLetter || name[1] != ':' || (name[2] != '\0' && !isSeparator(name[2]))) {
        return -1;
    }
    return (letter >= 'a' ? letter - 'a' : letter - 'A');
}

// The root folder and the path behind the letter, joined by one separator.
std::string underRoot(std::string folder, const char* path) {
    while (!folder.empty() && isSeparator(folder.back())) {
        folder.pop_back();
    }
    std::string name = folder;
    for (const char* c = path; *c != '\0'; ++c) {
        name += isSeparator(*c) ? systemSeparator : *c;
    }
    return name.empty() ? std::string(1, systemSeparator) : name;
}

}  // namespace

std::string systemFileName(const char* name) {
    if (name == nullptr) {
        return std::string();
    }
    const int drive = driveOf(name);
    if (drive < 0) {
        return name;
    }
    std::string folder;
    switch (sysProbe::driveRoot(drive, folder)) {
    case sysProbe::rootFolder: return underRoot(folder, name + 2);
    case sysProbe::rootNoMedium: return std::string();
    case sysProbe::rootNotKnown: break;
    }
    return name;
}

std::string driveFileName(const char* name) {
    if (name == nullptr) {
        return std::string();
    }
    int drive = 0;
    std::string rest;
    if (!sysProbe::driveOfPath(name, drive, rest)) {
        return name;
    }
    std::string result(1, static_cast<char>('A' + drive));
    result += ":\\";
    for (std::size_t i = rest.empty() ? 0 : 1; i < rest.size(); ++i) {
        result += rest[i] == '/' ? '\\' : rest[i];
    }
    return result;
}

#if defined(_WIN32)
std::wstring systemFileName(const wchar_t* name) {
    if (name == nullptr) {
        return std::wstring();
    }
    // Only the letter and what follows it matter here: the translated part
    // is ASCII, the rest is kept as UTF-16.
    const char head[4] = {name[0] < 0x80 ? static_cast<char>(name[0]) : '?',
                          name[0] != 0 && name[1] < 0x80 ? static_cast<char>(name[1]) : '?',
                          name[0] != 0 && name[1] != 0 && name[2] < 0x80 ? static_cast<char>(name[2]) : '?', '\0'};
    const int drive = driveOf(head);
    std::string folder;
    if (drive < 0) {
        return name;
    }
    switch (sysProbe::driveRoot(drive, folder)) {
    case sysProbe::rootFolder: break;
    case sysProbe::rootNoMedium: return std::wstring();
    case sysProbe::rootNotKnown: return name;
    }
    std::wstring wide;
    const int size = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
    if (size > 1) {
        wide.resize(static_cast<std::size_t>(size));
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], size);
        wide.resize(static_cast<std::size_t>(size - 1));
    }
    while (!wide.empty() && (wide.back() == L'\\' || wide.back() == L'/')) {
        wide.pop_back();
    }
    wide += name + 2;
    return wide.empty() ? std::wstring(L"\\") : wide;
}
#endif

}  // namespace platform
}  // namespace quen
