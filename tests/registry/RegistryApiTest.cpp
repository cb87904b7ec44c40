// The registry calls themselves, as the library uses them: the same answers
// from Windows and from the library's own store on Linux.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quen/platform/Win32.h"
#include "support/TestRegistry.h"

namespace {

class RegistryApi : public ::testing::Test {
protected:
    void SetUp() override { key_ = create(HKEY_CURRENT_USER, test_.subKey().c_str()); }
    void TearDown() override { RegCloseKey(key_); }

    HKEY create(HKEY parent, const char* name, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
        HKEY made = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                                 &made, disposition))
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
        for (DWORD index = 0; RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                              ERROR_SUCCESS;
             ++index, length = sizeof name) {
            EXPECT_EQ(std::string(name).size(), length);
            names.push_back(name);
        }
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExA(key, static_cast<DWORD>(names.size()), name, &length, nullptr,
                                                     nullptr, nullptr, nullptr));
        return names;
    }

    support::TestRegistry test_;
    HKEY key_ = nullptr;
    const BYTE one_[4] = {1, 0, 0, 0};
};

}  // namespace

TEST_F(RegistryApi, NamesIgnoreCaseKeepTheirsAndSortSubKeys) {
    DWORD disposition = 0;
    RegCloseKey(create(key_, "MixedCase", &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(create(key_, "MIXEDCASE", &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    RegCloseKey(open(key_, "mixedcase", KEY_READ));
    for (const char* name : {"beta", "Gamma", "alpha", "Alpha2", "delta\\under"}) RegCloseKey(create(key_, name));
    EXPECT_EQ((std::vector<std::string>{"alpha", "Alpha2", "beta", "delta", "Gamma", "MixedCase"}), subKeys(key_));
    HKEY delta = open(key_, "DELTA", KEY_READ);
    EXPECT_EQ(std::vector<std::string>{"under"}, subKeys(delta));
    RegCloseKey(delta);

    const BYTE two[] = {2, 0, 0, 0};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "ValueName", 0, REG_DWORD, one_, 4));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "VALUENAME", 0, REG_BINARY, two, 4));
    char name[32];
    DWORD length = sizeof name, type = 0;
    BYTE data[8];
    DWORD size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &length, nullptr, &type, data, &size));
    EXPECT_EQ(std::string("ValueName"), name);
    EXPECT_EQ(9u, length);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);  // the type goes with the data
    EXPECT_TRUE(size == 4 && data[0] == 2);
    length = sizeof name;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(key_, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryApi, ShortBuffersGetTheSizeNeeded) {
    const char text[] = "twelve chars";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 13));
    BYTE data[4], whole[13];
    DWORD size = sizeof data, type = 0;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key_, "text", nullptr, &type, data, &size));
    EXPECT_EQ(13u, size);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "TEXT", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(13u, size);
    size = sizeof whole;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "text", nullptr, nullptr, whole, &size));
    EXPECT_EQ(std::string(text), reinterpret_cast<const char*>(whole));

    char name[4], longer[8];
    DWORD length = sizeof name;  // "text" and its zero need five
    size = sizeof whole;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, 0, name, &length, nullptr, nullptr, whole, &size));
    length = sizeof longer;
    size = sizeof data;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, 0, longer, &length, nullptr, nullptr, data, &size));
    EXPECT_EQ(13u, size);

    RegCloseKey(create(key_, "child"));
    char keyName[5];
    length = sizeof keyName;  // "child" and its zero need six
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExA(key_, 0, keyName, &length, nullptr, nullptr, nullptr, nullptr));
    length = sizeof longer;
    EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExA(key_, 0, longer, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(5u, length);
}

TEST_F(RegistryApi, MissingThingsAndClosedHandles) {
    HKEY missing = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(key_, "missing", 0, KEY_READ, &missing));
    EXPECT_EQ(nullptr, missing);
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "missing", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, nullptr, nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_, "missing"));
    EXPECT_EQ(std::vector<std::string>(), subKeys(key_));
    char name[16];
    DWORD length = sizeof name;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(key_, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    HKEY bad = nullptr;
    EXPECT_EQ(ERROR_BAD_PATHNAME,
              RegCreateKeyExA(key_, "\\leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bad, nullptr));

    HKEY child = create(key_, "child");
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(child));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(child));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(child, "x", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));
    // The roots are never closed, and an empty sub-key is the root itself.
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
    EXPECT_EQ(HKEY_CURRENT_USER, open(HKEY_CURRENT_USER, "", KEY_READ));
}

TEST_F(RegistryApi, ReadOnlyKeysRefuseWritesButMakeSubKeys) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "v", 0, REG_DWORD, one_, 4));
    RegCloseKey(create(key_, "existing"));
    HKEY reader = open(HKEY_CURRENT_USER, test_.subKey().c_str(), KEY_READ);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(reader, "v", 0, REG_DWORD, one_, 4));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(reader, "v"));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(reader, "v", nullptr, nullptr, nullptr, &size));
    // Sub-keys are opened and made whatever the handle's rights: Windows
    // checks the key's security there, not the handle's access.
    const struct {
        const char* name;
        DWORD disposition;
    } rows[] = {{"existing", REG_OPENED_EXISTING_KEY}, {"made\\deeper", REG_CREATED_NEW_KEY}};
    for (const auto& row : rows) {
        DWORD disposition = 0;
        RegCloseKey(create(reader, row.name, &disposition, KEY_READ));
        EXPECT_EQ(row.disposition, disposition) << row.name;
    }
    RegCloseKey(reader);

    HKEY writer = open(HKEY_CURRENT_USER, test_.subKey().c_str(), KEY_WRITE);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(writer, "v", nullptr, nullptr, nullptr, &size));
    char name[8];
    DWORD length = sizeof name;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegEnumKeyExA(writer, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    length = sizeof name;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegEnumValueA(writer, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(writer, "v"));
    RegCloseKey(writer);
}
