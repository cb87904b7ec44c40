#include "quen/streams/BinStream.h"

#include <cstdint>
#include <new>

#include "quen/errors/QuenException.h"
#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartPointer.h"
#include "quen/strings/UtilityStrings.h"
#include "quen/values/TimeDate.h"

namespace quen {
namespace {

const int messageRead = 1;
const int messageWrite = 2;
const int messageSeek = 3;
const int messageInvalidOperation = 13;
const int messageShiftUp = 14;
const int messageAllocation = 15;
const int messageReadOnly = 16;
const int messageSize = 20;

[[noreturn]] void throwMessage(int id) {
    throw QuenException(utilityStrings(id));
}

// Halves the buffer after an allocation failure; at 0 the operation gives up.
void halve(unsigned int& bufferSize) {
    bufferSize /= 2;
    if (bufferSize == 0) {
        throwMessage(messageAllocation);
    }
}

void putInteger(char* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t getInteger(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
}

}  // namespace

const char* BinStream::banner() {
    return "BinStream 1.0, 16.08.1999";
}

BinStream::BinStream() : readOnly_(false) {}

BinStream::~BinStream() = default;

const char* BinStream::version() const {
    return banner();
}

void BinStream::throwOnError() const {
    if (fail()) {
        throwMessage(messageReadOnly);
    }
}

BinStream& BinStream::write(const unsigned int& value) {
    char bytes[4];
    putInteger(bytes, value);
    write(bytes, 4);
    throwOnError();
    return *this;
}

BinStream& BinStream::write(const long& value) {
    // The low 32 bits, as two's complement: a 64-bit long travels as the
    // 32-bit one of the Windows build.
    char bytes[4];
    putInteger(bytes, static_cast<std::uint32_t>(value));
    write(bytes, 4);
    throwOnError();
    return *this;
}

BinStream& BinStream::read(unsigned int& value) {
    char bytes[4];
    read(bytes, 4);
    throwOnError();
    value = getInteger(bytes);
    return *this;
}

BinStream& BinStream::read(long& value) {
    char bytes[4];
    read(bytes, 4);
    throwOnError();
    // Signed 32-bit first, then widened: FE FF FF FF is -2 in any long.
    value = static_cast<long>(static_cast<std::int32_t>(getInteger(bytes)));
    return *this;
}

unsigned int BinStream::copyFile(const char* name, unsigned int length, const long long& position,
                                 unsigned int bufferSize) {
    if (bufferSize == 0) {
        throwMessage(messageInvalidOperation);
    }
    // What is written stays written: after an allocation failure the copy
    // goes on from the first byte not yet appended, never from the start
    // again, which would append the copied part twice.
    unsigned int remaining = length;
    long long from = position;
    for (;;) {
        try {
            // At the size asked for, also when the length is smaller; only
            // the chunks follow the length.
            SmartArray<char> buffer(new char[bufferSize]);
            SmartPointer<BinStream> source(matchingStream(name, in));
            source->seekg(from);
            while (remaining != 0) {
                const unsigned int chunk = bufferSize < remaining ? bufferSize : remaining;
                // The smaller size stays: a halving starts from the last chunk.
                bufferSize = chunk;
                source->read(buffer.get(), chunk);
                write(buffer.get(), chunk);
                remaining -= chunk;
                from += chunk;
            }
            return length;
        } catch (const std::bad_alloc&) {
            halve(bufferSize);
        }
    }
}

unsigned int BinStream::copyFile(const char* name, unsigned int bufferSize) {
    if (bufferSize == 0) {
        throwMessage(messageInvalidOperation);
    }
    const unsigned long long size = fileSize(name);
    if (size > 0xFFFFFFFFULL) {
        throwMessage(messageSize);
    }
    return copyFile(name, static_cast<unsigned int>(size), 0, bufferSize);
}

void BinStream::shiftBlock(long long from, long long to, long long length, unsigned int bufferSize) {
    if (bufferSize == 0 || length < 0) {
        throwMessage(messageInvalidOperation);
    }
    if (from == to || length == 0) {
        seekp(to);
        if (fail()) {
            throwMessage(messageSeek);
        }
        return;
    }
    if (to > from) {
        throwMessage(messageShiftUp);
    }
    if (length < static_cast<long long>(bufferSize)) {
        bufferSize = static_cast<unsigned int>(length);
    }
    for (;;) {
        try {
            SmartArray<char> buffer(new char[bufferSize]);
            while (length != 0) {
                const unsigned int chunk = static_cast<long long>(bufferSize) < length
                                               ? bufferSize
                                               : static_cast<unsigned int>(length);
                bufferSize = chunk;  // a halving starts from the last chunk
                seekg(from);
                if (fail()) {
                    throwMessage(messageSeek);
                }
                read(buffer.get(), chunk);
                if (fail()) {
                    throwMessage(messageRead);
                }
                seekp(to);
                if (fail()) {
                    throwMessage(messageSeek);
                }
                write(buffer.get(), chunk);
                if (fail()) {
                    throwMessage(messageWrite);
                }
                length -= chunk;
                from += chunk;
                to += chunk;
            }
            return;
        } catch (const std::bad_alloc&) {
            halve(bufferSize);
        }
    }
}

}  // namespace quen
