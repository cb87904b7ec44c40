// The file stream on real files: opening, the shared position, sizes,
// failures and their texts, copies between files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "quen/errors/QuenException.h"
#include "quen/platform/Win32.h"
#include "quen/streams/BinFStream.h"
#include "quen/streams/FileOpen.h"
#include "quen/strings/StdString.h"
#include "quen/values/TimeDate.h"
#include "support/FaultSupport.h"
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

TEST_F(BinFStreamFile, FailedOpensLeaveTheFileSystemAsTheyFoundIt) {
    support::HangGuard guard(30);  // a FIFO must not be waited on
    const std::string nowhere = folder.file("missing-folder/data.bin"), existing = folder.file("existing.bin"),
                      link = folder.file("link.bin"), directory = folder.file("directory"),
                      fifo = folder.file("fifo"), socket = folder.file("socket");
    support::writeFile(existing, "data");
    std::filesystem::create_directory(directory);
    std::error_code noLinks;
    std::filesystem::create_symlink(folder.file("target.bin"), link, noLinks);  // to nothing
    const bool fifoMade = support::makeFifo(fifo), socketMade = support::makeSocket(socket);
    const int appTrunc = BinStream::app | BinStream::trunc;  // no mode a file opens with
    const struct {
        const std::string& name;
        int mode;
        bool made, notAFile;
    } rows[] = {
        {nowhere, 0, true, false},
        {name, appTrunc, true, false},  // a name that did not exist stays missing
        {existing, appTrunc, true, false},
        {link, appTrunc, !noLinks, false},  // neither the link nor its target is made
        {directory, 0, true, true},
        {directory, BinStream::trunc, true, true},
        {fifo, 0, fifoMade, true},
        {fifo, BinStream::trunc, fifoMade, true},
        {socket, BinStream::app, socketMade, true},
    };
    BinFStream target(folder.file("copies.bin").c_str(), 0);
    for (const auto& row : rows) {
        if (!row.made) continue;
        const std::string before = support::describe(row.name);
        EXPECT_EQ("File OPEN error" + row.name + " with mode " + std::to_string(row.mode | 35),
                  thrown([&] { BinFStream(row.name.c_str(), row.mode); }));
        if (row.notAFile) {
            EXPECT_EQ("File OPEN error" + row.name + " with mode 35",
                      thrown([&] { target.copyFile(row.name.c_str(), 64); }));
        }
        EXPECT_EQ(before, support::describe(row.name)) << row.mode;
    }
    EXPECT_EQ(0, target.size());
}

TEST_F(BinFStreamFile, AFileTheCallerCannotReadIsRefusedAndKept) {
    auto refused = [&] {
        EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { BinFStream(name.c_str(), 0); }));
        BinFStream sink(support::nullDevice().c_str(), 0);
        EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { sink.copyFile(name.c_str(), 64); }));
        EXPECT_TRUE(quen::FileOpen(name.c_str(), BinStream::in).readOnly());
    };
    // Linux: write permission for its owner alone, opened by that owner in
    // a folder of its own, where removing it would succeed.
    support::writeFile(name, "secret");
    std::filesystem::permissions(name, std::filesystem::perms::owner_write);
    const std::string why = support::asSecondUser({folder.path(), name}, refused);
    EXPECT_EQ("file secret", support::describe(name));
    // Windows: held by another handle that does not share reading.
    bool held = false;
    for (const auto sharing : {support::FileHolder::shareNothing, support::FileHolder::shareWritingAndDeleting}) {
        support::writeFile(name, "held");
        {
            const support::FileHolder holder(name, sharing);
            held = holder.held();
            if (held) refused();
        }
        EXPECT_EQ("file held", support::describe(name)) << sharing;
    }
    if (!why.empty() && !held) GTEST_SKIP() << why;
}

TEST_F(BinFStreamFile, CharacterDevicesStayUsable) {
    BinFStream null(support::nullDevice().c_str(), BinStream::trunc);
    null.write("abc", 3);
    StdString("abc").output(null);
    char byte;
    EXPECT_EQ("File READ error", thrown([&] { null.read(&byte, 1); }));
    EXPECT_TRUE(null.eof());
}

TEST_F(BinFStreamFile, ReadOnlyFilesAreRefused) {
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
    const std::string source = folder.file("source.bin");
    support::writeFile(source, "abc");
    const std::string block(1 << 20, 'x');
    // Small writes too: the refusal is the answer of the write that met it.
    const std::function<void(BinFStream&)> writers[] = {
        [](BinFStream& s) { s.write("x", 1); },
        [&](BinFStream& s) { s.write(block.data(), static_cast<unsigned int>(block.size())); },
        [](BinFStream& s) { s << 7u; },
        [](BinFStream& s) { StdString("abc").output(s); },
        [&](BinFStream& s) { s.copyFile(source.c_str(), 64); },
    };
    for (const auto& writer : writers) {
        BinFStream full(device.c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { writer(full); }));
        EXPECT_EQ("File BAD FILE error", thrown([&] { full.fail(); }));
    }
    BinFStream full(device.c_str(), 0);
    EXPECT_EQ("File WRITE error", thrown([&] { full.write("x", 1); }));
    // From then on the file is broken, and every check says so.
    const std::function<void()> checks[] = {[&] { full.fail(); }, [&] { full.ok(); }, [&] { full.seekg(0); },
                                            [&] { full.tellp(); }, [&] { full.write("x", 1); }};
    for (const auto& check : checks) EXPECT_EQ("File BAD FILE error", thrown(check));
    full.clear();
    EXPECT_TRUE(full.ok());
}

TEST_F(BinFStreamFile, AFullDiskKeepsEveryByteItAcknowledged) {
    const std::string disk = folder.file("disk"), source = folder.file("source.bin");
    std::filesystem::create_directory(disk);
    support::writeFile(source, std::string(96 * 1024, 's'));
    const std::string why = support::onSmallDisk(disk, 64 * 1024, [&] {
        const std::string sparse = disk + "/sparse.bin", records = disk + "/records.bin";
        {
            BinFStream stream(sparse.c_str(), 0);
            stream.seekp(16 * 1024);
            stream.write("payload", 7);  // after a hole, which takes no space yet
        }
        std::string acknowledged;
        {
            BinFStream stream(records.c_str(), 0);
            std::string failure;
            for (unsigned int i = 0; failure.empty(); ++i) {
                failure = thrown([&] {
                    stream << i;
                    for (int shift = 0; shift < 32; shift += 8) acknowledged += static_cast<char>(i >> shift);
                    StdString("record").output(stream);
                    acknowledged.append(std::string("\x07\0\0\0record\0", 11));
                });
            }
            EXPECT_EQ("File WRITE error", failure);
            EXPECT_EQ("File BAD FILE error", thrown([&] { stream.tellp(); }));
        }
        // Closing lost nothing: all that was acknowledged is there.
        const std::string kept = support::readFile(records);
        EXPECT_LE(acknowledged.size(), kept.size());
        EXPECT_TRUE(kept.compare(0, acknowledged.size(), acknowledged) == 0);
        // A copy and a move into the hole need space the disk no longer has.
        BinFStream copy((disk + "/copy.bin").c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { copy.copyFile(source.c_str(), 64 * 1024); }));
        BinFStream shift(sparse.c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { shift.shiftBlock(16 * 1024, 0, 7, 64); }));
    });
    if (!why.empty()) GTEST_SKIP() << why;
}
