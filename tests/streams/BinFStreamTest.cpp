// The file stream on real files: opening, the shared position, sizes,
// failures and their texts, copies between files.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/streams/BinFStream.h"
#include "quen/strings/StdString.h"
#include "quen/values/TimeDate.h"
#include "support/FileSupport.h"
#include "support/Texts.h"

using quen::BinFStream;
using quen::BinStream;
using quen::StdString;
using support::thrown;

namespace {

std::string readBack(BinStream& stream, long long from, unsigned int count) {
    std::string bytes(count, '\0');
    stream.seekg(from);
    stream.read(&bytes[0], count);
    return bytes;
}

class BinFStreamFile : public ::testing::Test {
protected:
    support::ScratchFolder folder;
    std::string name = folder.file("data.bin");
};

}  // namespace

TEST_F(BinFStreamFile, Banners) {
    BinFStream stream(name.c_str(), 0);
    EXPECT_STREQ("BinFStream 1.0, 16.09.1999", stream.version());
    EXPECT_STREQ("BinFStream 1.0, 16.09.1999", BinFStream::banner());
    EXPECT_STREQ("BinStream 1.0, 16.08.1999", stream.BinStream::version());
    EXPECT_EQ(nullptr, stream.telldelayp());
    EXPECT_FALSE(stream.readOnly());
}

TEST_F(BinFStreamFile, ANewFileIsCreatedEmptyAndReadsBackWhatWasWritten) {
    // Every way of asking for a new file gives a stream that reads as well.
    for (int mode : {0, BinStream::in, BinStream::out, BinStream::app, BinStream::trunc, BinStream::ate}) {
        const std::string fresh = folder.file("new" + std::to_string(mode));
        BinFStream stream(fresh.c_str(), mode);
        EXPECT_TRUE(support::fileExists(fresh)) << mode;
        EXPECT_EQ(0, stream.size()) << mode;
        stream.write("hello", 5);
        EXPECT_EQ("hello", readBack(stream, 0, 5)) << mode;
        EXPECT_EQ(5, stream.size()) << mode;
    }
}

TEST_F(BinFStreamFile, OpenModesOfExistingFiles) {
    support::writeFile(name, "0123456789");
    {
        BinFStream update(name.c_str(), 0);
        EXPECT_EQ(0, update.tellp());
        update.write("ab", 2);
    }
    EXPECT_EQ("ab23456789", support::readFile(name));
    {
        BinFStream atEnd(name.c_str(), BinStream::ate);
        EXPECT_EQ(10, atEnd.tellp());
    }
    {
        BinFStream append(name.c_str(), BinStream::app);
        append.seekp(0);
        append.write("XY", 2);  // app writes at the end wherever the position is
    }
    EXPECT_EQ("ab23456789XY", support::readFile(name));
    {
        BinFStream truncate(name.c_str(), BinStream::trunc);
        EXPECT_EQ(0, truncate.size());
    }
    EXPECT_EQ("", support::readFile(name));
}

TEST_F(BinFStreamFile, OpenFailuresCarryTheNameAndTheWidenedModeAndReadOnlyFilesAreRefused) {
    const std::string nowhere = folder.file("missing-folder/data.bin");
    EXPECT_EQ("File OPEN error" + nowhere + " with mode 35", thrown([&] { BinFStream(nowhere.c_str(), 0); }));
    // app with trunc is no valid mode: the file made for the open is removed again.
    EXPECT_EQ("File OPEN error" + name + " with mode 59",
              thrown([&] { BinFStream(name.c_str(), BinStream::app | BinStream::trunc); }));
    EXPECT_FALSE(support::fileExists(name));

    support::writeFile(name, "data");
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
    // Also where the caller may write anything (root, Wine run as root).
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { BinFStream(name.c_str(), BinStream::in); }));
    EXPECT_EQ("data", support::readFile(name));

    // Nor as the source of a copy.
    const std::string target = folder.file("target.bin");
    BinFStream stream(target.c_str(), 0);
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { stream.copyFile(name.c_str(), 64); }));
    EXPECT_EQ(0, stream.size());
}

TEST_F(BinFStreamFile, OnePositionForReadingAndWriting) {
    BinFStream stream(name.c_str(), 0);
    stream.write("0123456789", 10);
    EXPECT_EQ(10, stream.size());
    EXPECT_EQ(10, stream.tellg());  // size keeps the position
    stream.seekp(5);
    EXPECT_EQ(5, stream.tellg());
    stream.seekg(2);
    EXPECT_EQ(2, stream.tellp());
    stream.seekg(-3, std::ios_base::end);
    EXPECT_EQ(7, stream.tellg());
    stream.seekp(-2, std::ios_base::cur);
    EXPECT_EQ(5, stream.tellp());
    stream.write("ab", 2);
    EXPECT_EQ("01234ab789", readBack(stream, 0, 10));
}

TEST_F(BinFStreamFile, ReadPastTheEndAndTheFailedState) {
    support::writeFile(name, "ab");
    BinFStream stream(name.c_str(), 0);
    char buffer[4];
    EXPECT_EQ("File READ error", thrown([&] { stream.read(buffer, 4); }));
    EXPECT_TRUE(stream.eof());
    EXPECT_TRUE(stream.fail());
    EXPECT_FALSE(stream.ok());
    // A failed stream neither seeks nor tells until it is cleared.
    EXPECT_EQ("File SEEK error", thrown([&] { stream.seekg(0); }));
    EXPECT_EQ("File SEEK error", thrown([&] { stream.seekp(0, std::ios_base::beg); }));
    EXPECT_EQ("File TELL error", thrown([&] { stream.tellg(); }));
    EXPECT_EQ("File TELL error", thrown([&] { stream.tellp(); }));
    stream.clear();
    EXPECT_TRUE(stream.ok());
    EXPECT_EQ("ab", readBack(stream, 0, 2));
    EXPECT_EQ("File SEEK error", thrown([&] { stream.seekg(-1); }));
    stream.clear();
    EXPECT_EQ("Not yet implemented: setEOF", thrown([&] { stream.setEOF(); }));
}

TEST_F(BinFStreamFile, StringsRoundTripAndCorruptCountsAreRefused) {
    {
        BinFStream stream(name.c_str(), 0);
        StdString("first").output(stream);
        StdString().output(stream);
        quen::TimeDate(86400).output(stream);
    }
    EXPECT_EQ(std::string("\x06\0\0\0first\0\x01\0\0\0\0\x80\x51\x01\0", 19), support::readFile(name));
    BinFStream stream(name.c_str(), 0);
    StdString first, second("x");
    quen::TimeDate time(0);
    first.input(stream);
    second.input(stream);
    time.input(stream);
    EXPECT_EQ("first", std::string(first.c_str()));
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(86400, time.time());

    // A count of 4 GiB on a 6-byte file: refused, nothing allocated or changed.
    support::writeFile(name, "\xFF\xFF\xFF\xFFzz");
    BinFStream hostile(name.c_str(), 0);
    StdString value("unchanged");
    EXPECT_EQ("File READ error", thrown([&] { value.input(hostile); }));
    EXPECT_EQ("unchanged", std::string(value.c_str()));
}

TEST_F(BinFStreamFile, WholeFileCopies) {
    const std::string source = folder.file("source.bin");
    support::writeFile(source, "0123456789");
    support::writeFile(name, "ab");
    BinFStream stream(name.c_str(), 0);
    stream.seekp(0, std::ios_base::end);
    EXPECT_EQ(10u, stream.copyFile(source.c_str(), 3));
    EXPECT_EQ(12, stream.tellp());
    EXPECT_EQ(4u, stream.copyFile(source.c_str(), 4, 6, 1000));
    EXPECT_EQ("ab01234567896789", readBack(stream, 0, 16));

    const std::string empty = folder.file("empty.bin");
    support::writeFile(empty, "");
    EXPECT_EQ(0u, stream.copyFile(empty.c_str(), 16));
    EXPECT_EQ(16, stream.size());
}

TEST_F(BinFStreamFile, CopyFailuresFromMissingFiles) {
    BinFStream stream(name.c_str(), 0);
    const std::string missing = folder.file("missing.bin");
    EXPECT_EQ("fileSizeFile NOT FOUND error", thrown([&] { stream.copyFile(missing.c_str(), 16); }));
    EXPECT_FALSE(support::fileExists(missing));  // nothing was opened
    // The four-argument copy opens (and so creates) the source first.
    EXPECT_EQ("File READ error", thrown([&] { stream.copyFile(missing.c_str(), 3, 0, 16); }));
    EXPECT_TRUE(support::fileExists(missing));
    EXPECT_EQ(0, stream.size());
}

TEST_F(BinFStreamFile, ShiftBlockInAFile) {
    support::writeFile(name, "ABCDEFGHIJKLMN");
    BinFStream stream(name.c_str(), 0);
    stream.shiftBlock(4, 2, 10, 3);
    EXPECT_EQ(12, stream.tellp());
    EXPECT_EQ(14, stream.size());
    EXPECT_EQ("ABEFGHIJKLMNMN", readBack(stream, 0, 14));
    EXPECT_EQ("File READ error", thrown([&] { stream.shiftBlock(10, 0, 10, 3); }));
}

TEST_F(BinFStreamFile, WritesTheSystemRefusesAndTheBrokenStream) {
    const std::string device = support::fullDevice();
    if (device.empty()) {
        GTEST_SKIP() << "no device that is always full here";
    }
    BinFStream full(device.c_str(), 0);
    // Larger than the stream's own buffer, so the system sees it at once.
    const std::string block(1 << 20, 'x');
    EXPECT_EQ("File WRITE error", thrown([&] { full.write(block.data(), static_cast<unsigned int>(block.size())); }));
    // From then on the file is broken, and every check says so.
    const std::function<void()> checks[] = {[&] { full.fail(); }, [&] { full.ok(); }, [&] { full.seekg(0); },
                                            [&] { full.tellp(); }, [&] { full.write("x", 1); }};
    for (const auto& check : checks) EXPECT_EQ("File BAD FILE error", thrown(check));
    full.clear();
    EXPECT_TRUE(full.ok());
}
