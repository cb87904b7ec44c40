#include "quen/streams/BinFStream.h"

#include <climits>
#include <cstring>

#include "quen/errors/QuenException.h"
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

// Reads of less than this come from the read-ahead block, larger ones go to
// the file directly.
const std::size_t readAheadSize = 16 * 1024;

[[noreturn]] void throwMessage(int id) {
    throw QuenException(utilityStrings(id));
}

}  // namespace

const char* BinFStream::banner() {
    return "BinFStream 1.0, 16.09.1999";
}

BinFStream::BinFStream(const char* name, int mode) {
    const int widened = mode | in | out | binary;
    const FileOpen check(name, widened);
    // Appending and truncating at once is no mode a file opens with; it is
    // refused before anything is touched. A missing file is created by the
    // open itself, so a failure leaves no file behind that was not there.
    const bool valid = (widened & app) == 0 || (widened & trunc) == 0;
    int flags = platform::File::create;
    if ((widened & trunc) != 0) flags |= platform::File::truncate;
    if ((widened & app) != 0) flags |= platform::File::append;
    if (!valid || !file_.open(check.name().c_str(), flags)) {
        StdString text = utilityStrings(messageOpen);
        text += name != nullptr ? name : "";
        text += utilityStrings(messageWithMode);
        text += static_cast<unsigned int>(widened);
        throw QuenException(text);
    }
    readOnly(check.readOnly());
    if ((widened & ate) != 0) {
        const long long end = file_.size();
        position_ = end > 0 ? end : 0;
    }
}

BinFStream::~BinFStream() = default;

void BinFStream::throwIfBroken() const {
    if (broken_) {
        throwMessage(messageBadFile);
    }
}

void BinFStream::clear() {
    atEnd_ = failed_ = broken_ = false;
}

bool BinFStream::eof() const {
    return atEnd_;
}

bool BinFStream::fail() const {
    throwIfBroken();
    return failed_;
}

BinStream* BinFStream::matchingStream(const char* name, int mode) {
    return new BinFStream(name, mode);
}

// A failure of the operation itself is reported as that operation's error,
// also when the system's refusal breaks the stream: only a stream that was
// broken before the call is "File BAD FILE error".
BinStream& BinFStream::read(char* buffer, unsigned int count) {
    throwIfBroken();
    if (failed_) {
        throwMessage(messageRead);
    }
    std::size_t done = 0;
    bool refused = false;
    while (done < count) {
        const std::size_t left = count - done;
        const long long readAheadEnd = readAheadFrom_ + static_cast<long long>(readAheadLength_);
        if (position_ >= readAheadFrom_ && position_ < readAheadEnd) {
            const std::size_t available = static_cast<std::size_t>(readAheadEnd - position_);
            const std::size_t chunk = left < available ? left : available;
            std::memcpy(buffer + done, readAhead_.get() + (position_ - readAheadFrom_), chunk);
            done += chunk;
            position_ += static_cast<long long>(chunk);
            continue;
        }
        if (left >= readAheadSize || file_.isDevice()) {
            const long long got = file_.readAt(buffer + done, left, position_);
            if (got < 0) {
                refused = true;
                break;
            }
            done += static_cast<std::size_t>(got);
            position_ += got;
            if (static_cast<std::size_t>(got) < left) break;  // the end of the data
            continue;
        }
        if (!readAhead_) {
            readAhead_.reset(new char[readAheadSize]);
        }
        readAheadLength_ = 0;
        const long long got = file_.readAt(readAhead_.get(), readAheadSize, position_);
        if (got < 0) {
            refused = true;
            break;
        }
        readAheadFrom_ = position_;
        readAheadLength_ = static_cast<std::size_t>(got);
        if (got == 0) break;
    }
    if (refused) {
        broken_ = failed_ = true;
        throwMessage(messageRead);
    }
    if (done < count) {
        atEnd_ = failed_ = true;
        throwMessage(messageRead);
    }
    return *this;
}

BinStream& BinFStream::write(const char* buffer, unsigned int count) {
    throwIfBroken();
    if (failed_) {
        throwMessage(messageWrite);
    }
    long long end = position_;
    const bool written = file_.writeAt(buffer, count, end);
    if (written) {
        keepReadAheadCurrent(buffer, end - static_cast<long long>(count), end);
    } else {
        readAheadLength_ = 0;  // which bytes went is the system's secret
    }
    position_ = end;
    if (!written) {
        broken_ = failed_ = true;
        throwMessage(messageWrite);
    }
    return *this;
}

// Bytes written where the read-ahead block holds the file replace its copy.
void BinFStream::keepReadAheadCurrent(const char* bytes, long long from, long long to) {
    const long long blockEnd = readAheadFrom_ + static_cast<long long>(readAheadLength_);
    const long long start = from > readAheadFrom_ ? from : readAheadFrom_;
    const long long stop = to < blockEnd ? to : blockEnd;
    if (start < stop) {
        std::memcpy(readAhead_.get() + (start - readAheadFrom_), bytes + (start - from),
                    static_cast<std::size_t>(stop - start));
    }
}

// C++ streams forget the end of the data when they seek, but not a failure.
BinStream& BinFStream::seek(long long offset, std::ios_base::seekdir direction) {
    throwIfBroken();
    atEnd_ = false;
    if (failed_) {
        throwMessage(messageSeek);
    }
    long long base = 0;
    if (direction == std::ios_base::cur) {
        base = position_;
    } else if (direction == std::ios_base::end) {
        base = file_.size();
    }
    if (base < 0 || (offset > 0 && base > LLONG_MAX - offset) || base + offset < 0) {
        failed_ = true;
        throwMessage(messageSeek);
    }
    position_ = base + offset;
    return *this;
}

BinStream& BinFStream::seekg(long long offset, std::ios_base::seekdir direction) {
    return seek(offset, direction);
}

BinStream& BinFStream::seekg(long long position) {
    return seek(position, std::ios_base::beg);
}

BinStream& BinFStream::seekp(long long offset, std::ios_base::seekdir direction) {
    return seek(offset, direction);
}

BinStream& BinFStream::seekp(long long position) {
    return seek(position, std::ios_base::beg);
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

// A stream that has failed tells nothing.
long long BinFStream::tellg() {
    if (fail()) {
        throwMessage(messageTell);
    }
    return position_;
}

long long BinFStream::tellp() {
    if (fail()) {
        throwMessage(messageTell);
    }
    return position_;
}

IOPosition* BinFStream::telldelayp() {
    return nullptr;
}

const char* BinFStream::version() const {
    return banner();
}

}  // namespace quen
