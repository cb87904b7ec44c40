// A BinStream over bytes in memory, for the algorithms written on the virtual interface: it records
// what was asked of it, and can fail only through its state (quiet) or throw std::bad_alloc.
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
    typedef std::map<std::string, std::string> Files;  // what matchingStream opens, by name

    explicit MemoryStream(std::string bytes = std::string(), Files* files = nullptr)
        : bytes(std::move(bytes)), files_(files) {}
    ~MemoryStream() override {
        if (lastSource == this) lastSource = nullptr;
    }

    std::string bytes;
    long long get = 0, put = 0;
    bool failed = false, atEnd = false;
    bool quiet = false;  // failures only set the state; otherwise they throw, as the file stream's do
    bool refuseWrites = false;
    unsigned int transferLimit = UINT_MAX;  // larger reads and writes throw std::bad_alloc
    int badWrite = 0;  // the write of this number (from 1) throws std::bad_alloc once
    std::vector<unsigned int> reads, writes;
    std::vector<std::string> opened;  // the names given to matchingStream
    bool sourceQuiet = false;
    static inline MemoryStream* lastSource = nullptr;  // the newest of those, while it lives

    void clear() override { failed = atEnd = false; }
    bool eof() const override { return atEnd; }
    bool fail() const override { return failed; }
    quen::BinStream* matchingStream(const char* name, int) override {
        opened.push_back(name);
        if (files_ == nullptr || files_->count(name) == 0) throw quen::QuenException("no such memory file");
        MemoryStream* source = new MemoryStream((*files_)[name], files_);
        source->quiet = sourceQuiet;
        return lastSource = source;
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
        if (count > transferLimit || (badWrite != 0 && static_cast<int>(writes.size()) == badWrite)) {
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
    using quen::BinStream::throwOnError;
    using quen::BinStream::write;

private:
    quen::BinStream& failure(const char* what) {
        failed = true;
        if (!quiet) throw quen::QuenException(std::string("memory ") + what);
        return *this;
    }
    quen::BinStream& seek(long long& position, long long offset, std::ios_base::seekdir from) {
        const long long base = from == std::ios_base::cur ? position
                               : from == std::ios_base::end ? static_cast<long long>(bytes.size()) : 0;
        if (failed || base + offset < 0) return failure("SEEK");
        position = base + offset;
        return *this;
    }

    Files* files_;
};

}  // namespace test

#endif
