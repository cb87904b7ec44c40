// The stream interface's own parts: the 4-byte integers, the error check,
// the serialised strings, and the block operations over any stream.
#include <gtest/gtest.h>

#include <string>

#include "MemoryStream.h"
#include "quen/errors/QuenException.h"
#include "quen/strings/StdString.h"
#include "support/Texts.h"

using quen::QuenException;
using quen::StdString;
using support::thrown;
using test::MemoryStream;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (int value : values) result += static_cast<char>(value);
    return result;
}

}  // namespace

TEST(BinStream, BannerAndInitialState) {
    MemoryStream stream;
    EXPECT_STREQ("BinStream 1.0, 16.08.1999", stream.version());
    EXPECT_STREQ("BinStream 1.0, 16.08.1999", quen::BinStream::banner());
    EXPECT_FALSE(stream.readOnly());
    EXPECT_TRUE(stream.ok());
    stream.failed = true;
    EXPECT_FALSE(stream.ok());
}

TEST(BinStream, IntegersAreFourBytesLeastSignificantFirst) {
    MemoryStream stream;
    stream << 1u;
    stream.write(0x12345678u);
    stream << static_cast<long>(-2);
    stream.write(static_cast<long>(0x7FFFFFFF));
    EXPECT_EQ(bytes({1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
              stream.bytes);

    long one = 0, minusTwo = 0, largest = 0;
    unsigned int pattern = 0;
    stream >> one;
    stream.read(pattern);
    stream >> minusTwo;
    stream.read(largest);
    EXPECT_EQ(1, one);
    EXPECT_EQ(0x12345678u, pattern);
    EXPECT_EQ(-2, minusTwo);  // with its sign, also in a 64-bit long
    EXPECT_EQ(0x7FFFFFFF, largest);

    unsigned int unsignedView = 0;
    stream.get = 8;
    stream >> unsignedView;
    EXPECT_EQ(0xFFFFFFFEu, unsignedView);
}

TEST(BinStream, QuietFailuresBecomeTheReadOnlyMessage) {
    // A stream that does not throw by itself is checked after each integer.
    MemoryStream stream(bytes({1, 2}));
    stream.quiet = true;
    long value = 99;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { stream >> value; }));
    stream.clear();
    stream.put = -1;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { stream << 5u; }));
    stream.clear();
    EXPECT_EQ("", thrown([&] { stream.throwOnError(); }));
}

TEST(StdStringSerialisation, RecordLayout) {
    MemoryStream stream;
    const StdString abc("abc");
    EXPECT_EQ(8u, abc.objectSize());
    EXPECT_EQ(&stream, &abc.output(stream));
    EXPECT_EQ(bytes({4, 0, 0, 0, 'a', 'b', 'c', 0}), stream.bytes);
    // The count and the characters are two writes.
    EXPECT_EQ((std::vector<unsigned int>{4, 4}), stream.writes);

    MemoryStream empty;
    EXPECT_EQ(5u, StdString().objectSize());
    StdString().output(empty);
    EXPECT_EQ(bytes({1, 0, 0, 0, 0}), empty.bytes);

    StdString back("old");
    EXPECT_EQ(&stream, &back.input(stream));
    EXPECT_EQ("abc", std::string(back.c_str()));
    EXPECT_EQ(8, stream.tellg());
}

TEST(StdStringSerialisation, ZeroBytesInTheValueAndTheRecord) {
    StdString withZero("ab");
    withZero += '\0';
    withZero += 'c';
    EXPECT_EQ(9u, withZero.objectSize());
    MemoryStream stream;
    withZero.output(stream);
    EXPECT_EQ(bytes({5, 0, 0, 0, 'a', 'b', 0, 'c', 0}), stream.bytes);
    StdString back;
    back.input(stream);
    EXPECT_EQ(2u, back.size());  // up to the first zero byte

    // A count of 0: the value becomes empty and only the count is read.
    MemoryStream zero(bytes({0, 0, 0, 0, 'x'}));
    StdString value("keep");
    value.input(zero);
    EXPECT_TRUE(value.empty());
    EXPECT_EQ(4, zero.tellg());

    // A record without any zero byte gives all of its bytes, no more.
    MemoryStream noZero(bytes({3, 0, 0, 0, 'x', 'y', 'z', 'q', 'r'}));
    value.input(noZero);
    EXPECT_EQ("xyz", std::string(value.data(), value.size()));
    EXPECT_EQ(7, noZero.tellg());
}

TEST(StdStringSerialisation, ACountBeyondTheDataIsAReadErrorWithoutABuffer) {
    // FF FF FF FF asks for 4 GiB: refused before any buffer is obtained,
    // which the stream sees as no read of the claimed size at all.
    MemoryStream hostile(bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}));
    StdString value("unchanged");
    EXPECT_EQ("File READ error", thrown([&] { value.input(hostile); }));
    EXPECT_EQ("unchanged", std::string(value.c_str()));
    EXPECT_EQ((std::vector<unsigned int>{4}), hostile.reads);

    // One byte short of the claim.
    MemoryStream shortRecord(bytes({4, 0, 0, 0, 'a', 'b', 'c'}));
    EXPECT_EQ("File READ error", thrown([&] { value.input(shortRecord); }));
    EXPECT_EQ("unchanged", std::string(value.c_str()));
}

TEST(StdStringSerialisation, StreamFailuresLeaveTheValue) {
    MemoryStream quiet(bytes({4, 0}));
    quiet.quiet = true;
    StdString value("unchanged");
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { value.input(quiet); }));
    EXPECT_EQ("unchanged", std::string(value.c_str()));

    MemoryStream refusing;
    refusing.quiet = true;
    refusing.put = -1;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { value.output(refusing); }));
    EXPECT_EQ(1u, refusing.writes.size());  // nothing after the failed count
}

// --- shiftBlock -------------------------------------------------------------

TEST(ShiftBlock, MovesOverlappingBlocksDownInOrder) {
    MemoryStream stream("ABCDEFGHIJKLMN");
    stream.shiftBlock(4, 2, 10, 3);
    EXPECT_EQ("ABEFGHIJKLMNMN", stream.bytes);  // 12 and 13 keep the old block's last two bytes
    EXPECT_EQ(12, stream.tellp());
    EXPECT_EQ((std::vector<unsigned int>{3, 3, 3, 1}), stream.writes);

    MemoryStream distant("0123456789");
    distant.shiftBlock(5, 0, 5, 100);  // the buffer is cut to the length
    EXPECT_EQ("5678956789", distant.bytes);
    EXPECT_EQ((std::vector<unsigned int>{5}), distant.reads);
}

TEST(ShiftBlock, NothingToMoveOnlyPositions) {
    MemoryStream stream("0123456789");
    stream.shiftBlock(3, 3, 5, 4);
    EXPECT_EQ(3, stream.tellp());
    stream.shiftBlock(2, 7, 0, 4);  // length 0: even upwards only the put position moves
    EXPECT_EQ(7, stream.tellp());
    EXPECT_EQ("0123456789", stream.bytes);
    EXPECT_TRUE(stream.reads.empty());
}

TEST(ShiftBlock, RefusedRequests) {
    MemoryStream stream("0123456789");
    EXPECT_EQ("Cannot shift to higher offsets", thrown([&] { stream.shiftBlock(2, 3, 4, 4); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { stream.shiftBlock(4, 2, 3, 0); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { stream.shiftBlock(4, 2, -1, 4); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { stream.shiftBlock(4, 4, 0, 0); }));
    EXPECT_EQ("0123456789", stream.bytes);
    EXPECT_EQ(0, stream.tellp());
}

TEST(ShiftBlock, QuietStreamFailuresGetTheirMessages) {
    MemoryStream seek("0123456789");
    seek.quiet = true;
    EXPECT_EQ("File SEEK error", thrown([&] { seek.shiftBlock(5, -1, 2, 4); }));
    MemoryStream seekAtOnce("0123456789");
    seekAtOnce.quiet = true;
    EXPECT_EQ("File SEEK error", thrown([&] { seekAtOnce.shiftBlock(-2, -2, 2, 4); }));
    MemoryStream read("0123456789");
    read.quiet = true;
    EXPECT_EQ("File READ error", thrown([&] { read.shiftBlock(8, 0, 5, 4); }));
    MemoryStream seekFrom("0123456789");
    seekFrom.quiet = true;
    EXPECT_EQ("File SEEK error", thrown([&] { seekFrom.shiftBlock(-1, -3, 2, 4); }));
    MemoryStream write("0123456789");
    write.quiet = true;
    write.refuseWrites = true;
    EXPECT_EQ("File WRITE error", thrown([&] { write.shiftBlock(4, 0, 2, 4); }));
    EXPECT_EQ("0123456789", write.bytes);
}

TEST(ShiftBlock, HalvesTheBufferWhenMemoryIsShortAndKeepsItsPlace) {
    MemoryStream stream("ABCDEFGHIJKLMNOPQRST");
    stream.badWrite = 2;  // the second chunk cannot be had
    stream.shiftBlock(8, 0, 12, 4);
    EXPECT_EQ("IJKLMNOPQRSTMNOPQRST", stream.bytes);
    EXPECT_EQ((std::vector<unsigned int>{4, 4, 2, 2, 2, 2}), stream.writes);

    MemoryStream limited("0123456789");
    limited.transferLimit = 3;
    limited.shiftBlock(2, 0, 8, 16);  // 8, 4 fail; 2 works
    EXPECT_EQ("2345678989", limited.bytes);

    // The last chunk is shorter than the buffer, and a halving starts from it.
    MemoryStream tail("0123456789AB");
    tail.badWrite = 3;
    tail.shiftBlock(2, 0, 10, 4);
    EXPECT_EQ("23456789ABAB", tail.bytes);
    EXPECT_EQ((std::vector<unsigned int>{4, 4, 2, 1, 1}), tail.writes);

    MemoryStream none("0123456789");
    none.transferLimit = 0;
    EXPECT_EQ("Memory ALLOCATION error", thrown([&] { none.shiftBlock(4, 0, 6, 8); }));
    EXPECT_EQ((std::vector<unsigned int>{6, 3, 1}), none.reads);  // 6 -> 3 -> 1 -> 0
}

// --- copyFile ---------------------------------------------------------------

TEST(CopyFile, AppendsARangeOfTheNamedFileAndReturnsTheLength) {
    MemoryStream::Files files{{"source", "0123456789"}};
    MemoryStream target("ab", &files);
    target.put = 2;
    EXPECT_EQ(5u, target.copyFile("source", 5, 3, 2));
    EXPECT_EQ("ab34567", target.bytes);
    EXPECT_EQ((std::vector<unsigned int>{2, 2, 1}), target.writes);
    EXPECT_EQ((std::vector<std::string>{"source"}), target.opened);

    MemoryStream empty(std::string(), &files);
    EXPECT_EQ(0u, empty.copyFile("source", 0, 0, 8));
    EXPECT_EQ("", empty.bytes);

    // The length is returned as asked, not what the source gave: a source
    // that fails without throwing is not looked at again.
    MemoryStream quietSource(std::string(), &files);
    quietSource.sourceQuiet = true;
    EXPECT_EQ(12u, quietSource.copyFile("source", 12, 0, 5));
    EXPECT_EQ((std::vector<unsigned int>{5, 5, 2}), quietSource.writes);
    EXPECT_EQ(12u, quietSource.bytes.size());
    EXPECT_EQ("0123456789", quietSource.bytes.substr(0, 10));
}

TEST(CopyFile, SourceFailuresPassToTheCaller) {
    MemoryStream::Files files{{"source", "0123"}};
    MemoryStream target(std::string(), &files);
    EXPECT_EQ("memory READ", thrown([&] { target.copyFile("source", 10, 0, 4); }));
    EXPECT_EQ("0123", target.bytes);  // what was copied stays
    EXPECT_EQ("no such memory file", thrown([&] { target.copyFile("missing", 1, 0, 4); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { target.copyFile("source", 1, 0, 0); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { target.copyFile("source", 0); }));
}

TEST(CopyFile, AfterAnAllocationFailureGoesOnWhereItStood) {
    // Copying again from the start would append the first chunk twice.
    MemoryStream::Files files{{"source", std::string("abcdefghijklmnopqrstuvwxyz0123456789")}};
    MemoryStream target(std::string(), &files);
    target.badWrite = 2;
    EXPECT_EQ(30u, target.copyFile("source", 30, 2, 16));
    EXPECT_EQ("cdefghijklmnopqrstuvwxyz012345", target.bytes);
    // The failed chunk of 14 is halved: 7 and 7.
    EXPECT_EQ((std::vector<unsigned int>{16, 14, 7, 7}), target.writes);
    EXPECT_EQ(2u, target.opened.size());  // the source is opened again with the smaller buffer
}

TEST(CopyFile, HalvingEndsInTheAllocationMessage) {
    MemoryStream::Files files{{"source", "0123456789"}};
    MemoryStream target(std::string(), &files);
    target.sourceTransferLimit = 2;
    EXPECT_EQ(10u, target.copyFile("source", 10, 0, 9));  // 9 and 4 fail, 2 works
    EXPECT_EQ("0123456789", target.bytes);

    MemoryStream starved(std::string(), &files);
    starved.transferLimit = 0;
    EXPECT_EQ("Memory ALLOCATION error", thrown([&] { starved.copyFile("source", 6, 0, 8); }));
    EXPECT_EQ((std::vector<unsigned int>{6, 3, 1}), starved.writes);
    EXPECT_EQ("", starved.bytes);
    EXPECT_EQ(nullptr, MemoryStream::lastSource);  // every source was released
}
