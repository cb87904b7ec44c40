#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstdlib>
#include <ctime>

#include "support/FileSupport.h"

namespace support {

void makeSparseFile(const std::string& name, unsigned long long size) {
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << name;
        return;
    }
    DWORD returned = 0;
    // Where the file system cannot mark it sparse the file is extended anyway.
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) ADD_FAILURE() << "cannot extend " << name;
    CloseHandle(file);
}

void setTimeZone(const char* zone) {
    _putenv_s("TZ", zone);
    _tzset();
}

std::string nullDevice() { return "NUL"; }
std::string fullDevice() { return ""; }
bool makeFifo(const std::string&) { return false; }
bool makeSocket(const std::string&) { return false; }

std::string asSecondUser(const std::vector<std::string>&, const std::function<void()>&) {
    return "no second user on Windows; a file held without sharing stands for it";
}

std::string onSmallDisk(const std::string&, unsigned int, const std::function<void()>&) {
    return "no small disk can be mounted on Windows";
}

bool whileHeld(const std::string& name, bool shareWriting, const std::function<void()>& work) {
    const DWORD share = shareWriting ? FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    work();
    CloseHandle(file);
    return true;
}

HangGuard::HangGuard(unsigned int) {}
HangGuard::~HangGuard() = default;

}  // namespace support
