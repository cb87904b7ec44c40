#include "quen/streams/FileOpen.h"

#include "quen/errors/QuenException.h"
#include "quen/platform/File.h"
#include "quen/streams/BinStream.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

const int messageNotFound = 8;
const int messageReadOnly = 16;

// Opening for update neither creates nor truncates the file.
bool canWrite(const char* name) {
    platform::File file;
    return file.open(name, 0);
}

}  // namespace

const char* FileOpen::version() {
    return "FileOpen 1.0, 15.09.1999";
}

FileOpen::FileOpen(const char* name, int mode)
    : name_(name != nullptr ? name : ""), mode_(mode), readOnly_(false) {
    const char* const path = name_.c_str();
    // Whether the name is there is asked of the name itself, not answered by
    // an open for reading: a file the caller may not read, or one another
    // process holds without sharing it, is there all the same, and taking it
    // for missing would have a writer create it anew.
    const platform::FileFacts facts = platform::lookAtFile(path);
    const bool present = facts.kind == platform::FileKind::regular || facts.kind == platform::FileKind::device;
    readOnly_ = present && (facts.readOnlyAttribute || !canWrite(path));
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
