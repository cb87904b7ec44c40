// The binary file stream: a file opened for reading and writing in binary
// mode, every operation checked and every failure thrown with the library's
// message.
//
//   quen::BinFStream stream("records.bin", quen::BinStream::app);
//   quen::StdString("first").output(stream);  // on disk, or thrown, when it returns
//   stream << 42u;
#ifndef QUEN_STREAMS_BINFSTREAM_H
#define QUEN_STREAMS_BINFSTREAM_H

#include <cstddef>
#include <memory>

#include "quen/platform/Export.h"
#include "quen/platform/File.h"
#include "quen/streams/BinStream.h"

namespace quen {

// One file position serves reading and writing: seekg moves the put
// position too, and seekp the get position. Positions, offsets and sizes are
// 64-bit: files of 2 GiB and more work.
//
// Nothing written waits in the stream: every write hands its bytes to the
// system before it returns (one system call, or more for a partial
// transfer), so a write the system refuses, a full disk for one, is that
// write's "File WRITE error", and closing the file has nothing left to lose.
// That costs a system call per write, small ones too: a caller writing many
// small values should gather them into one buffer and write it once. Reads
// of less than 16 KiB come from a read-ahead block, which this stream's own
// writes keep current (another process's later writes to bytes already read
// ahead are seen once a read leaves that block, as with the standard file
// streams).
//
// Failures: a broken file (a transfer the system refused) is "File BAD FILE
// error" from every later operation until clear(); a failed read "File READ
// error", write "File WRITE error", seek "File SEEK error", and a tell on a
// failed stream "File TELL error". A failed stream seeks and tells nothing
// until clear() is called.
class QUEN_API BinFStream : public BinStream {
public:
    static const char* banner();

    // Opens the file for reading and writing in binary mode, whatever the
    // mode asks: in, out and binary are always added. A missing file is
    // created. An existing file that cannot be written throws "File WRITE
    // READ-ONLY error"; any other failure "File OPEN error", the name, " with
    // mode " and the widened mode in decimal: app with trunc, a name that is
    // not a regular file or a character device (a directory, FIFO, socket;
    // refused at once, never waited on), a name that cannot be made. A
    // constructor that throws leaves the file system as it found it: no file
    // created, truncated or removed.
    BinFStream(const char* name, int mode);
    // Closes the file; nothing is pending.
    ~BinFStream() override;
    BinFStream(const BinFStream&) = delete;
    BinFStream& operator=(const BinFStream&) = delete;

    using BinStream::read;
    using BinStream::write;

    void clear() override;
    bool eof() const override;
    // False while good; true after a failure; throws "File BAD FILE error"
    // for a broken file.
    bool fail() const override;
    BinStream* matchingStream(const char* name, int mode) override;
    // Exactly count bytes or "File READ error": at the end of the data the
    // bytes there are read, eof() turns true and the position stands at the
    // end.
    BinStream& read(char* buffer, unsigned int count) override;
    // The bytes are the system's when it returns (at the end of the file
    // when opened with app). A refusal is "File WRITE error"; what the system
    // took before it refused stays written, and the stream is broken.
    BinStream& write(const char* buffer, unsigned int count) override;
    BinStream& seekg(long long offset, std::ios_base::seekdir direction) override;
    BinStream& seekg(long long position) override;
    BinStream& seekp(long long offset, std::ios_base::seekdir direction) override;
    BinStream& seekp(long long position) override;
    // Not available for files: throws "Not yet implemented: setEOF".
    void setEOF() override;
    // The file's length; the position is kept.
    long long size() override;
    long long tellg() override;
    long long tellp() override;
    IOPosition* telldelayp() override;
    const char* version() const override;

private:
    void throwIfBroken() const;
    BinStream& seek(long long offset, std::ios_base::seekdir direction);
    void keepReadAheadCurrent(const char* bytes, long long from, long long to);

    platform::File file_;
    long long position_ = 0;
    bool atEnd_ = false;   // a read met the end of the data
    bool failed_ = false;  // the last operation failed
    bool broken_ = false;  // the system refused a transfer
    // The read-ahead block: the bytes of the file from readAheadFrom_ on.
    std::unique_ptr<char[]> readAhead_;
    long long readAheadFrom_ = 0;
    std::size_t readAheadLength_ = 0;
};

}  // namespace quen

#endif
