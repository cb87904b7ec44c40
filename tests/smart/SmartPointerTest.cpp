#include <gtest/gtest.h>

#include <string>

#include "quen/errors/DebugStream.h"
#include "quen/errors/QuenAssert.h"
#include "quen/errors/QuenException.h"
#include "quen/errors/WindowsError.h"
#include "quen/errors/WindowsMessage.h"
#include "quen/smart/SmartArray.h"
#include "quen/smart/SmartPointer.h"
#include "quen/strings/FileString.h"
#include "quen/strings/StringTable.h"
#include "quen/strings/WildString.h"
#include "quen/values/Extent.h"
#include "quen/values/ExtentFP.h"
#include "quen/values/Point.h"
#include "quen/values/PointFP.h"
#include "quen/values/TimeDate.h"

using quen::SmartArray;
using quen::SmartPointer;

namespace {

// Counts destructor runs, to see each object deleted exactly once.
struct Tracked { int& deletions; int value; ~Tracked() { ++deletions; } };

struct Element { static inline int destroyed = 0; ~Element() { ++destroyed; } };

}  // namespace

// The banners of the strings, values, errors and smart pointers (the tool's cases check the parser's).
TEST(Library, BannersOfItsBasicClasses) {
    const SmartPointer<int> pointer;
    const SmartArray<char> array(new char[1]);
    const std::pair<std::string, std::string> rows[] = {
        {"SmartPointer 1.0, 10.09.1999", pointer.version()}, {"SmartArray 1.0, 10.09.1999", array.version()},
        {"SmartBase 1.0, 10.09.1999", pointer.quen::SmartBase<int, quen::ObjRef<int>>::version()},
        {"RefBase 1.0, 16.08.1999", quen::RefBase<int>(nullptr).version()},
        {"ObjRef 1.0, 16.08.1999", quen::ObjRef<int>(nullptr).version()},
        {"ArrayRef 1.0, 16.08.1999", quen::ArrayRef<int>(nullptr).version()},
        {"StdString 1.0, 16.08.1999", quen::StdString::version()}, {"FileString 1.0, 15.09.1999", quen::FileString::version()},
        {"WildString 1.0, 16.08.1999", quen::WildString::version()}, {"StringTable<> 1.0, 21.12.1999", quen::StringTable::version()},
        {"TimeDate 1.0, 16.08.1999", quen::TimeDate::version()}, {"Point 1.0, 16.08.1999", quen::Point::version().c_str()},
        {"PointFP 1.0, 16.08.1999", quen::PointFP::version().c_str()}, {"Extent 1.0, 16.08.1999", quen::Extent::version().c_str()},
        {"ExtentFP 1.0, 16.08.1999", quen::ExtentFP::version().c_str()},
        {"QuenException 1.0, 16.08.1999", quen::QuenException::version()},
        {"WindowsSystemMessage 1.0, 23.09.1999", quen::WindowsSystemMessage::version()},
        {"WindowsMessage 1.0, 21.09.1999", quen::WindowsMessage::version()},
        {"QuenAssert 1.0, 23.09.1999", quen::QuenAssert::version()}, {"DebugStream 1.0, 23.09.1999", quen::DebugStream::version()},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}

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
