// The sectioned text format: sections, quoted lines and name=value field
// values, and the errors of each node kind.
#include <gtest/gtest.h>

#include <string>

#include "ParserText.h"
#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"

using namespace std::string_literals;
using parsertest::nth;
using parsertest::parse;
using parsertest::parseError;
using parsertest::Text;
using quen::Parser;
using quen::ParserFieldValue;
using quen::ParserLine;
using quen::ParserSection;
using quen::QuenException;

namespace {

// title() and value() of a node, as one string for compact expectations.
std::string shown(const Parser& node) {
    return std::string(node.title().c_str()) + " | " + node.value().c_str();
}

std::string errorOf(Parser& node) {
    try {
        node.initialise();
    } catch (const QuenException& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(ParserFormat, BannersOfTheNodeKinds) {
    EXPECT_STREQ("ParserSection 1.0, 31.01.2000", ParserSection::version());
    EXPECT_STREQ("ParserLine 1.0, 31.01.2000", ParserLine::version());
    EXPECT_STREQ("ParserFieldValue 1.0, 31.01.2000", ParserFieldValue::version());
}

TEST(ParserFormat, ASmallFileAsAWholeTree) {
    const std::string content = "[General]\r\nName = \"Disk=A, Size=1440\"\r\nLabel=\"Id=7\"\r\n[Empty]\r\n";
    Text text(content);
    const auto root = parse(text);
    EXPECT_EQ(" | ", shown(*root));
    ASSERT_EQ(2ul, root->size());

    const Parser& general = nth(*root, 0);
    EXPECT_EQ("[General] | Name = \"Disk=A, Size=1440\"\r\nLabel=\"Id=7\"", shown(general));
    ASSERT_EQ(2ul, general.size());

    const Parser& name = nth(general, 0);
    EXPECT_EQ("Name | \"Disk=A, Size=1440\"", shown(name));
    ASSERT_EQ(2ul, name.size());
    EXPECT_EQ("Disk | A", shown(nth(name, 0)));
    EXPECT_EQ("Size | 1440", shown(nth(name, 1)));
    EXPECT_EQ(0ul, nth(name, 1).size());

    const Parser& label = nth(general, 1);
    EXPECT_EQ("Label | \"Id=7\"", shown(label));
    ASSERT_EQ(1ul, label.size());
    EXPECT_EQ("Id | 7", shown(nth(label, 0)));

    const Parser& empty = nth(*root, 1);
    EXPECT_EQ("[Empty] | ", shown(empty));
    EXPECT_EQ(0ul, empty.size());
    EXPECT_EQ(content, std::string(text.data(), text.length()));
}

TEST(ParserFormat, SectionsWithoutLines) {
    Text adjacent("[a][b]");
    const auto two = parse(adjacent);
    ASSERT_EQ(2ul, two->size());
    EXPECT_EQ("[a] | ", shown(nth(*two, 0)));
    EXPECT_EQ(0ul, nth(*two, 0).size());
    EXPECT_EQ("[b] | ", shown(nth(*two, 1)));

    // A text ending in ']', or in ']' and one more character.
    for (const std::string& content : {"[a]\r\nk=\"v\"\r\n[last]"s, "[a]\r\nk=\"v\"\r\n[last]\n"s}) {
        Text text(content);
        const auto root = parse(text);
        ASSERT_EQ(2ul, root->size());
        EXPECT_EQ("[last] | ", shown(nth(*root, 1)));
        EXPECT_EQ(0ul, nth(*root, 1).size());
    }

    // Text after the last quote pair of a section is ignored.
    Text trailing("[a]\r\nk=\"v\"\r\nno quotes here\r\n");
    const auto root = parse(trailing);
    EXPECT_EQ(1ul, nth(*root, 0).size());
    EXPECT_EQ("[a] | k=\"v\"\r\nno quotes here", shown(nth(*root, 0)));
}

TEST(ParserFormat, LinesFollowTheQuotesNotTheLineBreaks) {
    // The character right after ']' is in no line: here the title's 'k'.
    Text glued("[a]k=\"v\"");
    const auto root = parse(glued);
    EXPECT_EQ(" | \"v\"", shown(nth(nth(*root, 0), 0)));

    // Several lines on one physical line, and one line over several.
    Text packed("[a]\na=\"1\" b=\"x=2,\r\ny=3\"c=\"\"\n");
    const auto section = parse(packed);
    const Parser& lines = nth(*section, 0);
    ASSERT_EQ(3ul, lines.size());
    EXPECT_EQ("a | \"1\"", shown(nth(lines, 0)));
    EXPECT_EQ("b | \"x=2,\r\ny=3\"", shown(nth(lines, 1)));
    ASSERT_EQ(2ul, nth(lines, 1).size());
    EXPECT_EQ("y | 3", shown(nth(nth(lines, 1), 1)));
    EXPECT_EQ("c | \"\"", shown(nth(lines, 2)));

    // No comments: a remark between lines is part of the next title.
    Text remark("[a]\r\nk=\"1\"\r\n; remark\r\nl=\"2\"\r\n");
    const auto commented = parse(remark);
    EXPECT_EQ("; remark\r\nl | \"2\"", shown(nth(nth(*commented, 0), 1)));
}

TEST(ParserFormat, LinesAndPiecesWithoutEquals) {
    // A line without '=' has no title, no value and no field values.
    Text bare("[a]\r\nk \"v\"\r\n");
    const auto root = parse(bare);
    const Parser& line = nth(nth(*root, 0), 0);
    EXPECT_EQ(" | ", shown(line));
    EXPECT_EQ(0ul, line.size());

    // A piece without '=' is a field value with empty title and value.
    Text plain("[Drives]\r\nDrive=\"Floppy\"\r\nList=\"x,a=1\"\r\n");
    const auto drives = parse(plain);
    const Parser& drive = nth(nth(*drives, 0), 0);
    EXPECT_EQ("Drive | \"Floppy\"", shown(drive));
    ASSERT_EQ(1ul, drive.size());
    EXPECT_EQ(" | ", shown(nth(drive, 0)));
    const Parser& list = nth(nth(*drives, 0), 1);
    ASSERT_EQ(2ul, list.size());
    EXPECT_EQ(" | ", shown(nth(list, 0)));
    EXPECT_EQ("a | 1", shown(nth(list, 1)));
}

TEST(ParserFormat, PiecesOfTheQuotedText) {
    // A ',' right after a ',' starts the next piece.
    Text doubled("[a]\r\nk=\"a=1,,b=2\"\r\n");
    const auto root = parse(doubled);
    const Parser& line = nth(nth(*root, 0), 0);
    ASSERT_EQ(2ul, line.size());
    EXPECT_EQ("a | 1", shown(nth(line, 0)));
    EXPECT_EQ(",b | 2", shown(nth(line, 1)));

    // Pieces with an empty name, an empty value, a second '=' and blanks.
    Text odd("[a]\r\nk=\"=1, n= , x=y=z ,\t m = 2 \"\r\n");
    const auto pieces = parse(odd);
    const Parser& values = nth(nth(*pieces, 0), 0);
    ASSERT_EQ(4ul, values.size());
    EXPECT_EQ(" | 1", shown(nth(values, 0)));
    EXPECT_EQ("n | ", shown(nth(values, 1)));
    EXPECT_EQ("x | y=z", shown(nth(values, 2)));
    EXPECT_EQ("m | 2", shown(nth(values, 3)));

    // An empty quoted text, or one ending in ',', leaves no empty last piece.
    Text ends("[a]\r\ne=\"\"\r\nc=\"a=1,\"\r\nd=\",\"\r\nf=\"a,,\"");
    const auto trailing = parse(ends);
    const Parser& section = nth(*trailing, 0);
    ASSERT_EQ(4ul, section.size());
    EXPECT_EQ(0ul, nth(section, 0).size());
    ASSERT_EQ(1ul, nth(section, 1).size());
    EXPECT_EQ("a | 1", shown(nth(nth(section, 1), 0)));
    ASSERT_EQ(1ul, nth(section, 2).size());  // ',' alone: its first character is no delimiter
    EXPECT_EQ(" | ", shown(nth(nth(section, 2), 0)));
    ASSERT_EQ(2ul, nth(section, 3).size());  // "a" and ","
}

TEST(ParserFormat, BlanksAndLineBreaksMayStandBeforeTheQuote) {
    Text text("[a]\r\nk =\r\n\t \"v=1\"\r\n");
    const auto root = parse(text);
    const Parser& line = nth(nth(*root, 0), 0);
    EXPECT_EQ("k | \"v=1\"", shown(line));
    ASSERT_EQ(1ul, line.size());
    EXPECT_EQ("v | 1", shown(nth(line, 0)));
}

TEST(ParserFormat, EveryErrorTextWithItsCase) {
    // No quote after the line's first '=' and its blanks.
    EXPECT_EQ("Error: Invalid line", parseError("[a]\r\nk = v\r\nm=\"x\"\r\n"));
    // The first '=' is inside the quotes, and '1' follows it.
    EXPECT_EQ("Error: Invalid line", parseError("[a]\r\nk \"a=1\"\r\n"));
    // A quote left open before the end of the text or the next '['.
    EXPECT_EQ("Error: Invalid Line", parseError("[a]\r\nk=\"v\r\n"));
    EXPECT_EQ("Error: Invalid Line", parseError("[a]\r\nk=\"v\r\n[b]\r\nl=\"w\"\r\n"));
    // A '[' inside a quoted text ends the section and leaves the quote open.
    EXPECT_EQ("Error: Invalid Line", parseError("[a]\r\nk=\"see [b]\"\r\n"));
    // A header without ']', also after complete sections.
    EXPECT_EQ("Error: Invalid section ", parseError("[a]\r\nk=\"v\"\r\n[b\r\n"));
    // No error for a line without '=', text before the first section or
    // text without quotes after the last line.
    EXPECT_EQ("no error", parseError("intro\r\n[a]\r\nk \"v\"\r\nend\r\n"));
}

TEST(ParserFormat, NodesBuiltByHand) {
    // A section whose span does not start with '[' looks for one, and for
    // the ']' after it.
    std::string text = "  [h] k=\"v\" ";
    ParserSection search(&text[0], &text[text.size() - 1], new ParserLine(nullptr, nullptr, nullptr));
    search.initialise();
    EXPECT_EQ("[h] | k=\"v\"", shown(search));
    EXPECT_EQ(1ul, search.size());

    std::string noHeader = "k=\"v\"";
    ParserSection headless(&noHeader[0], &noHeader[noHeader.size() - 1], nullptr);
    EXPECT_EQ("Error: Invalid section ", errorOf(headless));
    std::string unclosed = "x[k=\"v\"";
    ParserSection open(&unclosed[0], &unclosed[unclosed.size() - 1], nullptr);
    EXPECT_EQ("Error: Invalid section ", errorOf(open));

    // A field value of one position is valid only when it is the '='.
    std::string single = "x=";
    ParserFieldValue letter(&single[0], &single[0], nullptr);
    EXPECT_EQ("Error: Invalid line", errorOf(letter));
    ParserFieldValue equals(&single[1], &single[1], nullptr);
    EXPECT_EQ("no error", errorOf(equals));
    EXPECT_EQ(" | ", shown(equals));

    // A line that does not end at its closing quote still stops at its end:
    // the trailing text makes no field value.
    std::string line = "k=\"a=1,b\" and more, text";
    ParserLine free(&line[0], &line[line.size()], new ParserFieldValue(nullptr, nullptr, nullptr));
    free.initialise();
    ASSERT_EQ(2ul, free.size());
    EXPECT_EQ("a | 1", shown(nth(free, 0)));
    EXPECT_EQ(" | ", shown(nth(free, 1)));

    // Nodes over null positions, as prototypes are, have nothing to find.
    ParserLine prototype(nullptr, nullptr, nullptr);
    EXPECT_EQ("no error", errorOf(prototype));
    EXPECT_EQ(0ul, prototype.size());
    EXPECT_EQ(" | ", shown(prototype));
}
