#include "quen/streams/BinFStream.h"

#include <cstdio>

#include "quen/errors/QuenException.h"
#include "quen/platform/DriveNames.h"
#include "quen/streams/FileOpen.h"
#include "quen/strings/UtilityStrings.h"

namespace quen {
namespace {

const int messageRead = 1;
const int messageWrite = 2;
const int messageSeek = 3;
const int messageTell = 4;
const int messageOpen = 5;
const int messageBadFile = 7;
const int messageWithMode = 12;

[[noreturn]] void throwMessage(int id) {
    throw QuenException(utilityStrings(id));
}

// The library's mode bits in the runtime's own numbering.
std::ios_base::openmode openModeOf(int mode) {
    std::ios_base::openmode result = std::ios_base::openmode();
    if ((mode & BinStream::in) != 0) result |= std::ios_base::in;
    if ((mode & BinStream::out) != 0) result |= std::ios_base::out;
    if ((mode & BinStream::ate) != 0) result |= std::ios_base::ate;
    if ((mode & BinStream::app) != 0) result |= std::ios_base::app;
    if ((mode & BinStream::trunc) != 0) result |= std::ios_base::trunc;
    if ((mode & BinStream::binary) != 0) result |= std::ios_base::binary;
    return result;
}

}  // namespace

const char* BinFStream::banner() {
    return "BinFStream 1.0, 16.09.1999";
}

BinFStream::BinFStream(const char* name, int mode) {
    const int widened = mode | in | out | binary;
    const FileOpen check(name, widened);
    const std::string systemName = platform::systemFileName(check.name().c_str());
    const char* const path = systemName.c_str();
    bool created = false;
    if ((check.mode() & in) == 0) {
        // The file does not exist and the check took `in` away so that the
        // open would create it; but a stream opened without `in` cannot
        // read back what it writes. Make the empty file first and open it
        // as an existing file is opened, so that app, ate and trunc keep
        // their meaning. Appending never truncates a file that has just
        // appeared.
        std::ofstream empty(path, std::ios_base::app | std::ios_base::binary);
        created = empty.is_open();
    }
    file_.open(path, openModeOf(check.mode() | in));
    readOnly(check.readOnly());
    if (file_.fail()) {
        if (created) {
            std::remove(path);
        }
        StdString text = utilityStrings(messageOpen);
        text += name != nullptr ? name : "";
        text += utilityStrings(messageWithMode);
        text += static_cast<unsigned int>(widened);
        throw QuenException(text);
    }
}

BinFStream::~BinFStream() = default;

void BinFStream::throwIfBroken() const {
    if (file_.bad()) {
        throwMessage(messageBadFile);
    }
}

void BinFStream::clear() {
    file_.clear();
}

bool BinFStream::eof() const {
    return file_.eof();
}

bool BinFStream::fail() const {
    throwIfBroken();
    return file_.fail();
}

BinStream* BinFStream::matchingStream(const char* name, int mode) {
    return new BinFStream(name, mode);
}

// A failure of the operation itself is reported as that operation's error,
// also when the system's refusal set the bad bit: only a stream that was
// broken before the call is "File BAD FILE error".
BinStream& BinFStream::read(char* buffer, unsigned int count) {
    throwIfBroken();
    file_.read(buffer, static_cast<std::streamsize>(count));
    if (file_.fail()) {
        throwMessage(messageRead);
    }
    return *this;
}

BinStream& BinFStream::write(const char* buffer, unsigned int count) {
    throwIfBroken();
    file_.write(buffer, static_cast<std::streamsize>(count));
    if (file_.fail()) {
        throwMessage(messageWrite);
    }
    return *this;
}

BinStream& BinFStream::seekg(long long offset, std::ios_base::seekdir direction) {
    throwIfBroken();
    file_.seekg(static_cast<std::streamoff>(offset), direction);
    if (file_.fail()) {
        throwMessage(messageSeek);
    }
    return *this;
}

BinStream& BinFStream::seekg(long long position) {
    throwIfBroken();
    file_.seekg(std::streampos(static_cast<std::streamoff>(position)));
    if (file_.fail()) {
        throwMessage(messageSeek);
    }
    return *this;
}

BinStream& BinFStream::seekp(long long offset, std::ios_base::seekdir direction) {
    throwIfBroken();
    file_.seekp(static_cast<std::streamoff>(offset), direction);
    if (file_.fail()) {
        throwMessage(messageSeek);
    }
    return *this;
}

BinStream& BinFStream::seekp(long long position) {
    throwIfBroken();
    file_.seekp(std::streampos(static_cast<std::streamoff>(position)));
    if (file_.fail()) {
        throwMessage(messageSeek);
    }
    return *this;
}

void BinFStream::setEOF() {
    notYet("setEOF");
}

long long BinFStream::size() {
    const long long here = tellg();
    seekg(0, std::ios_base::end);
    const long long end = tellg();
    seekg(here);
    return end;
}

// The standard stream answers -1 without failing when its buffer cannot
// tell; a stream that has failed already tells nothing.
long long BinFStream::tellg() {
    if (fail()) {
        throwMessage(messageTell);
    }
    return static_cast<long long>(static_cast<std::streamoff>(file_.tellg()));
}

long long BinFStream::tellp() {
    if (fail()) {
        throwMessage(messageTell);
    }
    return static_cast<long long>(static_cast<std::streamoff>(file_.tellp()));
}

IOPosition* BinFStream::telldelayp() {
    return nullptr;
}

const char* BinFStream::version() const {
    return banner();
}

}  // namespace quen
