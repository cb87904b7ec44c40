#include <gtest/gtest.h>

#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartPointer.h"

using quen::SmartArray;
using quen::SmartPointer;

namespace {

// Counts destructor runs, to see each object deleted exactly once.
struct Tracked {
    explicit Tracked(int& deletions, int value = 0) : deletions_(deletions), value(value) {}
    virtual ~Tracked() { ++deletions_; }
    int& deletions_;
    int value;
};

struct DerivedTracked : Tracked {
    DerivedTracked(int& deletions, int& derivedDeletions) : Tracked(deletions), derived_(derivedDeletions) {}
    ~DerivedTracked() override { ++derived_; }
    int& derived_;
};

struct ArrayElement {
    static int destroyed;
    ~ArrayElement() { ++destroyed; }
};
int ArrayElement::destroyed = 0;

}  // namespace

TEST(SmartPointer, Banners) {
    const SmartPointer<int> pointer;
    const SmartArray<char> array(new char[1]);
    EXPECT_STREQ("SmartPointer 1.0, 10.09.1999", pointer.version());
    EXPECT_STREQ("SmartArray 1.0, 10.09.1999", array.version());
    EXPECT_STREQ("SmartBase 1.0, 10.09.1999", (pointer.quen::SmartBase<int, quen::ObjRef<int>>::version()));
    EXPECT_STREQ("RefBase 1.0, 16.08.1999", quen::RefBase<int>(nullptr).version());
    EXPECT_STREQ("ObjRef 1.0, 16.08.1999", quen::ObjRef<int>(nullptr).version());
    EXPECT_STREQ("ArrayRef 1.0, 16.08.1999", quen::ArrayRef<int>(nullptr).version());
}

TEST(SmartPointer, CopiesShareTheObjectAndTheLastDeletesItOnce) {
    const SmartPointer<Tracked> empty;
    EXPECT_EQ(nullptr, empty.get());
    EXPECT_FALSE(empty);
    EXPECT_EQ(1, empty.count());
    int deletions = 0;
    {
        auto* first = new SmartPointer<Tracked>(new Tracked(deletions, 7));
        EXPECT_EQ(7, (*first)->value);
        EXPECT_EQ(7, (**first).value);
        EXPECT_EQ(1, first->count());
        const SmartPointer<Tracked> second(*first);
        EXPECT_EQ(2, second.count());
        EXPECT_EQ(first->get(), second.get());
        delete first;
        EXPECT_EQ(0, deletions);
        EXPECT_EQ(1, second.count());
    }
    EXPECT_EQ(1, deletions);
    // A base handle deletes a derived object completely.
    int derivedDeletions = 0;
    { const SmartPointer<Tracked> base(new DerivedTracked(deletions, derivedDeletions)); }
    EXPECT_EQ(2, deletions);
    EXPECT_EQ(1, derivedDeletions);
}

TEST(SmartPointer, AssignmentReleasesTheOldObjectAndSharesTheNew) {
    int oldDeletions = 0;
    int newDeletions = 0;
    SmartPointer<Tracked> target(new Tracked(oldDeletions));
    {
        const SmartPointer<Tracked> source(new Tracked(newDeletions));
        target = source;
        EXPECT_EQ(1, oldDeletions);
        EXPECT_EQ(2, source.count());
    }
    EXPECT_EQ(0, newDeletions);
    EXPECT_EQ(1, target.count());
    const SmartPointer<Tracked>& alias = target;
    target = alias;
    EXPECT_EQ(1, target.count());
    EXPECT_EQ(0, newDeletions);
    SmartPointer<Tracked> other(target);
    other = target;  // two handles of one block
    EXPECT_EQ(2, target.count());
    target = SmartPointer<Tracked>();
    other = SmartPointer<Tracked>();
    EXPECT_EQ(1, newDeletions);
}

TEST(SmartPointer, AssignmentThroughTheBaseKeepsTheCountRight) {
    int oldDeletions = 0;
    int newDeletions = 0;
    {
        SmartPointer<Tracked> a(new Tracked(oldDeletions));
        const SmartPointer<Tracked> b(new Tracked(newDeletions));
        quen::SmartBase<Tracked, quen::ObjRef<Tracked>>& h = a;
        h = b;
        EXPECT_EQ(1, oldDeletions);
        EXPECT_EQ(2, b.count());
        EXPECT_EQ(b.get(), a.get());
        const quen::SmartBase<Tracked, quen::ObjRef<Tracked>>& same = b;
        h = same;
        EXPECT_EQ(2, b.count());
    }
    EXPECT_EQ(1, oldDeletions);
    EXPECT_EQ(1, newDeletions);

    ArrayElement::destroyed = 0;
    {
        SmartArray<ArrayElement> a(new ArrayElement[2]);
        const SmartArray<ArrayElement> b(new ArrayElement[3]);
        quen::SmartBase<ArrayElement, quen::ArrayRef<ArrayElement>>& h = a;
        h = b;
        EXPECT_EQ(2, ArrayElement::destroyed);
        EXPECT_EQ(2, b.count());
    }
    EXPECT_EQ(5, ArrayElement::destroyed);
}

TEST(SmartArray, IndexesSharesAndReleasesWithArrayDeletion) {
    ArrayElement::destroyed = 0;
    {
        const SmartArray<ArrayElement> array(new ArrayElement[5]);
        const SmartArray<ArrayElement> copy(array);
        EXPECT_EQ(2, copy.count());
    }
    EXPECT_EQ(5, ArrayElement::destroyed);
    SmartArray<char> buffer(new char[4]);
    buffer[0] = 'q';
    buffer[3] = 'z';
    SmartArray<char> shared(new char[1]);
    shared = buffer;
    EXPECT_EQ('q', shared[0]);
    EXPECT_EQ('z', shared.get()[3]);
    EXPECT_EQ(2, buffer.count());
    const SmartArray<char>& itself = shared;
    shared = itself;
    EXPECT_EQ(2, buffer.count());
}
