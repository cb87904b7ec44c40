// A BinStream over bytes in memory, for the algorithms written on the
// virtual interface. It can behave as a stream that reports failures only
// through its state (quiet), and can refuse transfers larger than a limit
// with std::bad_alloc, as a stream whose buffers cannot be had would.
#ifndef QUEN_TESTS_STREAMS_MEMORYSTREAM_H
#define QUEN_TESTS_STREAMS_MEMORYSTREAM_H

#include <climits>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/streams/BinStream.h"

namespace test {

class MemoryStream : public quen::BinStream {
public:
    typedef std::map<std::string, std::string> Files;

    explicit MemoryStream(std::string bytes = std::string(), Files* files = nullptr)
        : bytes(std::move(bytes)), files_(files) {}

    std::string bytes;
    long long get = 0;
    long long put = 0;
    bool failed = false;
    bool atEnd = false;
    // Quiet: failures only set the state; otherwise they throw as the file
    // stream does.
    bool quiet = false;
    bool refuseWrites = false;
    // Reads and writes of more bytes than this throw std::bad_alloc.
    unsigned int transferLimit = UINT_MAX;
    // The next write of this number (counting from 1) throws std::bad_alloc once.
    int badWrite = 0;
    // What was asked of the stream.
    std::vector<unsigned int> reads;
    std::vector<unsigned int> writes;
    std::vector<std::string> opened;  // names given to matchingStream
    // The limit and the quietness that streams opened by matchingStream get.
    unsigned int sourceTransferLimit = UINT_MAX;
    bool sourceQuiet = false;
    // The most recent stream opened by matchingStream, while it lives.
    static inline MemoryStream* lastSource = nullptr;

    ~MemoryStream() override {
        if (lastSource == this) lastSource = nullptr;
    }

    void clear() override { failed = atEnd = false; }
    bool eof() const override { return atEnd; }
    bool fail() const override { return failed; }
    quen::BinStream* matchingStream(const char* name, int) override {
        opened.push_back(name);
        if (files_ == nullptr || files_->count(name) == 0) {
            throw quen::QuenException("no such memory file");
        }
        MemoryStream* source = new MemoryStream((*files_)[name], files_);
        source->transferLimit = sourceTransferLimit;
        source->quiet = sourceQuiet;
        lastSource = source;
        return source;
    }
    quen::BinStream& read(char* buffer, unsigned int count) override {
        reads.push_back(count);
        if (count > transferLimit) throw std::bad_alloc();
        if (failed || get < 0 || get + count > static_cast<long long>(bytes.size())) {
            atEnd = !failed;
            return failure("READ");
        }
        bytes.copy(buffer, count, static_cast<std::size_t>(get));
        get += count;
        return *this;
    }
    quen::BinStream& write(const char* buffer, unsigned int count) override {
        writes.push_back(count);
        if (count > transferLimit) throw std::bad_alloc();
        if (badWrite != 0 && static_cast<int>(writes.size()) == badWrite) {
            badWrite = 0;
            throw std::bad_alloc();
        }
        if (failed || refuseWrites || put < 0) return failure("WRITE");
        if (put + count > static_cast<long long>(bytes.size())) bytes.resize(static_cast<std::size_t>(put + count));
        bytes.replace(static_cast<std::size_t>(put), count, buffer, count);
        put += count;
        return *this;
    }
    quen::BinStream& seekg(long long offset, std::ios_base::seekdir from) override { return seek(get, offset, from); }
    quen::BinStream& seekg(long long position) override { return seek(get, position, std::ios_base::beg); }
    quen::BinStream& seekp(long long offset, std::ios_base::seekdir from) override { return seek(put, offset, from); }
    quen::BinStream& seekp(long long position) override { return seek(put, position, std::ios_base::beg); }
    void setEOF() override { bytes.resize(static_cast<std::size_t>(put)); }
    long long size() override { return static_cast<long long>(bytes.size()); }
    long long tellg() override { return get; }
    long long tellp() override { return put; }
    quen::IOPosition* telldelayp() override { return nullptr; }

    using quen::BinStream::read;
    using quen::BinStream::write;
    using quen::BinStream::throwOnError;

private:
    quen::BinStream& failure(const char* what) {
        failed = true;
        if (!quiet) throw quen::QuenException(std::string("memory ") + what);
        return *this;
    }
    quen::BinStream& seek(long long& position, long long offset, std::ios_base::seekdir direction) {
        const long long base = direction == std::ios_base::cur ? position
                               : direction == std::ios_base::end ? static_cast<long long>(bytes.size())
                                                                 : 0;
        if (failed || base + offset < 0) return failure("SEEK");
        position = base + offset;
        return *this;
    }

    Files* files_;
};

}  // namespace test

#endif
