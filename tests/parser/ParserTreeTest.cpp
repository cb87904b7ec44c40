// The node tree: the root's sections, reading titles and values, access to
// children, ownership and the prototype scheme.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "ParserText.h"
#include "quen/parser/ParserArray.h"

namespace {

// Nodes that count how many of them are alive, to see that a tree leaves
// nothing behind, also when its construction throws half-way. Each kind
// brings a counted prototype of the kind below it, as the library's do.
int liveNodes = 0;

struct NoPrototype {
    static Parser* make() { return nullptr; }
};

template <class Base, class ChildPrototype>
class Counted : public Base {
public:
    Counted(char* begin, char* end) : Base(begin, end, ChildPrototype::make()) { ++liveNodes; }
    ~Counted() override { --liveNodes; }
    static Parser* make() { return new Counted(nullptr, nullptr); }

protected:
    Parser* duplicate(char* begin, char* end) override { return new Counted(begin, end); }
};

using CountedFieldValue = Counted<ParserFieldValue, NoPrototype>;
using CountedLine = Counted<ParserLine, CountedFieldValue>;
using CountedSection = Counted<ParserSection, CountedLine>;

// A prototype that makes nothing: every child it is asked for is skipped.
class Barren : public ParserSection {
public:
    Barren() : ParserSection(nullptr, nullptr, nullptr) {}

protected:
    Parser* duplicate(char*, char*) override { return nullptr; }
};

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
        EXPECT_EQ(nullptr, root->begin()) << content;
        EXPECT_EQ(root->begin(), root->end()) << content;
        EXPECT_EQ("|", tree(*root)) << content;
    }
    const ParserBuf none(nullptr, 0, new ParserSection(nullptr, nullptr, nullptr));
    EXPECT_EQ(0ul, none.size());
    EXPECT_EQ(none.begin(), none.end());
    EXPECT_EQ("|", tree(none));
}

TEST(ParserTree, ANulInsideARangeEndsItsText) {
    Text text("[s]\nna\0me=\"a\0b,c=d\"\n"s);
    const auto root = parse(text);
    unsigned long first = 0;
    // "a\0b" has no '=' before its delimiter.
    EXPECT_EQ("na|\"a<|><c|d>", tree(nth(*root, 0)[first]));
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

    // A node without children is an empty range.
    EXPECT_EQ(0ul, third.size());
    EXPECT_EQ(third.begin(), third.end());
}

TEST(ParserTree, TheRootReleasesEveryNodeAlsoWhenItsConstructorThrows) {
    const std::pair<std::string, int> rows[] = {
        // Each counted section brings a line prototype, which brings a field
        // prototype; each line a field prototype. The root's prototype (3),
        // 2 sections (3 each), 3 lines (2 each) and 4 field values.
        {"[a]\r\nk=\"x=1,y=2\"\r\nl=\"z\"\r\n[b]\r\nm=\"w=3\"\r\n", 3 + 2 * 3 + 3 * 2 + 4},
        // Errors that strike after part of the tree is built (no count).
        {"[a]\r\nk=\"x=1\"\r\n[b]\r\nm=\"w=3\r\n", -1},    // quote left open in the second section
        {"[a]\r\nk=\"x=1\"\r\nm = w\r\nn=\"v\"\r\n", -1},  // no quote after the '='
        {"[a]\r\nk=\"x=1\"\r\n[b", -1},                    // header never closed
    };
    for (const auto& row : rows) {
        Text text(row.first);
        if (row.second < 0) {
            EXPECT_THROW(ParserBuf(text.data(), text.length(), CountedSection::make()), quen::QuenException) << row.first;
        } else {
            const auto root = parse(text, CountedSection::make());
            EXPECT_EQ(row.second, liveNodes);
            ASSERT_EQ(2ul, root->size());
            EXPECT_EQ("y", nth(nth(*root, 0), 0).at(1)->title());
        }
        EXPECT_EQ(0, liveNodes) << row.first;
        EXPECT_EQ(row.first, std::string(text.data(), text.length()));
    }
}

TEST(ParserTree, APrototypeThatMakesNothingLeavesTheRootEmpty) {
    Text text("[a]\r\nk=\"v\"\r\n[b]\r\n");
    EXPECT_EQ(0ul, parse(text, new Barren)->size());
    // A ParserBuf cannot serve as a prototype either.
    Text inner("[x]");
    EXPECT_EQ(0ul, parse(text, parse(inner).release())->size());
}

TEST(ParserTree, ManySectionsLinesAndFieldValuesKeepTheirTextOrder) {
    // More children than a node finds at once, at every level.
    const int count = 75;
    std::string content;
    std::string fields;
    for (int i = 0; i < count; ++i) {
        fields += (i > 0 ? "," : "") + ("f" + std::to_string(i)) + "=" + std::to_string(i);
    }
    for (int s = 0; s < count; ++s) {
        content += "[s" + std::to_string(s) + "]\r\n";
        for (int l = 0; l < count; ++l) {
            content += "k" + std::to_string(l) + "=\"" + (l == s ? fields : "x=" + std::to_string(l)) + "\"\r\n";
        }
    }
    Text text(content);
    const auto root = parse(text, CountedSection::make());
    ASSERT_EQ(static_cast<unsigned long>(count), root->size());
    for (int s = 0; s < count; ++s) {
        const Parser& section = nth(*root, s);
        ASSERT_EQ("[s" + std::to_string(s) + "]", std::string(section.title()));
        ASSERT_EQ(static_cast<unsigned long>(count), section.size());
        for (int l = 0; l < count; ++l) {
            ASSERT_EQ("k" + std::to_string(l), std::string(nth(section, l).title()));
        }
        const Parser& line = nth(section, s);
        ASSERT_EQ(static_cast<unsigned long>(count), line.size());
        for (int f = 0; f < count; ++f) {
            ASSERT_EQ("f" + std::to_string(f), std::string(nth(line, f).title()));
            ASSERT_EQ(std::to_string(f), std::string(nth(line, f).value()));
        }
    }
}

TEST(ParserTree, InitialisingAgainChangesNothing) {
    Text text("[a]\r\nk=\"x=1,y=2\"\r\n");
    const auto root = parse(text);
    const std::string built = "|<[a]|k=\"x=1,y=2\"<k|\"x=1,y=2\"<x|1><y|2>>>";
    EXPECT_EQ(built, tree(*root));
    root->initialise();
    nth(*root, 0).initialise();
    nth(nth(*root, 0), 0).initialise();
    EXPECT_EQ(built, tree(*root));
}

namespace {

// Callers' node classes that the tree's arena does not take: one too
// large, one aligned beyond the heap's default. Both come from the heap.
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

using LargeSection = OddSection<alignof(CountedSection), 2048>;
using AlignedSection = OddSection<64, 1>;

}  // namespace

TEST(ParserTree, NodesFromArenaAndHeapAreAllReleased) {
    Text text("[a]\r\nk=\"x=1,y=2\"\r\n[b]\r\nl=\"z=3\"\r\n");
    const std::string shape = "|<[a]|k=\"x=1,y=2\"<k|\"x=1,y=2\"<x|1><y|2>>><[b]|l=\"z=3\"<l|\"z=3\"<z|3>>>";
    {
        // Trees alive at once, deleted out of order; a root prototype made
        // with nothrow new; nodes too large for the arena; a node made by
        // hand outside any tree.
        auto one = parse(text, new LargeSection(nullptr, nullptr));
        auto two = parse(text, new (std::nothrow) CountedSection(nullptr, nullptr));
        auto loose = std::unique_ptr<Parser>(CountedSection::make());
        const auto aligned = parse(text, new AlignedSection(nullptr, nullptr));
        EXPECT_EQ(shape, tree(*aligned));
        EXPECT_EQ(shape, tree(*one));
        one.reset();
        EXPECT_EQ(shape, tree(*two));
    }
    EXPECT_EQ(0, liveNodes);

    // A tree large enough to need many slabs.
    std::string large;
    for (int section = 0; section < 2000; ++section) {
        large += "[s" + std::to_string(section) + "]\r\nName=\"a=1,b=2,c=3\"\r\nOther=\"d=4\"\r\n";
    }
    Text big(large);
    {
        const auto root = parse(big, CountedSection::make());
        ASSERT_EQ(2000ul, root->size());
        EXPECT_EQ("[s1999]", nth(*root, 1999).title());
        EXPECT_EQ("4", nth(nth(*root, 1999), 1).at(0)->value());
    }
    EXPECT_EQ(0, liveNodes);
}
