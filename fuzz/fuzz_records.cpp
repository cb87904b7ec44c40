// Serialised records from arbitrary bytes: StdString and TimeDate records
// and 4-byte integers read one after another from a stream over the input,
// as a file of unknown origin would be read. A record must never make the
// reader obtain more memory than the input holds (libFuzzer's malloc limit
// catches a buffer sized by a hostile count), and whatever was read must
// write back and read again to the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/streams/BinStream.h"
#include "quen/strings/StdString.h"
#include "quen/values/TimeDate.h"

namespace {

// Bytes in memory; every failure throws, as the file stream's do.
class Bytes : public quen::BinStream {
public:
    explicit Bytes(std::string data = std::string()) : data_(std::move(data)) {}

    void clear() override {}
    bool eof() const override { return false; }
    bool fail() const override { return false; }
    quen::BinStream* matchingStream(const char*, int) override { throw quen::QuenException("none"); }
    quen::BinStream& read(char* buffer, unsigned int count) override {
        if (count > data_.size() - static_cast<std::size_t>(get_)) throw quen::QuenException("end");
        data_.copy(buffer, count, static_cast<std::size_t>(get_));
        get_ += count;
        return *this;
    }
    quen::BinStream& write(const char* buffer, unsigned int count) override {
        data_.append(buffer, count);
        return *this;
    }
    quen::BinStream& seekg(long long offset, std::ios_base::seekdir) override { return seekg(offset); }
    quen::BinStream& seekg(long long position) override {
        if (position < 0 || position > static_cast<long long>(data_.size())) throw quen::QuenException("seek");
        get_ = position;
        return *this;
    }
    quen::BinStream& seekp(long long, std::ios_base::seekdir) override { return *this; }
    quen::BinStream& seekp(long long) override { return *this; }
    void setEOF() override {}
    long long size() override { return static_cast<long long>(data_.size()); }
    long long tellg() override { return get_; }
    long long tellp() override { return static_cast<long long>(data_.size()); }
    quen::IOPosition* telldelayp() override { return nullptr; }

    using quen::BinStream::read;

private:
    std::string data_;
    long long get_ = 0;
};

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes input(std::string(reinterpret_cast<const char*>(data), size));
    try {
        for (std::size_t i = 0; i < 64; ++i) {
            unsigned int kind = 0;
            input.read(kind);
            const long long before = input.tellg();
            if (kind % 3 == 0) {
                quen::StdString value("previous");
                const quen::StdString old = value;
                try {
                    value.input(input);
                } catch (const quen::QuenException&) {
                    check(value == old);  // a refused record changes nothing
                    throw;
                }
                check(input.tellg() - before >= 4);
                check(static_cast<long long>(value.objectSize()) <= input.tellg() - before + 1);
                Bytes copy;
                value.output(copy);
                check(copy.size() == value.objectSize());
                quen::StdString back;
                back.input(copy);
                check(back == value);
            } else if (kind % 3 == 1) {
                quen::TimeDate time(0);
                time.input(input);
                Bytes copy;
                time.output(copy);
                quen::TimeDate back(1);
                back.input(copy);
                check(back == time);
                (void)time.ascTime();
            } else {
                long value = 0;
                input >> value;
                check(value >= INT32_MIN && value <= INT32_MAX);
            }
        }
    } catch (const quen::QuenException&) {
        // The end of the input, or a record that does not fit it.
    }
    return 0;
}
