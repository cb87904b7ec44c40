// The library's abstract random-access byte stream: its error policy, the
// 4-byte form of integers, and the block operations written once on top of
// the virtual interface.
#ifndef QUEN_STREAMS_BINSTREAM_H
#define QUEN_STREAMS_BINSTREAM_H

#include <ios>

#include "quen/platform/Export.h"

namespace quen {

// Declared only: no stream of the library delays its put position.
class IOPosition;

// Serialisation contract of the value classes (StdString, TimeDate):
//   unsigned int objectSize() const  the exact number of bytes output writes
//   BinStream& output(BinStream&) const  writes the value at the put position
//   BinStream& input(BinStream&)  reads what output wrote, replacing the value
class QUEN_API BinStream {
public:
    // Open-mode bits of matchingStream and BinFStream. These numbers are the
    // library's own (they are what callers store and what the open-failure
    // text shows); they are not the values of std::ios_base on every
    // runtime.
    static constexpr int in = 1;
    static constexpr int out = 2;
    static constexpr int ate = 4;
    static constexpr int app = 8;
    static constexpr int trunc = 16;
    static constexpr int binary = 32;

    static const char* banner();  // what version() returns, without an object

    BinStream();
    virtual ~BinStream();

    virtual void clear() = 0;
    // Appends length bytes of the named file, read from position on, at the
    // put position; returns length. A buffer size of 0 is refused ("File
    // INVALID OPERATION error"). When memory is short the buffer is halved
    // and the copy goes on from where it stood; "Memory ALLOCATION error"
    // when not even one byte can be had.
    virtual unsigned int copyFile(const char* name, unsigned int length, const long long& position,
                                  unsigned int bufferSize);
    virtual bool eof() const = 0;
    virtual bool fail() const = 0;
    // A new stream of the same kind on the named file; the caller owns it.
    virtual BinStream* matchingStream(const char* name, int mode) = 0;
    virtual BinStream& read(char* buffer, unsigned int count) = 0;
    virtual BinStream& write(const char* buffer, unsigned int count) = 0;
    virtual BinStream& seekg(long long offset, std::ios_base::seekdir direction) = 0;
    virtual BinStream& seekg(long long position) = 0;
    virtual BinStream& seekp(long long offset, std::ios_base::seekdir direction) = 0;
    virtual BinStream& seekp(long long position) = 0;
    virtual void setEOF() = 0;
    virtual long long size() = 0;
    virtual long long tellg() = 0;
    virtual long long tellp() = 0;
    virtual IOPosition* telldelayp() = 0;
    virtual const char* version() const;

    bool ok() const { return !fail(); }
    bool readOnly() const { return readOnly_; }

    // Moves length bytes from offset from down to offset to (to <= from),
    // front to back, so overlapping blocks move correctly. Refuses a buffer
    // size of 0 and a negative length ("File INVALID OPERATION error").
    void shiftBlock(long long from, long long to, long long length, unsigned int bufferSize);
    // Appends the whole named file. A file of 4 GiB or more does not fit the
    // 32-bit length and is refused with "File SIZE error" before anything
    // is opened or written.
    unsigned int copyFile(const char* name, unsigned int bufferSize);

    // Integers travel as 4 bytes, least significant first. A long is read
    // back with its sign, also where long is wider than 32 bits.
    BinStream& operator<<(const unsigned int& value) { return write(value); }
    BinStream& operator<<(const long& value) { return write(value); }
    BinStream& operator>>(unsigned int& value) { return read(value); }
    BinStream& operator>>(long& value) { return read(value); }
    BinStream& write(const unsigned int& value);
    BinStream& write(const long& value);
    BinStream& read(unsigned int& value);
    BinStream& read(long& value);

protected:
    bool readOnly(bool value) { return readOnly_ = value; }
    // Throws "File WRITE READ-ONLY error" when fail(). For streams whose read
    // and write do not throw on their own; the value classes call it after
    // every integer they transfer.
    void throwOnError() const;

    friend class StdString;
    friend class TimeDate;

private:
    bool readOnly_;
};

}  // namespace quen

#endif
