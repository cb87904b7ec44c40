#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quen/errors/QuenException.h"
#include "quen/parser/ParserBuf.h"
#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"
#include "quen/parser/ParserSection.h"
#include "support/Texts.h"

using namespace std::string_literals;
using quen::Parser;
using quen::ParserBuf;
using quen::ParserFieldValue;
using quen::ParserLine;
using quen::ParserSection;
using support::thrown;

namespace {

// Every byte of the text and the NUL behind it, as the parser needs it.
struct Text : std::vector<char> {
    explicit Text(const std::string& text) : std::vector<char>(text.begin(), text.end()) { push_back('\0'); }
};

std::unique_ptr<ParserBuf> parse(Text& text, Parser* prototype = new ParserSection(nullptr, nullptr, nullptr)) {
    return std::make_unique<ParserBuf>(text.data(), static_cast<unsigned long>(text.size() - 1), prototype);
}

// A node and everything below it as "title|value" followed by each child in <>, with exact case and length.
std::string tree(const Parser& node) {
    std::string result = support::plain(node.title()) + "|" + support::plain(node.value());
    for (const Parser* child : node) result += "<" + tree(*child) + ">";
    return result;
}

std::string repeated(const std::string& text, int times) {
    return times > 0 ? text + repeated(text, times - 1) : "";
}

// Nodes that count how many are alive, each bringing a counted prototype of the kind below, as the library's do.
int liveNodes = 0;

struct NoPrototype { static Parser* make() { return nullptr; } };
template <class Base, class ChildPrototype>
class Counted : public Base {
public:
    Counted(char* begin, char* end) : Base(begin, end, ChildPrototype::make()) { ++liveNodes; }
    ~Counted() override { --liveNodes; }
    static Parser* make() { return new Counted(nullptr, nullptr); }

protected:
    Parser* duplicate(char* begin, char* end) override { return new Counted(begin, end); }
};

using CountedSection = Counted<ParserSection, Counted<ParserLine, Counted<ParserFieldValue, NoPrototype>>>;

// Callers' node classes too large for the tree's arena or aligned beyond the heap's default come from the heap.
template <std::size_t Alignment, std::size_t Padding>
class alignas(Alignment) OddSection : public CountedSection {
public:
    OddSection(char* begin, char* end) : CountedSection(begin, end) { padding[0] = 1; }
    char padding[Padding];

protected:
    Parser* duplicate(char* begin, char* end) override {
        Parser* const node = new OddSection(begin, end);
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(node) % Alignment);
        return node;
    }
};

}  // namespace

TEST(ParserFormat, TextsGiveTheirTreesOrTheirErrors) {
    const std::pair<std::string, std::string> rows[] = {
        // Without a section the root is empty; text before the first is ignored; a header runs to the first ']'.
        {"", "|"}, {"k=\"v\"\r\n]", "|"}, {"intro[a]", "|<[a]|>"}, {"[a[b]", "|<[a[b]|>"},
        // Sections without lines: adjacent headers, a text ending in ']' or in ']' and one more character.
        {"[a][b]", "|<[a]|><[b]|>"}, {"[x\r\ny]\r\n[ z ]\r\n", "|<[x\r\ny]|><[ z ]|>"},
        {"[a]\r\nk=\"v\"\r\n[last]", "|<[a]|k=\"v\"<k|\"v\"<|>>><[last]|>"},
        {"[a]\r\nk=\"v\"\r\n[last]\n", "|<[a]|k=\"v\"<k|\"v\"<|>>><[last]|>"},
        // Text after the last quote pair of a section is ignored.
        {"[a]\r\nk=\"v\"\r\nno quotes here\r\n", "|<[a]|k=\"v\"\r\nno quotes here<k|\"v\"<|>>>"},
        // The character right after ']' is in no line: here the title's 'k'.
        {"[a]k=\"v\"", "|<[a]|=\"v<|\"v\"<|>>>"},
        // Lines follow the quotes, not the line breaks.
        {"[a]\na=\"1\" b=\"x=2,\r\ny=3\"c=\"\"\n",
         "|<[a]|a=\"1\" b=\"x=2,\r\ny=3\"c=\"\"<a|\"1\"<|>><b|\"x=2,\r\ny=3\"<x|2><y|3>><c|\"\">>"},
        // No comments: a remark between lines is part of the next title.
        {"[a]\r\nk=\"1\"\r\n; remark\r\nl=\"2\"\r\n",
         "|<[a]|k=\"1\"\r\n; remark\r\nl=\"2\"<k|\"1\"<|>><; remark\r\nl|\"2\"<|>>>"},
        // A line without '=' has nothing (nor is it an error); a piece without '=' is empty; a ',' right
        // after a ',' starts the next piece.
        {"[a]\r\nk \"v\"\r\n", "|<[a]|k \"v\"<|>>"}, {"[a]\r\nk=\"x,a=1\"\r\n", "|<[a]|k=\"x,a=1\"<k|\"x,a=1\"<|><a|1>>>"},
        {"[a]\r\nk=\"a=1,,b=2\"\r\n", "|<[a]|k=\"a=1,,b=2\"<k|\"a=1,,b=2\"<a|1><,b|2>>>"},
        // Pieces with an empty name, an empty value, a second '=' and blanks.
        {"[a]\r\nk=\"=1, n= , x=y=z ,\t m = 2 \"\r\n",
         "|<[a]|k=\"=1, n= , x=y=z ,\t m = 2 \"<k|\"=1, n= , x=y=z ,\t m = 2 \"<|1><n|><x|y=z><m|2>>>"},
        // An empty quoted text, or one ending in ',', leaves no empty last
        // piece; ',' alone is one piece, as its first character is no delimiter.
        {"[a]\r\ne=\"\"\r\nc=\"a=1,\"\r\nd=\",\"\r\nf=\"a,,\"",
         "|<[a]|e=\"\"\r\nc=\"a=1,\"\r\nd=\",\"\r\nf=\"a,,<e|\"\"><c|\"a=1,\"<a|1>><d|\",\"<|>><f|\"a,,\"<|><|>>>"},
        // Blanks and line breaks may stand before the quote; trimming takes blanks, tabs and line breaks only.
        {"[a]\r\nk =\r\n\t \"v=1\"\r\n", "|<[a]|k =\r\n\t \"v=1\"<k|\"v=1\"<v|1>>>"},
        {"[s]- \tkey \r\n= \t\"v\" \r\n[t]-    =\"=\v x\f \"",
         "|<[s]|key \r\n= \t\"v\"<key|\"v\"<|>>><[t]|=\"=\v x\f<|\"=\v x\f \"<|\v x\f>>>"},
        // A NUL inside a range ends its text; "a\0b" has no '=' before its delimiter.
        {"[s]\nna\0me=\"a\0b,c=d\"\n"s, "|<[s]|na<na|\"a<|><c|d>>>"},
        // No quote after the line's first '=' and its blanks; the first '=' inside the quotes, '1' after it.
        {"[a]\r\nk = v\r\nm=\"x\"\r\n", "Error: Invalid line"}, {"[a]\r\nk \"a=1\"\r\n", "Error: Invalid line"},
        // A quote left open before the end of the text or the next '[' (also one inside the quotes).
        {"[a]\r\nk=\"v\r\n", "Error: Invalid Line"}, {"[a]\r\nk=\"see [b]\"\r\n", "Error: Invalid Line"},
        // A header without ']', also after complete sections.
        {"[a", "Error: Invalid section "}, {"[", "Error: Invalid section "}, {"[a]\r\nk=\"v\"\r\n[b\r\n", "Error: Invalid section "},
        // Among many lines or sections, the first error in text order wins.
        {"[a]\r\n" + repeated("k=\"v=1\"\r\n", 70) + "m = v \"w\"\r\nn=\"x\r\n", "Error: Invalid line"},
        {repeated("[s]\r\nk=\"v=1\"\r\n", 70) + "[t]\r\nm = v \"w\"\r\n[u", "Error: Invalid line"},
    };
    for (const auto& row : rows) {
        Text text(row.first);
        const std::vector<char> before = text;
        std::unique_ptr<ParserBuf> root;
        const std::string error = thrown([&] { root = parse(text); });
        EXPECT_EQ(row.second, error.empty() ? tree(*root) : error) << row.first;
        EXPECT_EQ(before, text) << row.first;
    }
}

// Only nodes built by hand reach these: a field value of one position, and a section whose span does not start
// with '[' (it looks for one, and for the ']' after it).
TEST(ParserFormat, NodesBuiltByHand) {
    std::string single = "x=";
    ParserFieldValue letter(&single[0], &single[0], nullptr), equals(&single[1], &single[1], nullptr);
    EXPECT_EQ("Error: Invalid line", thrown([&] { letter.initialise(); }));
    EXPECT_EQ("", thrown([&] { equals.initialise(); }));
    std::string text = "  [h] k=\"v\" ", bad = "x[k=\"v\"";
    ParserSection search(&text[0], &text[text.size() - 1], new ParserLine(nullptr, nullptr, nullptr));
    search.initialise();
    EXPECT_EQ("[h]|k=\"v\"<k|\"v\"<|>>", tree(search));
    ParserSection unopened(&bad[0], &bad[bad.size() - 1], nullptr);
    EXPECT_EQ("Error: Invalid section ", thrown([&] { unopened.initialise(); }));
}

TEST(ParserTree, ChildrenByIndexByReferenceAndByIterator) {
    Text text("[a]\r\n[b]\r\n[c]\r\n");
    const auto root = parse(text);
    unsigned long index = 2;
    const Parser& third = (*root)[index];
    EXPECT_TRUE(index == 2 && root->at(2) == &third && root->begin()[1] == root->at(1));
    EXPECT_EQ(root->at(1), root->at(0x100000001ull));  // only the low 32 bits of the index count
    ASSERT_EQ(3, root->end() - root->begin());
    // A node without children, and a root without text, are empty ranges.
    EXPECT_TRUE(third.size() == 0 && third.begin() == third.end());
    const ParserBuf none(nullptr, 0, new ParserSection(nullptr, nullptr, nullptr));
    EXPECT_TRUE(none.size() == 0 && none.end() == nullptr);
}

TEST(ParserTree, TheRootReleasesEveryNodeAlsoWhenItsConstructorThrows) {
    const std::pair<std::string, int> rows[] = {
        // The root's prototype (3: section, line and field value), 2 sections
        // (3 each), 3 lines (2 each) and 4 field values.
        {"[a]\r\nk=\"x=1,y=2\"\r\nl=\"z\"\r\n[b]\r\nm=\"w=3\"\r\n", 3 + 2 * 3 + 3 * 2 + 4},
        // Errors that strike after part of the tree is built.
        {"[a]\r\nk=\"x=1\"\r\n[b]\r\nm=\"w=3\r\n", -1},
        {"[a]\r\nk=\"x=1\"\r\nm = w\r\nn=\"v\"\r\n", -1},
        {"[a]\r\nk=\"x=1\"\r\n[b", -1},
    };
    for (const auto& row : rows) {
        Text text(row.first);
        if (row.second < 0) {
            EXPECT_THROW(parse(text, CountedSection::make()), quen::QuenException);
        } else {
            const auto root = parse(text, CountedSection::make());
            EXPECT_EQ(row.second, liveNodes);
            EXPECT_EQ("y", root->at(0)->at(0)->at(1)->title());
        }
        EXPECT_EQ(0, liveNodes) << row.first;
    }
    // A prototype that makes nothing (a ParserBuf) leaves the root empty.
    Text text("[a]\r\nk=\"v\"\r\n[b]\r\n");
    Text inner("[x]");
    EXPECT_EQ(0ul, parse(text, parse(inner).release())->size());
}

TEST(ParserTree, ManyNodesFromArenaAndHeapKeepTheirTextOrderAndAreAllReleased) {
    Text text("[a]\r\nk=\"x=1,y=2\"\r\n[b]\r\nl=\"z=3\"\r\n");
    const std::string shape = "|<[a]|k=\"x=1,y=2\"<k|\"x=1,y=2\"<x|1><y|2>>><[b]|l=\"z=3\"<l|\"z=3\"<z|3>>>";
    {
        // Trees alive at once, deleted out of order; a root prototype made with nothrow new; nodes too large for the
        // arena or aligned beyond the heap's default; a node made by hand outside any tree.
        auto large = parse(text, new OddSection<alignof(CountedSection), 2048>(nullptr, nullptr));
        auto nothrow = parse(text, new (std::nothrow) CountedSection(nullptr, nullptr));
        const auto loose = std::unique_ptr<Parser>(CountedSection::make());
        const auto aligned = parse(text, new OddSection<64, 1>(nullptr, nullptr));
        EXPECT_EQ(shape, tree(*aligned));
        EXPECT_EQ(shape, tree(*large));
        large.reset();
        EXPECT_EQ(shape, tree(*nothrow));
    }
    EXPECT_EQ(0, liveNodes);
    // More children than a node finds at once, at every level, in a tree large enough to need many slabs.
    std::string sections, sectionTrees, lines, lineTrees, fields, fieldTrees;
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        sections += "[s" + n + "]\r\nk=\"a=1,b=2,c=3\"\r\n";
        sectionTrees += "<[s" + n + "]|k=\"a=1,b=2,c=3\"<k|\"a=1,b=2,c=3\"<a|1><b|2><c|3>>>";
        if (i >= 75) continue;
        lines += "k" + n + "=\"x\"\r\n";
        lineTrees += "<k" + n + "|\"x\"<|>>";
        fields += (i > 0 ? "," : "") + ("f" + n) + "=" + n;
        fieldTrees += "<f" + n + "|" + n + ">";
    }
    const std::string line = "last=\"" + fields + "\"";
    Text big(sections + "[t]\r\n" + lines + line + "\r\n");
    {
        const auto root = parse(big, CountedSection::make());
        const std::string built = tree(*root);
        EXPECT_EQ("|" + sectionTrees + "<[t]|" + lines + line + lineTrees + "<last|\"" + fields + "\"" + fieldTrees + ">>",
                  built);
        // Initialising again changes nothing.
        root->initialise();
        root->at(2000)->initialise();
        root->at(2000)->at(75)->initialise();
        EXPECT_EQ(built, tree(*root));
    }
    EXPECT_EQ(0, liveNodes);
}
