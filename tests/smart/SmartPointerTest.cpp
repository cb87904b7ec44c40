#include <gtest/gtest.h>

#include <string>

#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartPointer.h"

using quen::SmartArray;
using quen::SmartPointer;

namespace {

// Counts destructor runs, to see each object deleted exactly once.
struct Tracked { int& deletions; int value; ~Tracked() { ++deletions; } };

struct Element { static inline int destroyed = 0; ~Element() { ++destroyed; } };

}  // namespace

TEST(SmartPointer, CopiesShareTheObjectAndTheLastDeletesItOnce) {
    const SmartPointer<Tracked> empty;
    EXPECT_TRUE(empty.get() == nullptr && !empty && empty.count() == 1);
    int deletions = 0;
    {
        auto* first = new SmartPointer<Tracked>(new Tracked{deletions, 7});
        const SmartPointer<Tracked> second(*first);
        EXPECT_TRUE(second.count() == 2 && first->get() == second.get());
        delete first;
        EXPECT_TRUE(deletions == 0 && second.count() == 1 && second->value == 7 && (*second).value == 7);
    }
    EXPECT_EQ(1, deletions);
}

// Assignment, also through a reference to the base handle, releases the old
// block and shares the new; assigning a handle of the same block changes nothing.
TEST(SmartPointer, AssignmentReleasesTheOldObjectAndSharesTheNew) {
    int oldDeletions = 0, newDeletions = 0;
    {
        SmartPointer<Tracked> a(new Tracked{oldDeletions, 0});
        const SmartPointer<Tracked> b(new Tracked{newDeletions, 0});
        quen::SmartBase<Tracked, quen::ObjRef<Tracked>>& base = a;
        base = b;
        EXPECT_TRUE(oldDeletions == 1 && b.get() == a.get());
        base = static_cast<const quen::SmartBase<Tracked, quen::ObjRef<Tracked>>&>(b);
        a = static_cast<const SmartPointer<Tracked>&>(a);
        EXPECT_EQ(2, b.count());
        a = SmartPointer<Tracked>();
        EXPECT_EQ(1, b.count());
    }
    EXPECT_TRUE(oldDeletions == 1 && newDeletions == 1);
}

TEST(SmartArray, IndexesSharesAndReleasesWithArrayDeletion) {
    Element::destroyed = 0;
    {
        SmartArray<Element> a(new Element[2]);
        const SmartArray<Element> b(new Element[3]);
        static_cast<quen::SmartBase<Element, quen::ArrayRef<Element>>&>(a) = b;
        EXPECT_TRUE(Element::destroyed == 2 && b.count() == 2);
    }
    EXPECT_EQ(5, Element::destroyed);
    SmartArray<char> buffer(new char[4]), shared(new char[1]);
    buffer[0] = 'q';
    buffer[3] = 'z';
    shared = buffer;
    shared = static_cast<const SmartArray<char>&>(shared);
    EXPECT_TRUE(shared[0] == 'q' && shared.get()[3] == 'z' && buffer.count() == 2);
}
