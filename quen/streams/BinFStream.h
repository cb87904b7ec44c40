// The binary file stream: a file opened for reading and writing in binary
// mode, every operation checked and every failure thrown with the library's
// message.
#ifndef QUEN_STREAMS_BINFSTREAM_H
#define QUEN_STREAMS_BINFSTREAM_H

#include <fstream>

#include "quen/platform/Export.h"
#include "quen/streams/BinStream.h"

namespace quen {

// One file position serves reading and writing: seekg moves the put
// position too, and seekp the get position. Positions, offsets and sizes are
// 64-bit: files of 2 GiB and more work.
//
// Failures: a broken file (the bad bit already set) is "File BAD FILE error"
// from every operation; a failed read "File READ error", write "File WRITE
// error", seek "File SEEK error", and a tell on a failed stream "File TELL
// error". A failed stream seeks and tells nothing until clear() is called.
class QUEN_API BinFStream : public BinStream {
public:
    static const char* banner();

    // Opens the file for reading and writing in binary mode, whatever the
    // mode asks: in, out and binary are always added. A missing file is
    // created. An existing file that cannot be written throws "File WRITE
    // READ-ONLY error"; any other failure "File OPEN error", the name, " with
    // mode " and the widened mode in decimal.
    BinFStream(const char* name, int mode);
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
    BinStream& read(char* buffer, unsigned int count) override;
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

    std::fstream file_;
};

}  // namespace quen

#endif
