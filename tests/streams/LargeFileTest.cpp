// Files of 2 GiB and more, made sparse so that they cost no disk space or
// time: positions, sizes and seeks are 64-bit, never cut to 32 bits.
#include <gtest/gtest.h>

#include <string>

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/streams/BinFStream.h"
#include "quen/values/TimeDate.h"
#include "support/FileSupport.h"

using quen::BinFStream;

namespace {

const long long GiB = 1LL << 30;

class LargeFile : public ::testing::Test {
protected:
    support::ScratchFolder folder;
    std::string name = folder.file("large.bin");
};

}  // namespace

TEST_F(LargeFile, SizesPastFourGiB) {
    const unsigned long long size = 5 * GiB + 7;
    support::makeSparseFile(name, size);
    EXPECT_EQ(size, quen::fileSize(name.c_str()));
    std::u16string wideName;
    for (char c : name) wideName += static_cast<char16_t>(c);
    EXPECT_EQ(size, quen::fileSize(support::utf16(wideName.c_str()).data()));
    BinFStream stream(name.c_str(), 0);
    EXPECT_EQ(static_cast<long long>(size), stream.size());
}

TEST_F(LargeFile, PositionsBeyondTwoAndFourGiB) {
    support::makeSparseFile(name, 5 * GiB);
    BinFStream stream(name.c_str(), 0);
    const long long high = 4 * GiB + 3;  // its low 32 bits are 3
    stream.seekp(high);
    stream.write("high", 4);
    EXPECT_EQ(high + 4, stream.tellp());
    stream.seekp(2 * GiB + 1);
    stream.write("mid", 3);
    stream.seekg(3);
    char low[4] = {1, 1, 1, 1};
    stream.read(low, 4);
    EXPECT_EQ(std::string(4, '\0'), std::string(low, 4));  // nothing landed at 3
    char back[4];
    stream.seekg(high);
    stream.read(back, 4);
    EXPECT_EQ("high", std::string(back, 4));
    stream.seekg(-(3 * GiB - 1), std::ios_base::end);
    stream.read(back, 3);
    EXPECT_EQ("mid", std::string(back, 3));
    EXPECT_EQ(5 * GiB, stream.size());
}

TEST_F(LargeFile, CopiesAndShiftsFromHighOffsets) {
    support::makeSparseFile(name, 4 * GiB + 16);
    {
        BinFStream stream(name.c_str(), 0);
        stream.seekp(4 * GiB + 4);
        stream.write("payload!", 8);
        // A block from beyond 4 GiB down to the start.
        stream.shiftBlock(4 * GiB + 4, 1, 8, 3);
        EXPECT_EQ(9, stream.tellp());
        char moved[8];
        stream.seekg(1);
        stream.read(moved, 8);
        EXPECT_EQ("payload!", std::string(moved, 8));
    }
    const std::string target = folder.file("target.bin");
    BinFStream copy(target.c_str(), 0);
    EXPECT_EQ(8u, copy.copyFile(name.c_str(), 8, 4 * GiB + 4, 5));
    char copied[8];
    copy.seekg(0);
    copy.read(copied, 8);
    EXPECT_EQ("payload!", std::string(copied, 8));
}

TEST_F(LargeFile, WholeFileCopyOfFourGiBOrMoreIsRefusedUpFront) {
    support::makeSparseFile(name, 4 * GiB);
    // Read-only: had the copy opened its source, the text would say so.
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string target = folder.file("target.bin");
    BinFStream copy(target.c_str(), 0);
    copy.write("ab", 2);
    try {
        copy.copyFile(name.c_str(), 1 << 20);
        ADD_FAILURE() << "a 4 GiB file was copied as if it fitted";
    } catch (const quen::QuenException& error) {
        EXPECT_STREQ("File SIZE error", error.what());
    }
    EXPECT_EQ(2, copy.size());
    EXPECT_EQ(2, copy.tellp());
}
