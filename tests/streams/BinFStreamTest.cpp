// The file stream and the check before its open, on real files, including ones
// the system refuses and sparse files past 2 and 4 GiB (64-bit positions).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "quen/platform/Win32.h"
#include "quen/streams/BinFStream.h"
#include "quen/streams/FileOpen.h"
#include "quen/values/TimeDate.h"
#include "support/FileSupport.h"
#include "support/Texts.h"

using quen::BinFStream;
using quen::BinStream;
using quen::FileOpen;
using quen::StdString;
using support::thrown;

namespace {

const long long GiB = 1LL << 30;

std::string readBack(BinStream& stream, long long from, unsigned int count) {
    std::string bytes(count, '\x01');  // not what an unwritten sparse range reads as
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

TEST_F(BinFStreamFile, FileOpenChecksModesAndCreatesNothing) {
    const std::string writable = folder.file("writable"), readOnly = folder.file("readonly"), missing = name;
    support::writeFile(writable, "w");
    support::writeFile(readOnly, "r");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    // A missing file opened for writing loses `in`.
    const struct { const std::string& name; int mode, checked; bool readOnly; } rows[] = {
        {missing, 2, 3, false}, {missing, 3, 2, false}, {missing, 3 | 32 | 8, 2 | 32 | 8, false},
        {writable, 3 | 4 | 16 | 32, 3 | 4 | 16 | 32, false}, {readOnly, 1 | 8, 1 | 8, true},
        {missing, 32, 32, false}, {readOnly, 0, 0, true},  // neither read nor write: the mode stays
        {folder.path(), 3, 2, false},  // a directory is no file: missing, on both platforms
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name + " " + std::to_string(row.mode));
        const FileOpen check(row.name.c_str(), row.mode);
        EXPECT_EQ(row.checked, check.mode());
        EXPECT_EQ(row.readOnly, check.readOnly());
        EXPECT_EQ(row.name, std::string(check.name().c_str()));
    }
    for (int mode : {1, 1 | 4 | 16}) {
        EXPECT_EQ("File NOT FOUND error", thrown([&] { FileOpen(missing.c_str(), mode); })) << mode;
    }
    EXPECT_FALSE(support::fileExists(missing));
    // Read-only even for a caller who may write anything (root, Wine as
    // root): the attribute (on Linux: no write bit for anyone) decides.
    for (int mode : {2, 3, 3 | BinStream::binary}) {
        EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { FileOpen(readOnly.c_str(), mode); })) << mode;
    }
}

TEST_F(BinFStreamFile, ANewFileIsCreatedEmptyAndReadsBackWhatWasWritten) {
    for (int mode : {0, BinStream::in, BinStream::out, BinStream::app, BinStream::trunc, BinStream::ate}) {
        SCOPED_TRACE(mode);
        const std::string fresh = folder.file("new" + std::to_string(mode));
        BinFStream stream(fresh.c_str(), mode);
        EXPECT_TRUE(support::fileExists(fresh) && stream.size() == 0);
        EXPECT_EQ(std::string(BinFStream::banner()), stream.version());  // the object's own, not the base's
        stream.write("hello", 5);
        EXPECT_EQ("hello", readBack(stream, 0, 5));
    }
}

TEST_F(BinFStreamFile, OpenModesOfExistingFiles) {
    support::writeFile(name, "0123456789");
    BinFStream(name.c_str(), 0).write("ab", 2);  // update, from the start
    EXPECT_EQ("ab23456789", support::readFile(name));
    EXPECT_EQ(10, BinFStream(name.c_str(), BinStream::ate).tellp());
    BinFStream(name.c_str(), BinStream::app).seekp(0).write("XY", 2);  // at the end wherever the position is
    EXPECT_EQ("ab23456789XY", support::readFile(name));
    EXPECT_EQ(0, BinFStream(name.c_str(), BinStream::trunc).size());
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
    const struct { const std::string& name; int mode; bool made, notAFile; } rows[] = {
        {nowhere, 0, true, false}, {name, appTrunc, true, false},  // a name that did not exist stays missing
        {existing, appTrunc, true, false}, {link, appTrunc, !noLinks, false},  // nor a link's target is made
        {directory, 0, true, true}, {directory, BinStream::trunc, true, true}, {fifo, 0, fifoMade, true},
        {fifo, BinStream::trunc, fifoMade, true}, {socket, BinStream::app, socketMade, true},
    };
    BinFStream target(folder.file("copies.bin").c_str(), 0);
    for (const auto& row : rows) {
        if (!row.made) continue;
        SCOPED_TRACE(row.name + " " + std::to_string(row.mode));
        const std::string before = support::describe(row.name);
        EXPECT_EQ("File OPEN error" + row.name + " with mode " + std::to_string(row.mode | 35),
                  thrown([&] { BinFStream(row.name.c_str(), row.mode); }));
        if (row.notAFile) {
            EXPECT_EQ("File OPEN error" + row.name + " with mode 35",
                      thrown([&] { target.copyFile(row.name.c_str(), 64); }));
        }
        EXPECT_EQ(before, support::describe(row.name));
    }
    EXPECT_EQ(0, target.size());
}

// Read-only; on Linux also writable by its owner alone, another user (in a folder of its own,
// where removing the file would succeed); on Windows held by a handle that does not share reading.
TEST_F(BinFStreamFile, FilesTheCallerMayNotWriteOrReadAreRefusedAndKept) {
    const std::string sinkName = support::nullDevice();
    auto refused = [&] {
        EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { BinFStream(name.c_str(), BinStream::in); }));
        BinFStream sink(sinkName.c_str(), 0);
        EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { sink.copyFile(name.c_str(), 64); }));
        EXPECT_TRUE(FileOpen(name.c_str(), BinStream::in).readOnly());
    };
    support::writeFile(name, "read-only");
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
    refused();
    EXPECT_EQ("file read-only", support::describe(name));
    ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL));

    support::writeFile(name, "secret");
    std::filesystem::permissions(name, std::filesystem::perms::owner_write);
    const std::string why = support::asSecondUser({folder.path(), name}, refused);
    EXPECT_EQ("file secret", support::describe(name));
    bool held = false;
    for (const bool shareWriting : {false, true}) {
        support::writeFile(name, "held");
        held = support::whileHeld(name, shareWriting, refused);
        EXPECT_EQ("file held", support::describe(name)) << shareWriting;
    }
    if (!why.empty() && !held) GTEST_SKIP() << why;
}

TEST_F(BinFStreamFile, OnePositionForReadingAndWritingAndReadsSeeTheWrites) {
    BinFStream stream(name.c_str(), 0);
    stream.write("0123456789", 10);
    EXPECT_TRUE(stream.size() == 10 && stream.tellg() == 10);  // size keeps the position
    const struct { std::function<void()> move; long long position; } moves[] = {
        {[&] { stream.seekp(5); }, 5}, {[&] { stream.seekg(2); }, 2},
        {[&] { stream.seekg(-3, std::ios_base::end); }, 7}, {[&] { stream.seekp(-2, std::ios_base::cur); }, 5}};
    for (const auto& move : moves) {
        move.move();
        EXPECT_EQ(move.position, stream.tellg());
        EXPECT_EQ(move.position, stream.tellp());
    }
    stream.write("ab", 2);
    EXPECT_EQ("01234ab789", readBack(stream, 0, 10));
    // Writes into and past what was read ahead: the next reads see them.
    stream.seekp(8).write("XYZ", 3);
    stream.seekp(1).write("c", 1);
    EXPECT_EQ("0c234ab7XYZ", readBack(stream, 0, 11));
}

TEST_F(BinFStreamFile, ReadPastTheEndAndTheFailedState) {
    support::writeFile(name, "ab");
    BinFStream stream(name.c_str(), 0);
    char buffer[4];
    EXPECT_EQ("File READ error", thrown([&] { stream.read(buffer, 4); }));
    EXPECT_TRUE(stream.eof() && stream.fail() && !stream.ok());
    // A failed stream neither seeks nor tells until it is cleared.
    EXPECT_EQ("File SEEK error", thrown([&] { stream.seekp(0, std::ios_base::beg); }));
    EXPECT_EQ("File TELL error", thrown([&] { stream.tellg(); }));
    EXPECT_EQ("File TELL error", thrown([&] { stream.tellp(); }));
    stream.clear();
    EXPECT_EQ("ab", readBack(stream, 0, 2));
    EXPECT_EQ("File SEEK error", thrown([&] { stream.seekg(-1); }));  // and the stream has failed
    EXPECT_EQ("File TELL error", thrown([&] { stream.tellg(); }));
    stream.clear();
    EXPECT_EQ("Not yet implemented: setEOF", thrown([&] { stream.setEOF(); }));

    BinFStream null(support::nullDevice().c_str(), BinStream::trunc);  // a device stays usable
    null.write("abc", 3);
    EXPECT_EQ("File READ error", thrown([&] { null.read(buffer, 1); }));
    EXPECT_TRUE(null.eof());
}

TEST_F(BinFStreamFile, CopiesWholeFilesAndRanges) {
    const std::string source = folder.file("source.bin"), missing = folder.file("missing.bin");
    support::writeFile(source, "0123456789");
    support::writeFile(name, "ab");
    BinFStream stream(name.c_str(), 0);
    stream.seekp(0, std::ios_base::end);
    EXPECT_EQ(10u, stream.copyFile(source.c_str(), 3));
    EXPECT_EQ(12, stream.tellp());
    EXPECT_EQ(4u, stream.copyFile(source.c_str(), 4, 6, 1000));
    EXPECT_EQ("ab01234567896789", readBack(stream, 0, 16));

    EXPECT_EQ("fileSizeFile NOT FOUND error", thrown([&] { stream.copyFile(missing.c_str(), 16); }));
    EXPECT_FALSE(support::fileExists(missing));  // nothing was opened
    // The four-argument copy opens (and so creates) the source first.
    EXPECT_EQ("File READ error", thrown([&] { stream.copyFile(missing.c_str(), 3, 0, 16); }));
    EXPECT_TRUE(support::fileExists(missing));
    EXPECT_EQ(16, stream.size());
}

TEST_F(BinFStreamFile, AWriteTheSystemRefusesBreaksTheStream) {
    const std::string device = support::fullDevice();
    if (device.empty()) GTEST_SKIP() << "no device that is always full here";
    const std::string source = folder.file("source.bin");
    support::writeFile(source, "abc");
    const std::string block(1 << 20, 'x');
    // A small write too: the refusal is the answer of the write that met it.
    const std::function<void(BinFStream&)> writers[] = {
        [](BinFStream& s) { s.write("x", 1); },
        [&](BinFStream& s) { s.write(block.data(), static_cast<unsigned int>(block.size())); },
        [&](BinFStream& s) { s.copyFile(source.c_str(), 64); },
    };
    for (const auto& writer : writers) {
        BinFStream full(device.c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { writer(full); }));
        // From then on the file is broken, and every check says so.
        const std::function<void()> checks[] = {[&] { full.fail(); }, [&] { full.ok(); }, [&] { full.seekg(0); },
                                                [&] { full.tellp(); }, [&] { full.write("x", 1); }};
        for (const auto& check : checks) EXPECT_EQ("File BAD FILE error", thrown(check));
        full.clear();
        EXPECT_TRUE(full.ok());
    }
}

TEST_F(BinFStreamFile, AFullDiskKeepsEveryByteItAcknowledged) {
    const std::string disk = folder.file("disk"), source = folder.file("source.bin");
    std::filesystem::create_directory(disk);
    support::writeFile(source, std::string(96 * 1024, 's'));
    const std::string why = support::onSmallDisk(disk, 64 * 1024, [&] {
        const std::string sparse = disk + "/sparse.bin", records = disk + "/records.bin";
        BinFStream(sparse.c_str(), 0).seekp(16 * 1024).write("payload", 7);  // after a hole, which takes no space yet
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
        EXPECT_EQ(acknowledged, kept.substr(0, acknowledged.size()));
        // A copy and a move into the hole need space the disk no longer has.
        BinFStream copy((disk + "/copy.bin").c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { copy.copyFile(source.c_str(), 64 * 1024); }));
        BinFStream shift(sparse.c_str(), 0);
        EXPECT_EQ("File WRITE error", thrown([&] { shift.shiftBlock(16 * 1024, 0, 7, 64); }));
    });
    if (!why.empty()) GTEST_SKIP() << why;
}

TEST_F(BinFStreamFile, SizesAndPositionsBeyondTwoAndFourGiB) {
    const long long size = 5 * GiB + 7;
    support::makeSparseFile(name, static_cast<unsigned long long>(size));
    EXPECT_EQ(size, static_cast<long long>(quen::fileSize(name.c_str())));
    const std::vector<unsigned short> wide = support::utf16(std::u16string(name.begin(), name.end()).c_str());
    EXPECT_EQ(size, static_cast<long long>(quen::fileSize(wide.data())));
    BinFStream stream(name.c_str(), 0);
    const long long high = 4 * GiB + 3;  // its low 32 bits are 3
    stream.seekp(high).write("high", 4);
    EXPECT_EQ(high + 4, stream.tellp());
    stream.seekp(2 * GiB + 1).write("mid", 3);
    EXPECT_EQ(std::string(4, '\0'), readBack(stream, 3, 4));  // nothing landed at 3
    EXPECT_EQ("high", readBack(stream, high, 4));
    stream.seekg(-(3 * GiB + 6), std::ios_base::end);
    char back[3];
    stream.read(back, 3);
    EXPECT_EQ("mid", std::string(back, 3));
    EXPECT_EQ(size, stream.size());
}

TEST_F(BinFStreamFile, CopiesAndShiftsFromHighOffsets) {
    support::makeSparseFile(name, 4 * GiB + 16);
    {
        BinFStream stream(name.c_str(), 0);
        stream.seekp(4 * GiB + 4).write("payload!", 8);
        stream.shiftBlock(4 * GiB + 4, 1, 8, 3);  // from beyond 4 GiB down to the start
        EXPECT_EQ(9, stream.tellp());
        EXPECT_EQ("payload!", readBack(stream, 1, 8));
    }
    BinFStream copy(folder.file("target.bin").c_str(), 0);
    EXPECT_EQ(8u, copy.copyFile(name.c_str(), 8, 4 * GiB + 4, 5));
    EXPECT_EQ("payload!", readBack(copy, 0, 8));
}

TEST_F(BinFStreamFile, WholeFileCopyOfFourGiBOrMoreIsRefusedUpFront) {
    // Read-only sources: a copy that opens its source fails with the open's
    // text, so one byte less than 4 GiB is seen to get past the size check.
    const struct { long long size; const char* error; } rows[] = {{4 * GiB, "File SIZE error"},
                                                                   {4 * GiB - 1, "File WRITE READ-ONLY error"}};
    for (const auto& row : rows) {
        const std::string source = name + std::to_string(row.size), target = source + ".target";
        support::makeSparseFile(source, row.size);
        ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
        BinFStream copy(target.c_str(), 0);
        copy.write("ab", 2);
        EXPECT_EQ(row.error, thrown([&] { copy.copyFile(source.c_str(), 1 << 20); })) << row.size;
        EXPECT_TRUE(copy.size() == 2 && copy.tellp() == 2);
    }
}
