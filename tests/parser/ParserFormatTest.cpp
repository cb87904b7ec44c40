// The sectioned text format: sections, quoted lines and name=value field
// values, and the errors of each node kind.
#include <gtest/gtest.h>

#include <string>

#include "ParserText.h"

TEST(ParserFormat, BannersOfTheNodeKinds) {
    EXPECT_STREQ("ParserSection 1.0, 31.01.2000", ParserSection::version());
    EXPECT_STREQ("ParserLine 1.0, 31.01.2000", ParserLine::version());
    EXPECT_STREQ("ParserFieldValue 1.0, 31.01.2000", ParserFieldValue::version());
}

TEST(ParserFormat, TextsAndTheTreesTheyGive) {
    // Each text with its whole tree.
    const std::pair<std::string, std::string> rows[] = {
        // A small settings file: sections keep their lines' text, lines their quotes.
        {"[General]\r\nName = \"Disk=A, Size=1440\"\r\nLabel=\"Id=7\"\r\n[Empty]\r\n",
         "|<[General]|Name = \"Disk=A, Size=1440\"\r\nLabel=\"Id=7\""
         "<Name|\"Disk=A, Size=1440\"<Disk|A><Size|1440>><Label|\"Id=7\"<Id|7>>><[Empty]|>"},
        // Sections without lines: adjacent headers, a text ending in ']' or
        // in ']' and one more character.
        {"[a][b]", "|<[a]|><[b]|>"},
        {"[a]\r\nk=\"v\"\r\n[last]", "|<[a]|k=\"v\"<k|\"v\"<|>>><[last]|>"},
        {"[a]\r\nk=\"v\"\r\n[last]\n", "|<[a]|k=\"v\"<k|\"v\"<|>>><[last]|>"},
        // Text after the last quote pair of a section is ignored.
        {"[a]\r\nk=\"v\"\r\nno quotes here\r\n", "|<[a]|k=\"v\"\r\nno quotes here<k|\"v\"<|>>>"},
        // Headers run to the first ']'; after one, every '[' starts a section.
        {"junk[a]", "|<[a]|>"},
        {"[a[b]", "|<[a[b]|>"},
        {"[x\r\ny]\r\n[ z ]\r\n", "|<[x\r\ny]|><[ z ]|>"},
        {"[a]\r\n[b]  [c]", "|<[a]|><[b]|><[c]|>"},
        // The character right after ']' is in no line: here the title's 'k'.
        {"[a]k=\"v\"", "|<[a]|=\"v<|\"v\"<|>>>"},
        // Lines follow the quotes, not the line breaks.
        {"[a]\na=\"1\" b=\"x=2,\r\ny=3\"c=\"\"\n",
         "|<[a]|a=\"1\" b=\"x=2,\r\ny=3\"c=\"\"<a|\"1\"<|>><b|\"x=2,\r\ny=3\"<x|2><y|3>><c|\"\">>"},
        // No comments: a remark between lines is part of the next title.
        {"[a]\r\nk=\"1\"\r\n; remark\r\nl=\"2\"\r\n",
         "|<[a]|k=\"1\"\r\n; remark\r\nl=\"2\"<k|\"1\"<|>><; remark\r\nl|\"2\"<|>>>"},
        // A line without '=' has nothing; a piece without '=' is empty.
        {"[a]\r\nk \"v\"\r\n", "|<[a]|k \"v\"<|>>"},
        {"[Drives]\r\nDrive=\"Floppy\"\r\nList=\"x,a=1\"\r\n",
         "|<[Drives]|Drive=\"Floppy\"\r\nList=\"x,a=1\"<Drive|\"Floppy\"<|>><List|\"x,a=1\"<|><a|1>>>"},
        // A ',' right after a ',' starts the next piece.
        {"[a]\r\nk=\"a=1,,b=2\"\r\n", "|<[a]|k=\"a=1,,b=2\"<k|\"a=1,,b=2\"<a|1><,b|2>>>"},
        // Pieces with an empty name, an empty value, a second '=' and blanks.
        {"[a]\r\nk=\"=1, n= , x=y=z ,\t m = 2 \"\r\n",
         "|<[a]|k=\"=1, n= , x=y=z ,\t m = 2 \"<k|\"=1, n= , x=y=z ,\t m = 2 \"<|1><n|><x|y=z><m|2>>>"},
        // An empty quoted text, or one ending in ',', leaves no empty last
        // piece; ',' alone is one piece, as its first character is no delimiter.
        {"[a]\r\ne=\"\"\r\nc=\"a=1,\"\r\nd=\",\"\r\nf=\"a,,\"",
         "|<[a]|e=\"\"\r\nc=\"a=1,\"\r\nd=\",\"\r\nf=\"a,,<e|\"\"><c|\"a=1,\"<a|1>><d|\",\"<|>><f|\"a,,\"<|><|>>>"},
        // Blanks and line breaks may stand before the quote.
        {"[a]\r\nk =\r\n\t \"v=1\"\r\n", "|<[a]|k =\r\n\t \"v=1\"<k|\"v=1\"<v|1>>>"},
        // Trimming takes blanks, tabs and line breaks only.
        {"[s]- \tkey \r\n= \t\"v\" \r\n[t]-    =\"=\v x\f \"",
         "|<[s]|key \r\n= \t\"v\"<key|\"v\"<|>>><[t]|=\"=\v x\f<|\"=\v x\f \"<|\v x\f>>>"},
    };
    for (const auto& row : rows) {
        Text text(row.first);
        const std::vector<char> before = text;
        {
            // Reading a node's title and value leaves every byte as it was.
            const auto root = parse(text);
            EXPECT_EQ(row.second, tree(*root, [&] { EXPECT_EQ(before, text) << row.first; })) << row.first;
        }
        EXPECT_EQ(before, text) << row.first;
    }
}

namespace {

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

}  // namespace

TEST(ParserFormat, EveryErrorTextWithItsCase) {
    const std::pair<std::string, std::string> rows[] = {
        // No quote after the line's first '=' and its blanks.
        {"[a]\r\nk = v\r\nm=\"x\"\r\n", "Error: Invalid line"},
        // The first '=' is inside the quotes, and '1' follows it.
        {"[a]\r\nk \"a=1\"\r\n", "Error: Invalid line"},
        // A quote left open before the end of the text or the next '['.
        {"[a]\r\nk=\"v\r\n", "Error: Invalid Line"},
        {"[a]\r\nk=\"v\r\n[b]\r\nl=\"w\"\r\n", "Error: Invalid Line"},
        // A '[' inside a quoted text ends the section and leaves the quote open.
        {"[a]\r\nk=\"see [b]\"\r\n", "Error: Invalid Line"},
        // A header without ']', also after complete sections.
        {"[a", "Error: Invalid section "},
        {"[", "Error: Invalid section "},
        {"[a]\r\nk=\"v\"\r\n[b\r\n", "Error: Invalid section "},
        // No error for a line without '=', text before the first section or
        // text without quotes after the last line.
        {"intro\r\n[a]\r\nk \"v\"\r\nend\r\n", "no error"},
        // Among many lines or sections, the first error in text order wins:
        // a bad line before a quote left open, a bad line before a header
        // left open.
        {"[a]\r\n" + repeated("k=\"v=1\"\r\n", 70) + "m = v \"w\"\r\nn=\"x\r\n", "Error: Invalid line"},
        {repeated("[s]\r\nk=\"v=1\"\r\n", 70) + "[t]\r\nm = v \"w\"\r\n[u", "Error: Invalid line"},
        {repeated("[s]\r\nk=\"v=1\"\r\n", 70) + "[t]\r\nn=\"x\r\n", "Error: Invalid Line"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.second, errorOf([&] { Text text(row.first); parse(text); })) << row.first;
    }
}

TEST(ParserFormat, NodesBuiltByHand) {
    // A section whose span does not start with '[' looks for one, and for
    // the ']' after it.
    std::string text = "  [h] k=\"v\" ";
    ParserSection search(&text[0], &text[text.size() - 1], new ParserLine(nullptr, nullptr, nullptr));
    search.initialise();
    EXPECT_EQ("[h]|k=\"v\"<k|\"v\"<|>>", tree(search));

    for (std::string bad : {"k=\"v\""s, "x[k=\"v\""s}) {
        ParserSection section(&bad[0], &bad[bad.size() - 1], nullptr);
        EXPECT_EQ("Error: Invalid section ", errorOf([&] { section.initialise(); })) << bad;
    }

    // A field value of one position is valid only when it is the '='.
    std::string single = "x=";
    ParserFieldValue letter(&single[0], &single[0], nullptr);
    EXPECT_EQ("Error: Invalid line", errorOf([&] { letter.initialise(); }));
    ParserFieldValue equals(&single[1], &single[1], nullptr);
    EXPECT_EQ("no error", errorOf([&] { equals.initialise(); }));
    EXPECT_EQ("|", tree(equals));

    // A line that does not end at its closing quote still stops at its end:
    // the trailing text makes no field value.
    std::string line = "k=\"a=1,b\" and more, text";
    ParserLine free(&line[0], &line[line.size()], new ParserFieldValue(nullptr, nullptr, nullptr));
    free.initialise();
    EXPECT_EQ("k|\"a=1,b\" and more, text<a|1><|>", tree(free));

    // Nodes over null positions, as prototypes are, have nothing to find.
    ParserLine prototype(nullptr, nullptr, nullptr);
    EXPECT_EQ("no error", errorOf([&] { prototype.initialise(); }));
    EXPECT_EQ("|", tree(prototype));
}
