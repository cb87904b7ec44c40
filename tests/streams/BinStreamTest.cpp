// The stream interface's own parts, on a stream in memory: the 4-byte
// integers, the error check, the serialised strings, shiftBlock and copyFile.
#include <gtest/gtest.h>

#include <string>

#include "MemoryStream.h"
#include "support/Texts.h"

using quen::StdString;
using support::thrown;
using test::MemoryStream;
typedef std::vector<unsigned int> Counts;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (int value : values) result += static_cast<char>(value);
    return result;
}

}  // namespace

TEST(BinStream, IntegersAreFourBytesLeastSignificantFirst) {
    MemoryStream stream;
    stream << 1u;
    stream.write(0x12345678u);
    stream << -2L;
    stream.write(0x7FFFFFFFL);
    EXPECT_EQ(bytes({1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
              stream.bytes);
    long one = 0, minusTwo = 0, largest = 0;
    unsigned int pattern = 0, unsignedView = 0;
    stream >> one;
    stream.read(pattern);
    stream >> minusTwo;  // with its sign, also in a 64-bit long
    stream.read(largest);
    EXPECT_TRUE(one == 1 && pattern == 0x12345678u && minusTwo == -2 && largest == 0x7FFFFFFF);
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

TEST(StdStringSerialisation, RecordsAreACountWithTheZeroThenTheCharacters) {
    StdString withZero("ab");
    withZero += '\0';
    withZero += 'c';
    const StdString abc("abc"), empty, longer(std::string(299, 'x').c_str());  // a count above one byte
    // What reads back goes up to the first zero byte.
    const struct { const StdString& value; std::string record; std::size_t readBack; } rows[] = {
        {abc, bytes({4, 0, 0, 0, 'a', 'b', 'c', 0}), 3}, {empty, bytes({1, 0, 0, 0, 0}), 0},
        {withZero, bytes({5, 0, 0, 0, 'a', 'b', 0, 'c', 0}), 2},
        {longer, bytes({0x2C, 1, 0, 0}) + std::string(299, 'x') + std::string(1, '\0'), 299}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        MemoryStream stream;
        const unsigned int size = static_cast<unsigned int>(row.record.size());
        EXPECT_EQ(size, row.value.objectSize());
        row.value.output(stream);
        EXPECT_EQ(row.record, stream.bytes);
        EXPECT_EQ((Counts{4, size - 4}), stream.writes);  // the count, then the characters
        StdString back("old");
        back.input(stream);
        EXPECT_EQ(std::string(row.value.c_str(), row.readBack), support::plain(back));
        EXPECT_EQ(size, stream.tellg());
    }
    // A count of 0 reads only the count; a record without a zero gives all of its bytes, no more.
    const std::pair<std::string, std::string> reads[] = {{bytes({0, 0, 0, 0, 'x'}), ""},
                                                         {bytes({3, 0, 0, 0, 'x', 'y', 'z', 'q', 'r'}), "xyz"}};
    for (const auto& row : reads) {
        MemoryStream stream(row.first);
        StdString value("keep");
        value.input(stream);
        EXPECT_EQ(row.second, support::plain(value));
        EXPECT_EQ(static_cast<long long>(row.second.size()) + 4, stream.tellg());
    }
}

TEST(StdStringSerialisation, BadCountsAndStreamFailuresLeaveTheValue) {
    // FF FF FF FF asks for 4 GiB: refused before any buffer is obtained, so
    // the stream sees no read of the claimed size at all.
    MemoryStream hostile(bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}));
    StdString value("unchanged");
    EXPECT_EQ("File READ error", thrown([&] { value.input(hostile); }));
    EXPECT_EQ((Counts{4}), hostile.reads);
    MemoryStream shortRecord(bytes({4, 0, 0, 0, 'a', 'b', 'c'}));  // one byte short
    EXPECT_EQ("File READ error", thrown([&] { value.input(shortRecord); }));
    MemoryStream quiet(bytes({4, 0}));
    quiet.quiet = true;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { value.input(quiet); }));
    EXPECT_EQ("unchanged", support::plain(value));

    MemoryStream refusing;
    refusing.quiet = true;
    refusing.put = -1;
    EXPECT_EQ("File WRITE READ-ONLY error", thrown([&] { value.output(refusing); }));
    EXPECT_EQ(1u, refusing.writes.size());  // nothing after the failed count
}

TEST(ShiftBlock, MovesBlocksDownInOrderAndOnlyPositionsWhenNothingMoves) {
    MemoryStream stream("ABCDEFGHIJKLMN");
    stream.shiftBlock(4, 2, 10, 3);
    EXPECT_EQ("ABEFGHIJKLMNMN", stream.bytes);  // 12 and 13 keep the old block's last two bytes
    EXPECT_EQ(12, stream.tellp());
    EXPECT_EQ((Counts{3, 3, 3, 1}), stream.writes);

    MemoryStream still("0123456789");
    still.shiftBlock(3, 3, 5, 4);
    EXPECT_EQ(3, still.tellp());
    still.shiftBlock(2, 7, 0, 4);  // length 0: even upwards only the put position moves
    EXPECT_EQ(7, still.tellp());
    EXPECT_EQ("0123456789", still.bytes);
    EXPECT_TRUE(still.reads.empty());
}

TEST(ShiftBlock, RefusedRequestsAndQuietStreamFailures) {
    const struct { long long from, to, length; unsigned int buffer; bool quiet, refuseWrites; const char* message; }
    rows[] = {
        {2, 3, 4, 4, false, false, "Cannot shift to higher offsets"},
        {4, 2, 3, 0, false, false, "File INVALID OPERATION error"},
        {4, 2, -1, 4, false, false, "File INVALID OPERATION error"},
        {5, -1, 2, 4, true, false, "File SEEK error"},
        {-2, -2, 2, 4, true, false, "File SEEK error"},
        {8, 0, 5, 4, true, false, "File READ error"},
        {-1, -3, 2, 4, true, false, "File SEEK error"},
        {4, 0, 2, 4, true, true, "File WRITE error"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.from) + "->" + std::to_string(row.to));
        MemoryStream stream("0123456789");
        stream.quiet = row.quiet;
        stream.refuseWrites = row.refuseWrites;
        EXPECT_EQ(row.message, thrown([&] { stream.shiftBlock(row.from, row.to, row.length, row.buffer); }));
        EXPECT_EQ("0123456789", stream.bytes);
        EXPECT_TRUE(row.quiet || stream.tellp() == 0);
    }
}

TEST(ShiftBlock, HalvesTheBufferWhenMemoryIsShortAndKeepsItsPlace) {
    MemoryStream stream("ABCDEFGHIJKLMNOPQRST");
    stream.badWrite = 2;  // the second chunk cannot be had
    stream.shiftBlock(8, 0, 12, 4);
    EXPECT_EQ("IJKLMNOPQRSTMNOPQRST", stream.bytes);
    EXPECT_EQ((Counts{4, 4, 2, 2, 2, 2}), stream.writes);

    // The last chunk is shorter than the buffer, and a halving starts from it.
    MemoryStream tail("0123456789AB");
    tail.badWrite = 3;
    tail.shiftBlock(2, 0, 10, 4);
    EXPECT_EQ("23456789ABAB", tail.bytes);
    EXPECT_EQ((Counts{4, 4, 2, 1, 1}), tail.writes);

    MemoryStream none("0123456789");
    none.transferLimit = 0;
    EXPECT_EQ("Memory ALLOCATION error", thrown([&] { none.shiftBlock(4, 0, 6, 8); }));
    EXPECT_EQ((Counts{6, 3, 1}), none.reads);  // 6 -> 3 -> 1 -> 0
}

TEST(CopyFile, AppendsARangeOfTheNamedFileAndReturnsTheLength) {
    MemoryStream::Files files{{"source", "0123456789"}};
    MemoryStream target("ab", &files);
    target.put = 2;
    EXPECT_EQ(5u, target.copyFile("source", 5, 3, 2));
    EXPECT_EQ("ab34567", target.bytes);
    EXPECT_EQ((Counts{2, 2, 1}), target.writes);
    EXPECT_EQ((std::vector<std::string>{"source"}), target.opened);

    // The length is returned as asked, not what the source gave: a source
    // that fails without throwing is not looked at again.
    MemoryStream quietSource(std::string(), &files);
    quietSource.sourceQuiet = true;
    EXPECT_EQ(12u, quietSource.copyFile("source", 12, 0, 5));
    EXPECT_EQ((Counts{5, 5, 2}), quietSource.writes);
    EXPECT_EQ(12u, quietSource.bytes.size());
    EXPECT_EQ("0123456789", quietSource.bytes.substr(0, 10));

    // Failures of the source and of the request pass to the caller; what was copied stays.
    MemoryStream failing(std::string(), &files);
    EXPECT_EQ("memory READ", thrown([&] { failing.copyFile("source", 12, 0, 8); }));
    EXPECT_EQ("01234567", failing.bytes);
    EXPECT_EQ("no such memory file", thrown([&] { failing.copyFile("missing", 1, 0, 4); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { failing.copyFile("source", 1, 0, 0); }));
    EXPECT_EQ("File INVALID OPERATION error", thrown([&] { failing.copyFile("source", 0); }));
}

TEST(CopyFile, AllocationFailuresHalveTheBufferWhereTheCopyStood) {
    // Copying again from the start would append the first chunk twice.
    MemoryStream::Files files{{"source", "abcdefghijklmnopqrstuvwxyz0123456789"}, {"digits", "0123456789"}};
    MemoryStream target(std::string(), &files);
    target.badWrite = 2;
    EXPECT_EQ(30u, target.copyFile("source", 30, 2, 16));
    EXPECT_EQ("cdefghijklmnopqrstuvwxyz012345", target.bytes);
    EXPECT_EQ((Counts{16, 14, 7, 7}), target.writes);  // the failed chunk of 14 is halved
    EXPECT_EQ(2u, target.opened.size());  // the source is opened again with the smaller buffer

    MemoryStream starved(std::string(), &files);
    starved.transferLimit = 0;
    EXPECT_EQ("Memory ALLOCATION error", thrown([&] { starved.copyFile("digits", 6, 0, 8); }));
    EXPECT_EQ((Counts{6, 3, 1}), starved.writes);
    EXPECT_EQ("", starved.bytes);
    EXPECT_EQ(nullptr, MemoryStream::lastSource);  // every source was released
}
