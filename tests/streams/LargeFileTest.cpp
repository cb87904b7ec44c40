// Files of 2 GiB and more, made sparse so that they cost no disk space or
// time: positions, sizes and seeks are 64-bit, never cut to 32 bits.
#include <gtest/gtest.h>

#include <string>

#include "quen/platform/Win32.h"
#include "quen/streams/BinFStream.h"
#include "quen/values/TimeDate.h"
#include "support/FileSupport.h"
#include "support/Texts.h"

using quen::BinFStream;
using support::thrown;

namespace {

const long long GiB = 1LL << 30;

std::string readAt(BinFStream& stream, long long from, unsigned int count) {
    std::string bytes(count, '\x01');
    stream.seekg(from);
    stream.read(&bytes[0], count);
    return bytes;
}

class LargeFile : public ::testing::Test {
protected:
    support::ScratchFolder folder;
    std::string name = folder.file("large.bin");
};

}  // namespace

TEST_F(LargeFile, SizesPastFourGiB) {
    const unsigned long long size = 5 * GiB + 7;
    support::makeSparseFile(name, size);
    std::u16string wideName;
    for (char c : name) wideName += static_cast<char16_t>(c);
    EXPECT_EQ(size, quen::fileSize(name.c_str()));
    EXPECT_EQ(size, quen::fileSize(support::utf16(wideName.c_str()).data()));
    EXPECT_EQ(static_cast<long long>(size), BinFStream(name.c_str(), 0).size());
}

TEST_F(LargeFile, PositionsBeyondTwoAndFourGiB) {
    support::makeSparseFile(name, 5 * GiB);
    BinFStream stream(name.c_str(), 0);
    const long long high = 4 * GiB + 3;  // its low 32 bits are 3
    stream.seekp(high).write("high", 4);
    EXPECT_EQ(high + 4, stream.tellp());
    stream.seekp(2 * GiB + 1).write("mid", 3);
    EXPECT_EQ(std::string(4, '\0'), readAt(stream, 3, 4));  // nothing landed at 3
    EXPECT_EQ("high", readAt(stream, high, 4));
    stream.seekg(-(3 * GiB - 1), std::ios_base::end);
    char back[3];
    stream.read(back, 3);
    EXPECT_EQ("mid", std::string(back, 3));
    EXPECT_EQ(5 * GiB, stream.size());
}

TEST_F(LargeFile, CopiesAndShiftsFromHighOffsets) {
    support::makeSparseFile(name, 4 * GiB + 16);
    {
        BinFStream stream(name.c_str(), 0);
        stream.seekp(4 * GiB + 4).write("payload!", 8);
        stream.shiftBlock(4 * GiB + 4, 1, 8, 3);  // from beyond 4 GiB down to the start
        EXPECT_EQ(9, stream.tellp());
        EXPECT_EQ("payload!", readAt(stream, 1, 8));
    }
    BinFStream copy(folder.file("target.bin").c_str(), 0);
    EXPECT_EQ(8u, copy.copyFile(name.c_str(), 8, 4 * GiB + 4, 5));
    EXPECT_EQ("payload!", readAt(copy, 0, 8));
}

TEST_F(LargeFile, WholeFileCopyOfFourGiBOrMoreIsRefusedUpFront) {
    // Read-only sources: a copy that opens its source fails with the open's
    // text, so one byte less than 4 GiB is seen to get past the size check.
    const struct {
        long long size;
        const char* error;
    } rows[] = {{4 * GiB, "File SIZE error"}, {4 * GiB - 1, "File WRITE READ-ONLY error"}};
    for (const auto& row : rows) {
        const std::string source = name + std::to_string(row.size), target = source + ".target";
        support::makeSparseFile(source, row.size);
        ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
        BinFStream copy(target.c_str(), 0);
        copy.write("ab", 2);
        EXPECT_EQ(row.error, thrown([&] { copy.copyFile(source.c_str(), 1 << 20); })) << row.size;
        EXPECT_EQ(2, copy.size());
        EXPECT_EQ(2, copy.tellp());
    }
}
