// The Registry class over the registry calls: paths, rights, typed values in
// their Windows forms, searches, shared handles.
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
    using Registry::getValue;
    using Registry::key;
    using Registry::setValue;
};

struct Stored {
    LONG result = -1;
    DWORD type = 0xFFFFFFFF;
    std::vector<unsigned char> data;
};

// The value as the registry holds it (small values only).
Stored stored(const std::string& subKey, const char* name) {
    Stored value;
    HKEY key = nullptr;
    value.result = RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key);
    if (value.result == ERROR_SUCCESS) {
        unsigned char data[64];
        DWORD size = sizeof data;
        value.result = RegQueryValueExA(key, name, nullptr, &value.type, data, &size);
        value.data.assign(data, data + (value.result == ERROR_SUCCESS ? size : 0));
        RegCloseKey(key);
    }
    return value;
}

std::string text(Registry& key, const char* name) {
    StdString value("(none)");
    key.getValue(name, value);
    return value.c_str();
}

}  // namespace

TEST(Registry, WalksPathsSkippingBackslashesAndFoldingRootNames) {
    support::TestRegistry test;
    const std::string own = test.path();
    // In order: only the last component is made, and after a key that is
    // missing the walk starts again at a root name.
    const struct {
        std::string path;
        bool create, valid;
    } rows[] = {
        {own, false, false}, {own + "\\a\\b", true, false}, {own, true, true}, {own, false, true},
        {own + "\\a", true, true}, {own + "\\a\\b", true, true},
        {own + "\\missing\\HKEY_CURRENT_USER\\Software", false, true},
        {"\\HKEY_LOCAL_MACHINE\\\\Software\\", false, true}, {"hkey_current_user\\Software", false, true},
        {"HKEY_CURRENT_USER", true, false}, {"\\HKEY_CURRENT_USER\\", true, false}, {"", true, false},
        {"\\\\", true, false}, {"HKEY_NOWHERE\\Software", true, false}, {"HKEY_CURRENT_USERS\\Software", true, false},
        {"Software\\QUEN Ltd.", true, false},
    };
    for (const auto& row : rows) {
        const Registry key(row.path.c_str(), row.create ? readWrite : Registry::registryRead, row.create);
        EXPECT_EQ(row.valid, key.isValid()) << row.path << (row.create ? " (create)" : "");
    }
    // Leading, doubled and trailing backslashes; the root in lower case.
    ASSERT_TRUE(Registry(own.c_str(), readWrite, false).setValue("marker", 7));
    const std::string odd =
        "\\hkey_current_user\\\\Software\\QUEN Ltd.\\\\Tests\\" + own.substr(own.rfind('\\') + 1) + "\\";
    int marker = 0;
    EXPECT_TRUE(Registry(odd.c_str(), Registry::registryRead, false).getValue("marker", marker));
    EXPECT_EQ(7, marker);
}

TEST(Registry, AccessFollowsTheFlagsAndDeletesValues) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    ASSERT_TRUE(Registry(path, readWrite, true).setValue("v", 1));
    Registry reader(path, Registry::registryRead, false), writer(path, Registry::registryWrite, false);
    Registry neither(path, static_cast<Registry::RegistryFlags>(0), false);  // opens, with no rights at all
    EXPECT_TRUE(neither.isValid());
    int value = 0;
    EXPECT_TRUE(reader.getValue("v", value));
    EXPECT_FALSE(reader.setValue("v", 2) || reader.deleteValue("v"));
    EXPECT_TRUE(writer.setValue("v", 3));
    EXPECT_FALSE(writer.getValue("v", value) || writer.hasValue("v"));
    EXPECT_FALSE(neither.getValue("v", value) || neither.setValue("v", 4));
    EXPECT_TRUE(reader.getValue("v", value));
    EXPECT_EQ(3, value);
    EXPECT_TRUE(writer.deleteValue("V"));
    EXPECT_FALSE(reader.hasValue("v") || writer.deleteValue("v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, stored(test.subKey(), "v").result);
}

TEST(Registry, StoresTypedValuesInTheirWindowsForms) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("yes", true) && key.setValue("no", false) && key.setValue("number", -2));
    ASSERT_TRUE(key.setValue("text", StdString("Hello")) && key.setValue("literal", "lit"));
    ASSERT_TRUE(key.setValue("", StdString("default")));
    const struct {
        const char* name;
        DWORD type;
        std::vector<unsigned char> data;
    } rows[] = {
        {"yes", REG_BINARY, {1, 0, 0, 0}},     {"no", REG_BINARY, {0, 0, 0, 0}},
        {"number", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}}, {"text", REG_SZ, {'H', 'e', 'l', 'l', 'o', 0}},
        {"literal", REG_SZ, {'l', 'i', 't', 0}}, {nullptr, REG_SZ, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name != nullptr ? row.name : "(default)");
        const Stored value = stored(test.subKey(), row.name);
        EXPECT_EQ(ERROR_SUCCESS, value.result);
        EXPECT_EQ(row.type, value.type);
        EXPECT_EQ(row.data, value.data);
    }
    bool flag = false;
    int number = 0;
    EXPECT_TRUE(key.getValue("YES", flag) && flag);
    EXPECT_TRUE(key.getValue("no", flag) && !flag);
    EXPECT_TRUE(key.getValue("Number", number));
    EXPECT_EQ(-2, number);
    EXPECT_EQ("Hello", text(key, "text"));
    EXPECT_EQ("default", text(key, ""));
    EXPECT_TRUE(key.getValue("yes", number));  // the type is not checked: an int from a bool's four bytes
    EXPECT_EQ(1, number);

    // Missing values leave the targets alone.
    StdString kept("kept");
    EXPECT_FALSE(key.getValue("missing", flag) || key.getValue("missing", number) || key.getValue("missing", kept));
    EXPECT_TRUE(!flag && number == 1 && kept == "kept");
    // Larger than the first read, and exactly its size with the zero.
    for (const std::string& large : {std::string(5000, 'x'), std::string(63, 'y')}) {
        ASSERT_TRUE(key.setValue("large", StdString(large.c_str())));
        EXPECT_EQ(large, text(key, "large")) << large.size();
    }
}

TEST(Registry, TypedGettersReadOnlyTheDataThere) {
    support::TestRegistry test;
    OpenRegistry key(StdString(test.path().c_str()), readWrite, true);
    const unsigned char two[] = {0x34, 0x12};
    ASSERT_TRUE(key.setValue("two", static_cast<Registry::RegistryValueType>(9), two, 2));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), stored(test.subKey(), "two").type);
    ASSERT_TRUE(key.setValue("empty", Registry::boolValue, two, 0));
    int number = 5;
    bool flag = false;
    EXPECT_FALSE(key.getValue("two", number));
    EXPECT_TRUE(key.getValue("two", flag) && flag);
    EXPECT_FALSE(key.getValue("empty", flag) || key.getValue("empty", number));
    EXPECT_TRUE(flag && number == 5);
    EXPECT_EQ("", text(key, "empty"));

    // A string without its zero, longer than the first read: all of its
    // bytes and no more (the byte after the data given is not zero, so that
    // no system adds one). Bytes after a zero are not part of it.
    const std::string unterminated(101, 'z');
    const char inner[] = {'a', 'b', 0, 'c', 'd', 'e'};
    ASSERT_TRUE(key.setValue("unterminated", Registry::stringValue, unterminated.data(), 100));
    ASSERT_TRUE(key.setValue("inner", Registry::stringValue, inner, 5));
    EXPECT_EQ(std::string(100, 'z'), text(key, "unterminated"));
    EXPECT_EQ("ab", text(key, "inner"));

    // The raw read gives the bytes, whatever the type asked for.
    std::unique_ptr<unsigned char[]> raw(key.getValue("two", Registry::stringValue));
    ASSERT_NE(nullptr, raw);
    EXPECT_TRUE(raw[0] == 0x34 && raw[1] == 0x12);
    EXPECT_EQ(nullptr, key.getValue("missing", Registry::intValue));
}

TEST(Registry, SearchesKeysAndValuesByWholeNameIgnoringCase) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    EXPECT_FALSE(key.hasKey("Child"));
    std::unique_ptr<Registry> child(key.createKey("Child", readWrite));
    ASSERT_TRUE(child && child->isValid());
    ASSERT_TRUE(key.setValue("Value", 1));
    // Names longer than 128 characters listed before the ones looked for.
    const std::string longKey(255, 'A'), longValue(16383, 'a');
    ASSERT_TRUE(Registry(key, StdString(longKey.c_str()), readWrite, true).isValid());
    ASSERT_TRUE(key.setValue(StdString(longValue.c_str()), 2));
    ASSERT_TRUE(Registry(key, "B", readWrite, true).isValid());
    ASSERT_TRUE(key.setValue("b", 3));
    const struct {
        std::string name;
        bool isKey, isValue;
    } rows[] = {{"child", true, false}, {"CHILD", true, false}, {"Chil", false, false}, {"Children", false, false},
                {"VALUE", false, true}, {"Val", false, false},  {"B", true, true},       {longKey, true, false},
                {longValue, false, true}};
    for (const auto& row : rows) {
        EXPECT_EQ(row.isKey, key.hasKey(row.name.c_str())) << row.name;
        EXPECT_EQ(row.isValue, key.hasValue(row.name.c_str())) << row.name;
    }
    EXPECT_FALSE(child->hasKey("Child") || child->hasValue(""));  // a key without anything
}

TEST(Registry, InvalidObjectsAnswerFalseOrNull) {
    Registry invalid("HKEY_NOWHERE\\Software", readWrite, true);
    ASSERT_FALSE(invalid.isValid());
    bool flag = true;
    int number = 1;
    StdString text("kept");
    EXPECT_FALSE(invalid.getValue("x", flag) || invalid.getValue("x", number) || invalid.getValue("x", text));
    EXPECT_FALSE(invalid.setValue("x", true) || invalid.setValue("x", 1) || invalid.setValue("x", StdString("y")));
    EXPECT_FALSE(invalid.hasKey("Software") || invalid.hasValue("x") || invalid.deleteValue("x"));
    EXPECT_EQ(nullptr, invalid.createKey("x", readWrite));
    EXPECT_FALSE(Registry(invalid, "Software", readWrite, true).isValid());
    EXPECT_FALSE(Registry(static_cast<HKEY>(nullptr), "Software", readWrite, true).isValid());
    EXPECT_TRUE(invalid == Registry("", readWrite, false));
}

TEST(Registry, CopiesShareHandlesAndTheLastClosesThem) {
    support::TestRegistry test;
    const StdString path(test.path().c_str()), inner((test.path() + "\\inner").c_str());
    ASSERT_TRUE(Registry(path, readWrite, true).isValid() && Registry(inner, readWrite, true).isValid());
    HKEY key = nullptr;
    {
        std::unique_ptr<Registry> source(new Registry(inner, readWrite, false));
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
        DWORD size = 0;
        EXPECT_NE(ERROR_INVALID_HANDLE, RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size));
        EXPECT_TRUE(copy.setValue("after", 1));
        EXPECT_TRUE(assigned.hasValue("after"));
        copy = Registry(path, readWrite, false);
        EXPECT_TRUE(assigned.hasValue("after"));
    }
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));  // closed once, by the last of them

    // Assignment closes the target's own handles and works through the other's.
    OpenRegistry target(path, readWrite, false);
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
    ASSERT_TRUE(made.setValue("where", StdString("sub")));
    Registry fromHandle(HKEY_CURRENT_USER, (test.subKey() + "\\sub").c_str(), Registry::registryRead, false);
    EXPECT_EQ("sub", text(fromHandle, "where"));
    OpenRegistry direct(path, readWrite, false);  // an empty name is the key itself
    EXPECT_TRUE(Registry(direct.key(), "", Registry::registryRead, false).hasKey("sub"));
}

// Windows checks a key's security when a sub-key is made under it, not the
// rights of the handle: read-only objects make keys, on a new store too.
TEST(Registry, ReadOnlyObjectsMakeKeys) {
    support::TestRegistry test(false);
    const RegistryQuenLtd company(Registry::registryRead);
    EXPECT_TRUE(company.isValid());
    EXPECT_TRUE(Registry(company, "Tests", Registry::registryRead, true).isValid());
    Registry own(test.path().c_str(), Registry::registryRead, true);
    ASSERT_TRUE(own.isValid());
    const std::unique_ptr<Registry> made(own.createKey("New", Registry::registryRead));
    ASSERT_TRUE(made != nullptr && made->isValid());
    EXPECT_TRUE(own.hasKey("New"));
    EXPECT_FALSE(made->setValue("v", 1));  // the handles stay read-only
}

TEST(RegistryQuenLtd, IsTheCompanyKey) {
    EXPECT_STREQ("Registry 1.0, 10.11.1999", Registry::version());
    EXPECT_STREQ("RegistryQuenLtd 1.0, 10.11.1999", RegistryQuenLtd::version());
    support::TestRegistry test;
    RegistryQuenLtd company(Registry::registryRead);
    ASSERT_TRUE(company.isValid());
    EXPECT_TRUE(company.hasKey("Tests"));
    EXPECT_TRUE(Registry("HKEY_CURRENT_USER\\Software", Registry::registryRead, false).hasKey("quen ltd."));
    EXPECT_TRUE(RegistryQuenLtd(company) == company);
    const Registry plain(company);  // the same handles in a plain object
    EXPECT_FALSE(plain == company || company == plain);
    RegistryQuenLtd other(Registry::registryWrite);
    EXPECT_FALSE(other == company);
    other = company;
    EXPECT_TRUE(other == company);
}
