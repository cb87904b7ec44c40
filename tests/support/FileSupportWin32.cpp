#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "support/FileSupport.h"

namespace support {

void makeSparseFile(const std::string& name, unsigned long long size) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
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
    if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
        ADD_FAILURE() << "cannot extend " << name;
    }
    CloseHandle(file);
}

std::string fullDevice() {
    return "";
}

void writeFileWide(const unsigned short* name, const std::string& bytes) {
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(name), L"wb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot create a file with a wide name";
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void setTimeZone(const char* zone) {
    _putenv_s("TZ", zone);
    _tzset();
}

}  // namespace support
