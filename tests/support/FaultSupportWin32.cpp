#include <windows.h>

#include "support/FaultSupport.h"

namespace support {

std::string nullDevice() {
    return "NUL";
}

bool makeFifo(const std::string&) {
    return false;
}

bool makeSocket(const std::string&) {
    return false;
}

std::string asSecondUser(const std::vector<std::string>&, const std::function<void()>&) {
    return "no second user on Windows; a file held without sharing stands for it";
}

std::string onSmallDisk(const std::string&, unsigned int, const std::function<void()>&) {
    return "no small disk can be mounted on Windows";
}

FileHolder::FileHolder(const std::string& name, Sharing sharing) {
    const DWORD share = sharing == shareNothing ? 0 : FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        handle_ = file;
    }
}

FileHolder::~FileHolder() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

HangGuard::HangGuard(unsigned int) {}

HangGuard::~HangGuard() = default;

}  // namespace support
