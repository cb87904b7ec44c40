#include <gtest/gtest.h>

#include <string>

#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartPointer.h"

using quen::SmartArray;
using quen::SmartPointer;

namespace {

// Counts destructor runs, to see each object deleted exactly once.
struct Tracked {
    explicit Tracked(int& deletions, int value = 0) : deletions_(deletions), value(value) {}
    ~Tracked() { ++deletions_; }
    int& deletions_;
    int value;
};

struct Element {
    static int destroyed;
    ~Element() { ++destroyed; }
};
int Element::destroyed = 0;

}  // namespace

TEST(SmartPointer, Banners) {
    const SmartPointer<int> pointer;
    const SmartArray<char> array(new char[1]);
    const std::pair<std::string, std::string> rows[] = {
        {"SmartPointer 1.0, 10.09.1999", pointer.version()}, {"SmartArray 1.0, 10.09.1999", array.version()},
        {"SmartBase 1.0, 10.09.1999", pointer.quen::SmartBase<int, quen::ObjRef<int>>::version()},
        {"RefBase 1.0, 16.08.1999", quen::RefBase<int>(nullptr).version()},
        {"ObjRef 1.0, 16.08.1999", quen::ObjRef<int>(nullptr).version()},
        {"ArrayRef 1.0, 16.08.1999", quen::ArrayRef<int>(nullptr).version()},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}

TEST(SmartPointer, CopiesShareTheObjectAndTheLastDeletesItOnce) {
    const SmartPointer<Tracked> empty;
    EXPECT_EQ(nullptr, empty.get());
    EXPECT_FALSE(empty);
    EXPECT_EQ(1, empty.count());
    int deletions = 0;
    {
        auto* first = new SmartPointer<Tracked>(new Tracked(deletions, 7));
        const SmartPointer<Tracked> second(*first);
        EXPECT_EQ(2, second.count());
        EXPECT_EQ(first->get(), second.get());
        delete first;
        EXPECT_EQ(0, deletions);
        EXPECT_EQ(1, second.count());
        EXPECT_EQ(7, second->value);
        EXPECT_EQ(7, (*second).value);
    }
    EXPECT_EQ(1, deletions);
}

// Assignment, also through a reference to the base handle, releases the old
// block and shares the new; assigning a handle of the same block changes nothing.
TEST(SmartPointer, AssignmentReleasesTheOldObjectAndSharesTheNew) {
    int oldDeletions = 0;
    int newDeletions = 0;
    {
        SmartPointer<Tracked> a(new Tracked(oldDeletions));
        const SmartPointer<Tracked> b(new Tracked(newDeletions));
        quen::SmartBase<Tracked, quen::ObjRef<Tracked>>& base = a;
        base = b;
        EXPECT_EQ(1, oldDeletions);
        EXPECT_EQ(b.get(), a.get());
        base = static_cast<const quen::SmartBase<Tracked, quen::ObjRef<Tracked>>&>(b);
        a = b;
        a = static_cast<const SmartPointer<Tracked>&>(a);
        EXPECT_EQ(2, b.count());
        a = SmartPointer<Tracked>();
        EXPECT_EQ(1, b.count());
    }
    EXPECT_EQ(1, oldDeletions);
    EXPECT_EQ(1, newDeletions);
}

TEST(SmartArray, IndexesSharesAndReleasesWithArrayDeletion) {
    Element::destroyed = 0;
    {
        SmartArray<Element> a(new Element[2]);
        const SmartArray<Element> b(new Element[3]);
        static_cast<quen::SmartBase<Element, quen::ArrayRef<Element>>&>(a) = b;
        EXPECT_EQ(2, Element::destroyed);
        EXPECT_EQ(2, b.count());
    }
    EXPECT_EQ(5, Element::destroyed);
    SmartArray<char> buffer(new char[4]);
    buffer[0] = 'q';
    buffer[3] = 'z';
    SmartArray<char> shared(new char[1]);
    shared = buffer;
    shared = static_cast<const SmartArray<char>&>(shared);
    EXPECT_EQ('q', shared[0]);
    EXPECT_EQ('z', shared.get()[3]);
    EXPECT_EQ(2, buffer.count());
}
