// The node tree: the root's sections, the positions and trimming of
// title()/value(), access to children, ownership and the prototype scheme.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ParserText.h"
#include "quen/parser/ParserArray.h"
#include "quen/parser/ParserFieldValue.h"
#include "quen/parser/ParserLine.h"

using namespace std::string_literals;
using parsertest::nth;
using parsertest::parse;
using parsertest::parseError;
using parsertest::Text;
using quen::Parser;
using quen::ParserBuf;
using quen::ParserSection;
using quen::StdString;

namespace {

// Nodes that count how many of them are alive, to see that a tree leaves
// nothing behind, also when its construction throws half-way.
int liveNodes = 0;

class CountedFieldValue : public quen::ParserFieldValue {
public:
    CountedFieldValue(char* begin, char* end) : ParserFieldValue(begin, end, nullptr) { ++liveNodes; }
    ~CountedFieldValue() override { --liveNodes; }

protected:
    Parser* duplicate(char* begin, char* end) override { return new CountedFieldValue(begin, end); }
};

class CountedLine : public quen::ParserLine {
public:
    CountedLine(char* begin, char* end) : ParserLine(begin, end, new CountedFieldValue(nullptr, nullptr)) {
        ++liveNodes;
    }
    ~CountedLine() override { --liveNodes; }

protected:
    Parser* duplicate(char* begin, char* end) override { return new CountedLine(begin, end); }
};

class CountedSection : public quen::ParserSection {
public:
    CountedSection(char* begin, char* end) : ParserSection(begin, end, new CountedLine(nullptr, nullptr)) {
        ++liveNodes;
    }
    ~CountedSection() override { --liveNodes; }

protected:
    Parser* duplicate(char* begin, char* end) override { return new CountedSection(begin, end); }
};

// A prototype that makes nothing: every child it is asked for is skipped.
class Barren : public quen::ParserSection {
public:
    Barren() : ParserSection(nullptr, nullptr, nullptr) {}

protected:
    Parser* duplicate(char*, char*) override { return nullptr; }
};

std::vector<std::string> titles(const Parser& node) {
    std::vector<std::string> result;
    for (Parser* child : node) {
        result.push_back(child->title().c_str());
    }
    return result;
}

}  // namespace

TEST(ParserTree, BannersOfTheNodeClasses) {
    EXPECT_STREQ("Parser 1.0, 16.02.2000", Parser::version());
    EXPECT_STREQ("ParserArray 1.0, 31.01.2000", quen::ParserArray::version());
    EXPECT_STREQ("ParserBuf 1.0, 31.01.2000", ParserBuf::version());
}

TEST(ParserTree, TextsWithoutSectionsGiveAnEmptyRoot) {
    for (const std::string& content : {""s, "no brackets at all\r\n"s, "k=\"v\"\r\n"s, "]"s}) {
        Text text(content);
        const auto root = parse(text);
        EXPECT_EQ(0ul, root->size()) << content;
        EXPECT_EQ(root->begin(), root->end()) << content;
        EXPECT_EQ(nullptr, root->begin()) << content;
        EXPECT_EQ("", root->title());
        EXPECT_EQ("", root->value());
    }
    const ParserBuf none(nullptr, 0, new ParserSection(nullptr, nullptr, nullptr));
    EXPECT_EQ(0ul, none.size());
    EXPECT_EQ(none.begin(), none.end());
    EXPECT_EQ("", none.title());
    EXPECT_EQ("", none.value());
}

TEST(ParserTree, SectionsStartAtEachOpeningBracketAfterAHeader) {
    Text junk("junk[a]");
    const auto one = parse(junk);
    ASSERT_EQ(1ul, one->size());
    EXPECT_EQ("[a]", one->at(0)->title());

    // The header runs to the first ']' whatever lies between.
    Text nested("[a[b]");
    EXPECT_EQ(std::vector<std::string>{"[a[b]"}, titles(*parse(nested)));
    Text broken("[x\r\ny]\r\n[ z ]\r\n");
    EXPECT_EQ((std::vector<std::string>{"[x\r\ny]", "[ z ]"}), titles(*parse(broken)));

    // After a header every '[' starts a section, quoted or not.
    Text three("[a]\r\n[b]  [c]");
    EXPECT_EQ((std::vector<std::string>{"[a]", "[b]", "[c]"}), titles(*parse(three)));
}

TEST(ParserTree, AnUnclosedHeaderIsAnInvalidSection) {
    EXPECT_EQ("Error: Invalid section ", parseError("[a"));
    EXPECT_EQ("Error: Invalid section ", parseError("[a]\r\nk=\"v\"\r\n[b\r\n"));
    EXPECT_EQ("Error: Invalid section ", parseError("["));
}

TEST(ParserTree, TitlesAndValuesLoseBlanksTabsAndLineBreaksOnly) {
    // The character after ']' belongs to no line, so the first line's title
    // range is exactly " \tkey \r\n", and the second's only blanks.
    Text text("[s]- \tkey \r\n= \t\"v\" \r\n[t]-    =\"=\v x\f \"");
    const auto root = parse(text);
    ASSERT_EQ(2ul, root->size());
    const Parser& first = nth(nth(*root, 0), 0);
    EXPECT_EQ("key", first.title());
    EXPECT_EQ("\"v\"", first.value());
    const Parser& second = nth(nth(*root, 1), 0);
    EXPECT_EQ("", second.title());
    EXPECT_EQ(std::string("\"=\v x\f \""), second.value().c_str());
    ASSERT_EQ(1ul, second.size());
    EXPECT_EQ("", second.at(0)->title());
    EXPECT_EQ(std::string("\v x\f"), second.at(0)->value().c_str());  // vertical tab and form feed stay
}

TEST(ParserTree, ANulInsideARangeEndsItsText) {
    Text text("[s]\nna\0me=\"a\0b,c=d\"\n"s);
    const auto root = parse(text);
    unsigned long first = 0;
    const Parser& line = nth(*root, 0)[first];
    EXPECT_EQ("na", line.title());
    EXPECT_EQ("\"a", line.value());
    ASSERT_EQ(2ul, line.size());
    EXPECT_EQ("", line.at(0)->title());  // "a\0b" has no '=' before its delimiter
    EXPECT_EQ("c", line.at(1)->title());
    EXPECT_EQ("d", line.at(1)->value());
}

TEST(ParserTree, ReadingEveryNodeLeavesTheBufferAsItWas) {
    const std::string content = "ignored\r\n[General]\r\nName = \"Disk=A, Size=1440\"\r\nLabel=\"Id=7\"\r\n[Empty]\r\n"
                                "[Last] k=\"a=1,,b=2,\"";
    Text text(content);
    const std::vector<char> before = text.bytes();
    {
        const auto root = parse(text);
        std::vector<const Parser*> pending = {root.get()};
        while (!pending.empty()) {
            const Parser* node = pending.back();
            pending.pop_back();
            node->title();
            node->value();
            EXPECT_EQ(before, text.bytes());
            for (Parser* child : *node) {
                pending.push_back(child);
            }
        }
    }
    EXPECT_EQ(before, text.bytes());
}

TEST(ParserTree, ChildrenByIndexByReferenceAndByIterator) {
    Text text("[a]\r\n[b]\r\n[c]\r\n");
    const auto root = parse(text);
    ASSERT_EQ(3ul, root->size());
    unsigned long index = 2;
    const Parser& third = (*root)[index];
    EXPECT_EQ(2ul, index);  // only read
    EXPECT_EQ(root->at(2), &third);
    EXPECT_EQ("[c]", third.title());
    // Only the low 32 bits of the index count.
    EXPECT_EQ(root->at(1), root->at(0x100000001ull));

    Parser::const_iterator position = root->begin();
    ASSERT_EQ(3, root->end() - position);
    EXPECT_EQ(root->at(0), position[0]);
    EXPECT_EQ(root->at(1), *(position + 1));
    EXPECT_EQ("[b]", position[1]->title());

    // A node without children is an empty range.
    EXPECT_EQ(0ul, third.size());
    EXPECT_EQ(third.begin(), third.end());
}

TEST(ParserTree, TheTreeAndItsPrototypesGoWithTheRoot) {
    const std::string content = "[a]\r\nk=\"x=1,y=2\"\r\nl=\"z\"\r\n[b]\r\nm=\"w=3\"\r\n";
    Text text(content);
    {
        const ParserBuf root(text.data(), text.length(), new CountedSection(nullptr, nullptr));
        // Each counted section brings a line prototype, which brings a field
        // prototype; each line a field prototype. The root's prototype (3),
        // 2 sections (3 each), 3 lines (2 each) and 4 field values.
        EXPECT_EQ(3 + 2 * 3 + 3 * 2 + 4, liveNodes);
        ASSERT_EQ(2ul, root.size());
        EXPECT_EQ("y", nth(nth(root, 0), 0).at(1)->title());
    }
    EXPECT_EQ(0, liveNodes);
    EXPECT_EQ(content, std::string(text.data(), text.length()));
}

TEST(ParserTree, AConstructorThatThrowsLeavesNothingBehind) {
    // Each error strikes after part of the tree is built.
    const std::string failing[] = {
        "[a]\r\nk=\"x=1\"\r\n[b]\r\nm=\"w=3\r\n",    // quote left open in the second section
        "[a]\r\nk=\"x=1\"\r\nm = w\r\nn=\"v\"\r\n",  // no quote after the '='
        "[a]\r\nk=\"x=1\"\r\n[b",                    // header never closed
    };
    for (const std::string& content : failing) {
        Text text(content);
        EXPECT_THROW(ParserBuf(text.data(), text.length(), new CountedSection(nullptr, nullptr)), quen::QuenException)
            << content;
        EXPECT_EQ(0, liveNodes) << content;
        EXPECT_EQ(content, std::string(text.data(), text.length()));
    }
}

TEST(ParserTree, APrototypeThatMakesNothingLeavesTheRootEmpty) {
    Text text("[a]\r\nk=\"v\"\r\n[b]\r\n");
    const ParserBuf barren(text.data(), text.length(), new Barren);
    EXPECT_EQ(0ul, barren.size());
    // A ParserBuf cannot serve as a prototype either.
    Text inner("[x]");
    const ParserBuf noSections(text.data(), text.length(),
                               new ParserBuf(inner.data(), inner.length(), new ParserSection(nullptr, nullptr, nullptr)));
    EXPECT_EQ(0ul, noSections.size());
}

TEST(ParserTree, InitialisingAgainChangesNothing) {
    Text text("[a]\r\nk=\"x=1,y=2\"\r\n");
    const auto root = parse(text);
    root->initialise();
    ASSERT_EQ(1ul, root->size());
    Parser& section = nth(*root, 0);
    section.initialise();
    nth(section, 0).initialise();
    EXPECT_EQ(1ul, section.size());
    EXPECT_EQ(2ul, nth(section, 0).size());
}

namespace {

// A caller's node class too large for the tree's arena, made on the heap.
class LargeSection : public CountedSection {
public:
    LargeSection(char* begin, char* end) : CountedSection(begin, end) { padding[0] = 1; }
    char padding[2048];

protected:
    Parser* duplicate(char* begin, char* end) override { return new LargeSection(begin, end); }
};

// A caller's node class with an alignment beyond the heap's default.
class alignas(64) AlignedSection : public CountedSection {
public:
    AlignedSection(char* begin, char* end) : CountedSection(begin, end) {}

protected:
    Parser* duplicate(char* begin, char* end) override {
        Parser* const node = new AlignedSection(begin, end);
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(node) % 64);
        return node;
    }
};

}  // namespace

TEST(ParserTree, NodesFromArenaAndHeapAreAllReleased) {
    const std::string content = "[a]\r\nk=\"x=1,y=2\"\r\n[b]\r\nl=\"z=3\"\r\n";
    Text first(content);
    Text second(content);
    {
        // Trees alive at once, deleted out of order; a root prototype made
        // with nothrow new; nodes too large for the arena; a node made by
        // hand outside any tree.
        auto one = std::make_unique<ParserBuf>(first.data(), first.length(), new LargeSection(nullptr, nullptr));
        auto two = std::make_unique<ParserBuf>(second.data(), second.length(),
                                               new (std::nothrow) CountedSection(nullptr, nullptr));
        auto loose = std::unique_ptr<Parser>(new CountedSection(nullptr, nullptr));
        Text third(content);
        const ParserBuf aligned(third.data(), third.length(), new AlignedSection(nullptr, nullptr));
        EXPECT_EQ("[b]", nth(aligned, 1).title());
        ASSERT_EQ(2ul, one->size());
        ASSERT_EQ(2ul, two->size());
        EXPECT_EQ("z", nth(nth(*one, 1), 0).at(0)->title());
        one.reset();
        EXPECT_EQ("y", nth(nth(*two, 0), 0).at(1)->title());
        EXPECT_EQ("2", nth(nth(*two, 0), 0).at(1)->value());
    }
    EXPECT_EQ(0, liveNodes);

    // A tree large enough to need many slabs.
    std::string large;
    for (int section = 0; section < 2000; ++section) {
        large += "[s" + std::to_string(section) + "]\r\nName=\"a=1,b=2,c=3\"\r\nOther=\"d=4\"\r\n";
    }
    Text big(large);
    {
        const ParserBuf root(big.data(), big.length(), new CountedSection(nullptr, nullptr));
        ASSERT_EQ(2000ul, root.size());
        EXPECT_EQ("[s1999]", nth(root, 1999).title());
        EXPECT_EQ("4", nth(nth(root, 1999), 1).at(0)->value());
    }
    EXPECT_EQ(0, liveNodes);
}
