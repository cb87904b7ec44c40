// The Registry class over the registry calls, and the calls themselves as the
// library uses them: the same answers from Windows and from the Linux store.
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

struct Stored { LONG result; DWORD type; std::vector<unsigned char> data; };

// The value as the registry holds it (small values only).
Stored stored(const std::string& subKey, const char* name) {
    HKEY key = nullptr;
    unsigned char data[64];
    DWORD type = 0, size = sizeof data;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key);
    if (result == ERROR_SUCCESS) result = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    RegCloseKey(key);
    return {result, type, std::vector<unsigned char>(data, data + (result == ERROR_SUCCESS ? size : 0))};
}

std::string text(Registry& key, const char* name) {
    StdString value("(none)");
    key.getValue(name, value);
    return value.c_str();
}

class RegistryApi : public ::testing::Test {
protected:
    void SetUp() override { key_ = create(HKEY_CURRENT_USER, test_.subKey().c_str()); }
    void TearDown() override { RegCloseKey(key_); }

    HKEY create(HKEY parent, const char* name, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
        HKEY made = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, name, 0, nullptr, 0, access, nullptr, &made, disposition))
            << name;
        return made;
    }
    HKEY open(HKEY parent, const char* name, REGSAM access) {
        HKEY opened = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(parent, name, 0, access, &opened)) << name;
        return opened;
    }
    std::vector<std::string> subKeys(HKEY key) {
        std::vector<std::string> names;
        char name[256];
        DWORD length = sizeof name;
        while (RegEnumKeyExA(key, static_cast<DWORD>(names.size()), name, &length, nullptr, nullptr, nullptr,
                             nullptr) == ERROR_SUCCESS) {
            EXPECT_EQ(std::string(name).size(), length);
            names.push_back(name);
            length = sizeof name;
        }
        return names;
    }
    LONG enumValue(DWORD index, DWORD nameSize, DWORD dataSize, HKEY key = nullptr) {
        char name[32];
        BYTE data[16];
        const LONG result =
            RegEnumValueA(key != nullptr ? key : key_, index, name, &nameSize, nullptr, nullptr, data, &dataSize);
        dataSize_ = dataSize;
        return result;
    }
    LONG enumKey(HKEY key, DWORD nameSize, DWORD* length = nullptr) {
        char name[32];
        const LONG result = RegEnumKeyExA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (length != nullptr) *length = nameSize;
        return result;
    }

    support::TestRegistry test_;
    HKEY key_ = nullptr;
    DWORD dataSize_ = 0;  // as the last enumValue left it
    const BYTE one_[4] = {1, 0, 0, 0};
};

}  // namespace

TEST(Registry, WalksPathsSkippingBackslashesAndFoldingRootNames) {
    support::TestRegistry test;
    const std::string own = test.path();
    // In order: only the last component is made, and after a key that is missing the walk starts again at a root name.
    const struct { std::string path; bool create, valid; } rows[] = {
        {own, false, false}, {own + "\\a\\b", true, false}, {own, true, true}, {own + "\\a", true, true},
        {own + "\\missing\\HKEY_CURRENT_USER\\Software", false, true},
        {"\\HKEY_LOCAL_MACHINE\\\\Software\\", false, true}, {"hkey_current_user\\Software", false, true},
        {"\\HKEY_CURRENT_USER\\", true, false}, {"", true, false}, {"HKEY_NOWHERE\\Software", true, false},
        {"HKEY_CURRENT_USERS\\Software", true, false}, {"Software\\QUEN Ltd.", true, false},
    };
    for (const auto& row : rows) {
        const Registry key(row.path.c_str(), row.create ? readWrite : Registry::registryRead, row.create);
        EXPECT_EQ(row.valid, key.isValid()) << row.path << (row.create ? " (create)" : "");
    }
}

// The flags become the calls' rights (RegistryApi); an object without either still opens.
TEST(Registry, AccessFollowsTheFlagsAndDeletesValues) {
    support::TestRegistry test;
    const StdString path(test.path().c_str());
    ASSERT_TRUE(Registry(path, readWrite, true).setValue("v", 1));
    Registry reader(path, Registry::registryRead, false), writer(path, Registry::registryWrite, false);
    Registry neither(path, static_cast<Registry::RegistryFlags>(0), false);
    int value = 0;
    EXPECT_TRUE(neither.isValid() && !neither.getValue("v", value) && !neither.setValue("v", 4));
    EXPECT_FALSE(reader.setValue("v", 2) || writer.getValue("v", value) || writer.hasValue("v"));
    EXPECT_TRUE(writer.setValue("v", 3) && reader.getValue("v", value) && value == 3 && writer.deleteValue("V"));
    EXPECT_FALSE(reader.hasValue("v") || writer.deleteValue("v"));
}

TEST(Registry, StoresTypedValuesInTheirWindowsForms) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("yes", true) && key.setValue("no", false) && key.setValue("number", -2));
    ASSERT_TRUE(key.setValue("text", "Hello") && key.setValue("", StdString("default")));
    const struct { const char* name; DWORD type; std::vector<unsigned char> data; } rows[] = {
        {"yes", REG_BINARY, {1, 0, 0, 0}}, {"no", REG_BINARY, {0, 0, 0, 0}},
        {"number", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}}, {"text", REG_SZ, {'H', 'e', 'l', 'l', 'o', 0}},
        {nullptr, REG_SZ, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
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
    EXPECT_TRUE(key.getValue("no", flag) && !flag && key.getValue("Number", number) && number == -2);
    EXPECT_EQ("default", text(key, ""));
    EXPECT_TRUE(key.getValue("yes", number) && number == 1);  // the type is not checked: a bool's four bytes

    StdString kept("kept");  // missing values leave the targets alone
    EXPECT_FALSE(key.getValue("missing", flag) || key.getValue("missing", number) || key.getValue("missing", kept));
    EXPECT_TRUE(!flag && number == 1 && kept == "kept");
    const std::string large(63, 'y');  // the first read's size with the zero
    ASSERT_TRUE(key.setValue("large", StdString(large.c_str())));
    EXPECT_EQ(large, text(key, "large"));
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
    EXPECT_TRUE(!key.getValue("two", number) && key.getValue("two", flag) && flag);
    EXPECT_FALSE(key.getValue("empty", flag) || key.getValue("empty", number));
    EXPECT_TRUE(flag && number == 5);
    EXPECT_EQ("", text(key, "empty"));

    // A string without its zero, longer than the first read: its bytes and no more (the byte after
    // them is not zero, so that no system adds one). Bytes after a zero are not part of it.
    const std::string unterminated(101, 'z');
    const char inner[] = {'a', 'b', 0, 'c', 'd', 'e'};
    ASSERT_TRUE(key.setValue("unterminated", Registry::stringValue, unterminated.data(), 100));
    ASSERT_TRUE(key.setValue("inner", Registry::stringValue, inner, 5));
    EXPECT_EQ(std::string(100, 'z'), text(key, "unterminated"));
    EXPECT_EQ("ab", text(key, "inner"));

    std::unique_ptr<unsigned char[]> raw(key.getValue("two", Registry::stringValue));  // whatever the type asked
    ASSERT_NE(nullptr, raw);
    EXPECT_TRUE(raw[0] == 0x34 && raw[1] == 0x12);
    EXPECT_EQ(nullptr, key.getValue("missing", Registry::intValue));
}

TEST(Registry, SearchesKeysAndValuesByWholeNameIgnoringCase) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    std::unique_ptr<Registry> child(key.createKey("Child", readWrite));
    ASSERT_TRUE(child && child->isValid());
    // Names longer than 128 characters listed before the ones looked for.
    const std::string longKey(255, 'A'), longValue(16383, 'a');
    ASSERT_TRUE(Registry(key, StdString(longKey.c_str()), readWrite, true).isValid());
    ASSERT_TRUE(Registry(key, "B", readWrite, true).isValid());
    ASSERT_TRUE(key.setValue("Value", 1) && key.setValue(StdString(longValue.c_str()), 2) && key.setValue("b", 3));
    const struct { std::string name; bool isKey, isValue; } rows[] = {
        {"CHILD", true, false}, {"Chil", false, false}, {"Children", false, false}, {"VALUE", false, true},
        {"Val", false, false},  {"B", true, true},      {longKey, true, false},     {longValue, false, true}};
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
        Registry copy(*source), assigned(path, readWrite, false);
        EXPECT_TRUE(copy == *source);
        EXPECT_FALSE(assigned == *source);  // opened separately: other handles
        assigned = *source;
        const Registry& alias = assigned;
        assigned = alias;
        EXPECT_TRUE(assigned == copy);
        source.reset();
        DWORD size = 0;  // the copies still hold the key open
        EXPECT_NE(ERROR_INVALID_HANDLE, RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size));
        EXPECT_TRUE(copy.setValue("after", 1));
        copy = Registry(path, readWrite, false);
        EXPECT_TRUE(assigned.hasValue("after"));
    }
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));  // closed once, by the last of them

    // Assignment closes the target's own handles and works through the other's.
    OpenRegistry target(path, readWrite, false);
    const HKEY own = target.key();
    const Registry other(path, readWrite, false);
    static_cast<Registry&>(target) = other;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(own));
    EXPECT_TRUE(target.setValue("through the other's handle", 1));
    EXPECT_TRUE(Registry(target) == other);  // sliced to a plain Registry
    // Objects from a parent object and from a handle (an empty name is the key itself).
    EXPECT_FALSE(Registry(other, "sub", readWrite, false).isValid());
    ASSERT_TRUE(Registry(other, "sub", readWrite, true).setValue("where", StdString("sub")));
    Registry fromHandle(HKEY_CURRENT_USER, (test.subKey() + "\\sub").c_str(), Registry::registryRead, false);
    EXPECT_EQ("sub", text(fromHandle, "where"));
    EXPECT_TRUE(Registry(OpenRegistry(other).key(), "", Registry::registryRead, false).hasKey("sub"));
}

// Read-only objects make keys (as RegistryApi's handles do), on a new store too, and stay read-only.
TEST(RegistryQuenLtd, IsTheCompanyKeyAndMadeByReadOnlyObjects) {
    support::TestRegistry test(false);
    RegistryQuenLtd company(Registry::registryRead);
    ASSERT_TRUE(company.isValid());
    Registry made(company, "Tests", Registry::registryRead, true);
    EXPECT_TRUE(made.isValid() && company.hasKey("tests") && !made.setValue("v", 1));
    EXPECT_TRUE(Registry("HKEY_CURRENT_USER\\Software", Registry::registryRead, false).hasKey("quen ltd."));
    EXPECT_TRUE(RegistryQuenLtd(company) == company);
    const Registry plain(company);  // the same handles in a plain object
    EXPECT_FALSE(plain == company || company == plain);
    RegistryQuenLtd other(Registry::registryWrite);
    EXPECT_FALSE(other == company);
    other = company;
    EXPECT_TRUE(other == company);
}

TEST_F(RegistryApi, NamesIgnoreCaseKeepTheirsAndSortSubKeys) {
    for (const char* name : {"MixedCase", "MIXEDCASE", "beta", "Gamma", "alpha", "Alpha2", "delta\\under"}) {
        RegCloseKey(create(key_, name));
    }
    EXPECT_EQ((std::vector<std::string>{"alpha", "Alpha2", "beta", "delta", "Gamma", "MixedCase"}), subKeys(key_));
    const BYTE two[] = {2, 0, 0, 0};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "ValueName", 0, REG_DWORD, one_, 4));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "VALUENAME", 0, REG_BINARY, two, 4));
    char name[32];
    BYTE data[8];
    DWORD length = sizeof name, type = 0, size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &length, nullptr, &type, data, &size));
    EXPECT_EQ("ValueName", std::string(name, length));
    EXPECT_TRUE(type == REG_BINARY && size == 4 && data[0] == 2);  // the type goes with the data
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, enumValue(1, 32, 16));
}

TEST_F(RegistryApi, ShortBuffersGetTheSizeNeeded) {
    const char text[] = "twelve chars";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 13));
    BYTE data[4];
    DWORD size = sizeof data, type = 0;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key_, "TEXT", nullptr, &type, data, &size));
    EXPECT_TRUE(size == 13 && type == REG_SZ);
    EXPECT_EQ(ERROR_MORE_DATA, enumValue(0, 4, 13));  // "text" and its zero need five
    EXPECT_EQ(ERROR_MORE_DATA, enumValue(0, 8, 4));
    EXPECT_EQ(13u, dataSize_);

    RegCloseKey(create(key_, "child"));
    DWORD length = 0;
    EXPECT_EQ(ERROR_MORE_DATA, enumKey(key_, 5));  // "child" and its zero need six
    EXPECT_EQ(ERROR_SUCCESS, enumKey(key_, 8, &length));
    EXPECT_EQ(5u, length);
}

TEST_F(RegistryApi, AStringStoredWithoutItsZeroGetsOneUncountedWhereThereIsRoom) {
    const BYTE ab[] = {'a', 'b'};
    for (const DWORD type : {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "v", 0, type, ab, 2));
        for (const DWORD room : {3, 2}) {
            BYTE data[3] = {'x', 'x', 'x'};
            DWORD size = room;
            EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "v", nullptr, nullptr, data, &size));
            EXPECT_TRUE(size == 2 && data[2] == (type == REG_BINARY || room == 2 ? 'x' : 0)) << type << " in " << room;
        }
    }
}

TEST_F(RegistryApi, MissingThingsAndClosedHandles) {
    HKEY missing = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(key_, "missing", 0, KEY_READ, &missing));
    EXPECT_EQ(nullptr, missing);
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "missing", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, nullptr, nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_, "missing"));
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, enumKey(key_, 32));
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, enumValue(0, 32, 16));
    EXPECT_EQ(ERROR_BAD_PATHNAME,
              RegCreateKeyExA(key_, "\\leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &missing, nullptr));

    HKEY child = create(key_, "child");
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(child));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(child, "x", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));
    // The roots are never closed, and an empty sub-key is the root itself.
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
    EXPECT_EQ(HKEY_CURRENT_USER, open(HKEY_CURRENT_USER, "", KEY_READ));
}

// Sub-keys are opened and made whatever the handle's rights: Windows checks
// the key's security there, not the handle's access.
TEST_F(RegistryApi, ReadOnlyKeysRefuseWritesButMakeSubKeys) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "v", 0, REG_DWORD, one_, 4));
    HKEY reader = open(HKEY_CURRENT_USER, test_.subKey().c_str(), KEY_READ);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(reader, "v", 0, REG_DWORD, one_, 4));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(reader, "v"));
    DWORD disposition = 0, size = 0;
    for (const char* name : {"made\\deeper", "MADE\\Deeper"}) {
        RegCloseKey(create(reader, name, &disposition, KEY_READ));
        EXPECT_EQ(name[0] == 'm' ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY, static_cast<LONG>(disposition));
    }
    RegCloseKey(reader);

    HKEY writer = open(HKEY_CURRENT_USER, test_.subKey().c_str(), KEY_WRITE);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(writer, "v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_ACCESS_DENIED, enumKey(writer, 8));
    EXPECT_EQ(ERROR_ACCESS_DENIED, enumValue(0, 8, 16, writer));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(writer, "v"));
    RegCloseKey(writer);
}
