#include "quen/streams/FileOpen.h"

#include <fstream>

#include "quen/errors/QuenException.h"
#include "quen/platform/DriveNames.h"
#include "quen/platform/Win32.h"
#include "quen/streams/BinStream.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

const int messageNotFound = 8;
const int messageReadOnly = 16;

bool exists(const char* name) {
    std::ifstream file(name, std::ios_base::in | std::ios_base::binary);
    return file.is_open();
}

// Opening for update neither creates nor truncates the file.
bool canWrite(const char* name) {
    std::fstream file(name, std::ios_base::in | std::ios_base::out | std::ios_base::binary);
    if (!file.is_open()) {
        return false;
    }
    file.close();
    const DWORD attributes = GetFileAttributesA(name);
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

}  // namespace

const char* FileOpen::version() {
    return "FileOpen 1.0, 15.09.1999";
}

FileOpen::FileOpen(const char* name, int mode)
    : name_(name != nullptr ? name : ""), mode_(mode), readOnly_(false) {
    const std::string systemName = platform::systemFileName(name_.c_str());
    const char* const path = systemName.c_str();
    const bool present = exists(path);
    readOnly_ = present && !canWrite(path);
    if ((mode & BinStream::out) != 0) {
        if (!present) {
            mode_ = mode ^ BinStream::in;
        } else if (readOnly_) {
            throw QuenException(utilityStrings(messageReadOnly));
        }
    } else if ((mode & BinStream::in) != 0 && !present) {
        throw QuenException(utilityStrings(messageNotFound));
    }
}

FileOpen::~FileOpen() = default;

}  // namespace quen
