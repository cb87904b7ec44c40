#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "quen/platform/Win32.h"
#include "quen/registry/Registry.h"
#include "quen/registry/RegistryQuenLtd.h"
#include "support/TestRegistry.h"

using quen::Registry;
using quen::RegistryQuenLtd;
using quen::StdString;

namespace {

const Registry::RegistryFlags readWrite = Registry::registryRead | Registry::registryWrite;

// Reaches the protected operations.
class OpenRegistry : public Registry {
public:
    OpenRegistry(const StdString& path, RegistryFlags flags, bool create) : Registry(path, flags, create) {}
    explicit OpenRegistry(const Registry& other) : Registry(other) {}
    using Registry::createKey;
    using Registry::getValue;
    using Registry::key;
    using Registry::openKey;
    using Registry::setValue;
};

struct Stored {
    LONG result = -1;
    DWORD type = 0xFFFFFFFF;
    std::vector<unsigned char> data;
};

// The value as the registry holds it.
Stored stored(const std::string& subKey, const char* name) {
    Stored value;
    HKEY key = nullptr;
    value.result = RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key);
    if (value.result != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    value.result = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (value.result == ERROR_SUCCESS) {
        value.data.resize(size + 1);
        value.result = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

StdString under(const support::TestRegistry& test, const char* rest) {
    return StdString((test.path() + rest).c_str());
}

std::vector<unsigned char> bytes(std::initializer_list<unsigned char> list) {
    return std::vector<unsigned char>(list);
}

// Whether a handle is still open: closing it again fails once it is closed.
bool stillOpen(HKEY key) {
    DWORD size = 0;
    return RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size) != ERROR_INVALID_HANDLE;
}

}  // namespace

TEST(Registry, Banners) {
    EXPECT_STREQ("Registry 1.0, 10.11.1999", Registry::version());
    EXPECT_STREQ("RegistryQuenLtd 1.0, 10.11.1999", RegistryQuenLtd::version());
}

TEST(Registry, WalksPathsSkippingBackslashesAndFoldingRootNames) {
    support::TestRegistry test;
    Registry made(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(made.isValid());
    ASSERT_TRUE(made.setValue("marker", 7));

    // Leading, doubled and trailing backslashes; the root in lower case.
    const std::string odd = "\\hkey_current_user\\\\Software\\QUEN Ltd.\\\\Tests\\" +
                            test.subKey().substr(test.subKey().rfind('\\') + 1) + "\\";
    Registry walked(StdString(odd.c_str()), Registry::registryRead, false);
    ASSERT_TRUE(walked.isValid());
    int marker = 0;
    EXPECT_TRUE(walked.getValue("marker", marker));
    EXPECT_EQ(7, marker);

    EXPECT_TRUE(Registry("\\HKEY_LOCAL_MACHINE\\\\Software\\", Registry::registryRead, false).isValid());
    EXPECT_TRUE(Registry("hkey_current_user\\Software", Registry::registryRead, false).isValid());
    for (const char* path : {"HKEY_CURRENT_USER", "\\HKEY_CURRENT_USER\\", "", "\\\\", "HKEY_NOWHERE\\Software",
                             "HKEY_CURRENT_USERS\\Software", "Software\\QUEN Ltd."}) {
        EXPECT_FALSE(Registry(path, readWrite, true).isValid()) << path;
    }
}

TEST(Registry, CreatesOnlyTheLastComponent) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    EXPECT_FALSE(Registry(path, readWrite, false).isValid());
    EXPECT_FALSE(Registry(under(test, "\\a\\b"), readWrite, true).isValid());
    EXPECT_TRUE(Registry(path, readWrite, true).isValid());
    EXPECT_TRUE(Registry(path, readWrite, false).isValid());
    EXPECT_TRUE(Registry(under(test, "\\a"), readWrite, true).isValid());
    EXPECT_TRUE(Registry(under(test, "\\a\\b"), readWrite, true).isValid());

    // After a key that is missing the walk starts again at a root name.
    const Registry again(under(test, "\\missing\\HKEY_CURRENT_USER\\Software"), Registry::registryRead, false);
    EXPECT_TRUE(again.isValid());
}

TEST(Registry, AccessFollowsTheFlags) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    ASSERT_TRUE(Registry(path, readWrite, true).setValue("v", 1));

    Registry reader(path, Registry::registryRead, false);
    int value = 0;
    EXPECT_TRUE(reader.getValue("v", value));
    EXPECT_FALSE(reader.setValue("v", 2));
    EXPECT_FALSE(reader.deleteValue("v"));

    Registry writer(path, Registry::registryWrite, false);
    EXPECT_TRUE(writer.setValue("v", 3));
    EXPECT_FALSE(writer.getValue("v", value));
    EXPECT_FALSE(writer.hasValue("v"));

    // No bit: the key opens, with no rights at all.
    Registry neither(path, static_cast<Registry::RegistryFlags>(0), false);
    EXPECT_TRUE(neither.isValid());
    EXPECT_FALSE(neither.getValue("v", value));
    EXPECT_FALSE(neither.setValue("v", 4));

    EXPECT_TRUE(reader.getValue("v", value));
    EXPECT_EQ(3, value);
}

TEST(Registry, StoresTypedValuesInTheirWindowsForms) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("yes", true));
    ASSERT_TRUE(key.setValue("no", false));
    ASSERT_TRUE(key.setValue("number", -2));
    ASSERT_TRUE(key.setValue("text", StdString("Hello")));
    ASSERT_TRUE(key.setValue("literal", "lit"));
    ASSERT_TRUE(key.setValue("", StdString("default")));

    Stored value = stored(test.subKey(), "yes");
    EXPECT_EQ(ERROR_SUCCESS, value.result);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type);
    EXPECT_EQ(bytes({1, 0, 0, 0}), value.data);
    value = stored(test.subKey(), "no");
    EXPECT_EQ(bytes({0, 0, 0, 0}), value.data);
    value = stored(test.subKey(), "number");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type);
    EXPECT_EQ(bytes({0xFE, 0xFF, 0xFF, 0xFF}), value.data);
    value = stored(test.subKey(), "text");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(bytes({'H', 'e', 'l', 'l', 'o', 0}), value.data);
    value = stored(test.subKey(), "literal");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    value = stored(test.subKey(), nullptr);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(8u, value.data.size());

    bool flag = false;
    int number = 0;
    StdString text;
    EXPECT_TRUE(key.getValue("YES", flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(key.getValue("no", flag));
    EXPECT_FALSE(flag);
    EXPECT_TRUE(key.getValue("Number", number));
    EXPECT_EQ(-2, number);
    EXPECT_TRUE(key.getValue("text", text));
    EXPECT_EQ(std::string("Hello"), text.c_str());
    EXPECT_TRUE(key.getValue("", text));
    EXPECT_EQ(std::string("default"), text.c_str());
    // The type is not checked: an int read from a bool's four bytes.
    EXPECT_TRUE(key.getValue("yes", number));
    EXPECT_EQ(1, number);

    // Missing values leave the targets alone.
    flag = true;
    number = 99;
    text = "kept";
    EXPECT_FALSE(key.getValue("missing", flag));
    EXPECT_FALSE(key.getValue("missing", number));
    EXPECT_FALSE(key.getValue("missing", text));
    EXPECT_TRUE(flag);
    EXPECT_EQ(99, number);
    EXPECT_EQ(std::string("kept"), text.c_str());
}

TEST(Registry, ReadsLargeValuesWhole) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    const std::string large(5000, 'x');
    ASSERT_TRUE(key.setValue("large", StdString(large.c_str())));
    StdString text;
    ASSERT_TRUE(key.getValue("large", text));
    EXPECT_EQ(large, text.c_str());
    const std::string edge(63, 'y');  // with its zero, exactly the first buffer
    ASSERT_TRUE(key.setValue("edge", StdString(edge.c_str())));
    ASSERT_TRUE(key.getValue("edge", text));
    EXPECT_EQ(edge, text.c_str());
}

TEST(Registry, TypedGettersReadOnlyTheDataThere) {
    support::TestRegistry test;
    OpenRegistry key(StdString(test.path().c_str()), readWrite, true);
    const unsigned char two[] = {0x34, 0x12};
    ASSERT_TRUE(key.setValue("two", static_cast<Registry::RegistryValueType>(9), two, 2));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), stored(test.subKey(), "two").type);
    ASSERT_TRUE(key.setValue("empty", Registry::boolValue, two, 0));

    int number = 5;
    EXPECT_FALSE(key.getValue("two", number));
    EXPECT_EQ(5, number);
    bool flag = false;
    EXPECT_TRUE(key.getValue("two", flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(key.getValue("empty", flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(key.getValue("empty", number));
    StdString text("kept");
    EXPECT_TRUE(key.getValue("empty", text));
    EXPECT_EQ(std::string(), text.c_str());

    // A string without its zero, longer than the first read: all of its
    // bytes and no more. (The byte after the data given is not zero, so
    // that no system adds one.)
    const std::string unterminated(101, 'z');
    ASSERT_TRUE(key.setValue("unterminated", Registry::stringValue, unterminated.data(), 100));
    ASSERT_TRUE(key.getValue("unterminated", text));
    EXPECT_EQ(std::string(100, 'z'), text.c_str());
    // Bytes after a zero are not part of the string.
    const char inner[] = {'a', 'b', 0, 'c', 'd', 'e'};
    ASSERT_TRUE(key.setValue("inner", Registry::stringValue, inner, 5));
    ASSERT_TRUE(key.getValue("inner", text));
    EXPECT_EQ(std::string("ab"), text.c_str());

    // The raw read gives the bytes, whatever the type asked for.
    unsigned char* raw = key.getValue("two", Registry::stringValue);
    ASSERT_NE(nullptr, raw);
    EXPECT_EQ(0x34, raw[0]);
    EXPECT_EQ(0x12, raw[1]);
    delete[] raw;
    EXPECT_EQ(nullptr, key.getValue("missing", Registry::intValue));
}

TEST(Registry, SearchesKeysAndValuesByWholeNameIgnoringCase) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    EXPECT_FALSE(key.hasKey("Child"));
    std::unique_ptr<Registry> child(key.createKey("Child", readWrite));
    ASSERT_NE(nullptr, child);
    ASSERT_TRUE(child->isValid());
    ASSERT_TRUE(key.setValue("Value", 1));

    EXPECT_TRUE(key.hasKey("child"));
    EXPECT_TRUE(key.hasKey("CHILD"));
    EXPECT_FALSE(key.hasKey("Chil"));
    EXPECT_FALSE(key.hasKey("Children"));
    EXPECT_FALSE(key.hasKey("Value"));
    EXPECT_TRUE(key.hasValue("VALUE"));
    EXPECT_FALSE(key.hasValue("Val"));
    EXPECT_FALSE(key.hasValue("Child"));
    EXPECT_FALSE(child->hasKey("Child"));  // a key without sub-keys
    EXPECT_FALSE(child->hasValue(""));

    // Names longer than 128 characters listed before the one looked for.
    const std::string longKey(255, 'A');
    const std::string longValue(16383, 'a');
    ASSERT_TRUE(Registry(key, StdString(longKey.c_str()), readWrite, true).isValid());
    ASSERT_TRUE(key.setValue(StdString(longValue.c_str()), 2));
    ASSERT_TRUE(Registry(key, "B", readWrite, true).isValid());
    ASSERT_TRUE(key.setValue("b", 3));
    EXPECT_TRUE(key.hasKey("b"));
    EXPECT_TRUE(key.hasKey(StdString(longKey.c_str())));
    EXPECT_TRUE(key.hasValue("B"));
    EXPECT_TRUE(key.hasValue(StdString(longValue.c_str())));
}

TEST(Registry, DeletesValues) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("gone", StdString("soon")));
    EXPECT_TRUE(key.deleteValue("GONE"));
    EXPECT_FALSE(key.hasValue("gone"));
    EXPECT_FALSE(key.deleteValue("gone"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, stored(test.subKey(), "gone").result);
}

TEST(Registry, InvalidObjectsAnswerFalseOrNull) {
    Registry invalid("HKEY_NOWHERE\\Software", readWrite, true);
    ASSERT_FALSE(invalid.isValid());
    bool flag = true;
    int number = 1;
    StdString text("kept");
    EXPECT_FALSE(invalid.getValue("x", flag));
    EXPECT_FALSE(invalid.getValue("x", number));
    EXPECT_FALSE(invalid.getValue("x", text));
    EXPECT_FALSE(invalid.setValue("x", true));
    EXPECT_FALSE(invalid.setValue("x", 1));
    EXPECT_FALSE(invalid.setValue("x", StdString("y")));
    EXPECT_FALSE(invalid.hasKey("Software"));
    EXPECT_FALSE(invalid.hasValue("x"));
    EXPECT_FALSE(invalid.deleteValue("x"));
    EXPECT_EQ(nullptr, invalid.createKey("x", readWrite));
    EXPECT_FALSE(Registry(invalid, "Software", readWrite, true).isValid());
    EXPECT_FALSE(Registry(static_cast<HKEY>(nullptr), "Software", readWrite, true).isValid());
    EXPECT_TRUE(invalid == Registry("", readWrite, false));
}

TEST(Registry, CopiesShareHandlesAndTheLastClosesThem) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    ASSERT_TRUE(Registry(StdString(test.path().c_str()), readWrite, true).isValid());
    ASSERT_TRUE(Registry(under(test, "\\inner"), readWrite, true).isValid());
    HKEY key = nullptr;
    {
        std::unique_ptr<Registry> source(new Registry(under(test, "\\inner"), readWrite, false));
        key = OpenRegistry(*source).key();
        ASSERT_NE(nullptr, key);
        Registry copy(*source);
        EXPECT_TRUE(copy == *source);
        Registry assigned(path, readWrite, false);
        EXPECT_FALSE(assigned == *source);  // opened separately: other handles
        assigned = *source;
        EXPECT_TRUE(assigned == *source);
        const Registry& alias = assigned;
        assigned = alias;
        EXPECT_TRUE(assigned == copy);
        source.reset();
        // The copies still hold the key open.
        EXPECT_TRUE(stillOpen(key));
        EXPECT_TRUE(copy.setValue("after", 1));
        EXPECT_TRUE(assigned.hasValue("after"));
        copy = Registry(path, readWrite, false);
        EXPECT_TRUE(assigned.hasValue("after"));
    }
    // Closed once, by the last of them.
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
}

TEST(Registry, AssignmentClosesTheTargetsOwnHandles) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    OpenRegistry target(path, readWrite, true);
    const HKEY own = target.key();
    ASSERT_NE(nullptr, own);
    const Registry other(path, readWrite, false);
    static_cast<Registry&>(target) = other;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(own));
    EXPECT_TRUE(target.setValue("through the other's handle", 1));
    EXPECT_TRUE(Registry(target) == other);  // sliced to a plain Registry
}

TEST(Registry, ObjectsFromParentsAndHandles) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    Registry parent(path, readWrite, true);
    EXPECT_FALSE(Registry(parent, "sub", readWrite, false).isValid());
    Registry made(parent, "sub", readWrite, true);
    ASSERT_TRUE(made.isValid());
    ASSERT_TRUE(made.setValue("where", StdString("sub")));
    Registry fromHandle(HKEY_CURRENT_USER, StdString((test.subKey() + "\\sub").c_str()), Registry::registryRead,
                        false);
    StdString text;
    EXPECT_TRUE(fromHandle.getValue("where", text));
    EXPECT_EQ(std::string("sub"), text.c_str());
    EXPECT_FALSE(fromHandle == made);
    // An empty name is the key itself.
    OpenRegistry direct(path, readWrite, false);
    Registry itself(direct.key(), "", Registry::registryRead, false);
    EXPECT_TRUE(itself.hasKey("sub"));
}

TEST(RegistryQuenLtd, IsTheCompanyKey) {
    support::TestRegistry test;
    RegistryQuenLtd company(Registry::registryRead);
    ASSERT_TRUE(company.isValid());
    EXPECT_TRUE(company.hasKey("Tests"));
    EXPECT_TRUE(Registry("HKEY_CURRENT_USER\\Software", Registry::registryRead, false).hasKey("quen ltd."));

    RegistryQuenLtd copy(company);
    EXPECT_TRUE(copy == company);
    const Registry plain(company);  // the same handles in a plain object
    EXPECT_FALSE(plain == company);
    EXPECT_FALSE(company == plain);
    RegistryQuenLtd other(Registry::registryWrite);
    EXPECT_FALSE(other == company);
    other = company;
    EXPECT_TRUE(other == company);
}
