#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "quen/errors/DebugStream.h"
#include "quen/errors/QuenAssert.h"
#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/errors/WindowsMessage.h"
#include "support/Texts.h"

using quen::QuenException;
using quen::StdString;

TEST(Errors, Banners) {
    const std::pair<std::string, std::string> rows[] = {
        {"QuenException 1.0, 16.08.1999", QuenException::version()},
        {"WindowsSystemMessage 1.0, 23.09.1999", quen::WindowsSystemMessage::version()},
        {"WindowsMessage 1.0, 21.09.1999", quen::WindowsMessage::version()},
        {"QuenAssert 1.0, 23.09.1999", quen::QuenAssert::version()},
        {"DebugStream 1.0, 23.09.1999", quen::DebugStream::version()},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.first, row.second);
    }
}

TEST(QuenException, CarriesItsTextFromEveryKindOfStringThroughCopies) {
    EXPECT_STREQ("plain", QuenException("plain").what());
    EXPECT_STREQ("standard", QuenException(std::string("standard")).what());
    EXPECT_STREQ("ours", QuenException(StdString("ours")).what());
    const char* const none = nullptr;
    for (const QuenException& error :
         {QuenException(std::string()), QuenException(""), QuenException(none), QuenException(StdString())}) {
        ASSERT_NE(nullptr, error.what());
        EXPECT_STREQ("", error.what());
    }
    const QuenException original("File READ error");
    try {
        throw QuenException(original);
    } catch (const std::exception& error) {
        EXPECT_STREQ("File READ error", error.what());
    }
    QuenException assigned("other");
    assigned = original;
    const QuenException& alias = assigned;
    assigned = alias;
    EXPECT_STREQ("File READ error", assigned.what());
}

TEST(NotYet, ThrowsTheTableTextFollowedByTheName) {
    EXPECT_EQ("Not yet implemented: setEOF", support::thrown([] { quen::notYet("setEOF"); }));
    EXPECT_EQ("Not yet implemented: ", support::thrown([] { quen::notYet(""); }));
}

TEST(Diagnostics, AssertionsAndTraceAreInert) {
    EXPECT_NO_THROW({
        quen::QuenAssert(false) << "nineteen characters" << StdString("and more");
        quen::QuenAssert(false) << "a literal of exactly forty-four characters..";
        quen::QuenAssert copy(true);
        copy = quen::QuenAssert(false);
        quen::DebugStream::fileName("trace.log", true);
        quen::DebugStream::on();
        quen::DebugStream::off();
        const quen::DebugStream stream;
        const quen::DebugStream toFile("trace.log", 3, false);
    });
    EXPECT_EQ(0ul, quen::DebugStream::debugLevel(5));
    EXPECT_EQ(0ul, quen::DebugStream::debugLevel());
}
