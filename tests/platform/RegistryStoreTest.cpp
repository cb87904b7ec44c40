// The Linux registry store: where it is, what a new one holds, the orders
// that Wine does not share, and stores that cannot be used.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include "quen/platform/Win32.h"
#include "quen/registry/Registry.h"
#include "support/ChildProcess.h"
#include "support/FileSupport.h"
#include "support/TestRegistry.h"

namespace {

std::vector<std::string> valueNames(HKEY key) {
    std::vector<std::string> names;
    char name[64];
    DWORD length = sizeof name;
    for (DWORD index = 0; RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) == 0;
         ++index, length = sizeof name) {
        names.push_back(name);
    }
    return names;
}

quen::StdString valueName(int i) {
    return quen::StdString(("value" + std::to_string(i)).c_str());
}

// A key of the test's own, made first if need be, opened with the rights given.
HKEY openKey(const support::TestRegistry& test, REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, test.subKey().c_str(), 0, nullptr, 0, access, nullptr,
                                             &key, nullptr));
    return key;
}

DWORD dwordValue(HKEY key, const char* name, LONG& result) {
    DWORD value = 0;
    DWORD size = sizeof value;
    result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

// The answer of the registry through the current store.
LONG openSoftware() {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
    if (result == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return result;
}

}  // namespace

// QUEN_REGISTRY, else under an absolute XDG_CONFIG_HOME (the XDG rules), else
// under HOME, else under the home folder of the user's passwd entry.
TEST(RegistryStore, FileComesFromTheEnvironment) {
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(nullptr, user);
    const std::string fromPasswd = std::string(user->pw_dir) + "/.config/quen/registry.sqlite3";
    const struct {
        const char *registry, *config, *home;
        std::string file;
    } rows[] = {
        {"/somewhere/chosen.db", "/config", "/home/someone", "/somewhere/chosen.db"},
        {nullptr, "/config", "/home/someone", "/config/quen/registry.sqlite3"},
        {"", "relative", "/home/someone", "/home/someone/.config/quen/registry.sqlite3"},
        {nullptr, nullptr, "/home/someone", "/home/someone/.config/quen/registry.sqlite3"},
        {nullptr, nullptr, nullptr, fromPasswd},
        {nullptr, "", "", fromPasswd},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const std::pair<const char*, const char*> variables[] = {
            {"QUEN_REGISTRY", row.registry}, {"XDG_CONFIG_HOME", row.config}, {"HOME", row.home}};
        for (const auto& variable : variables) {
            if (variable.second != nullptr) {
                setenv(variable.first, variable.second, 1);
            } else {
                unsetenv(variable.first);
            }
        }
        EXPECT_EQ(row.file, quen::posix::registryStoreFile());
    }
}

TEST(RegistryStore, NewStoreHasTheRootsAndTheirSoftwareKeys) {
    support::ScratchFolder folder;
    unsetenv("QUEN_REGISTRY");
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    EXPECT_EQ(ERROR_SUCCESS, openSoftware());
    EXPECT_TRUE(support::fileExists(folder.path() + "/quen/registry.sqlite3"));

    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key));
    RegCloseKey(key);
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG}) {
        char name[16];
        DWORD length = sizeof name;
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExA(root, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    }
}

TEST(RegistryStore, ValuesEnumerateInTheOrderTheyWereMade) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    const BYTE data[] = {1, 2, 3, 4};
    for (const char* name : {"zulu", "alpha", "Mike"}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_BINARY, data, 4));
    }
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "ZULU", 0, REG_DWORD, data, 4));  // keeps its place and case
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "alpha"));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "alpha", 0, REG_BINARY, data, 2));  // made again: last
    EXPECT_EQ((std::vector<std::string>{"zulu", "Mike", "alpha"}), valueNames(key));
    RegCloseKey(key);
}

TEST(RegistryStore, VolatileKeysAreKeptAndClassesAreNot) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_WRITE);
    HKEY child = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "class";
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key, "new\\deeper", 0, keyClass, REG_OPTION_VOLATILE, KEY_READ, nullptr,
                                             &child, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(child);
    RegCloseKey(key);
    EXPECT_TRUE(quen::Registry((test.path() + "\\new\\deeper").c_str(), quen::Registry::registryRead, false).isValid());
}

// A call with several faults reports the handle first, then the right the
// handle lacks, then its own arguments.
TEST(RegistryStore, HandleFirstThenRightThenArguments) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    HKEY closed = openKey(test, KEY_ALL_ACCESS);
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(closed));
    HKEY result = nullptr;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExA(closed, "\\leading", 0, KEY_READ, &result));
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegCreateKeyExA(closed, "\\leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &result, nullptr));
    const std::string tooLong(16384, 'n');
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegSetValueExA(closed, tooLong.c_str(), 0, REG_SZ, nullptr, 1));

    HKEY reader = openKey(test, KEY_READ);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(reader, tooLong.c_str(), 0, REG_SZ, nullptr, 1));
    RegCloseKey(reader);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExA(key, tooLong.c_str(), 0, REG_SZ, nullptr, 1));
    EXPECT_EQ(ERROR_NOACCESS, RegSetValueExA(key, "v", 0, REG_SZ, nullptr, 1));
    RegCloseKey(key);
}

TEST(RegistryStore, UnusableStoresGiveErrorsAndStayAsTheyWere) {
    support::ScratchFolder folder;
    // No database at all.
    const std::string garbage = folder.path() + "/garbage.sqlite3";
    const std::string text(3000, 'x');
    support::writeFile(garbage, text);
    setenv("QUEN_REGISTRY", garbage.c_str(), 1);
    EXPECT_EQ(ERROR_BADDB, openSoftware());
    const BYTE data[] = {1, 0, 0, 0};
    EXPECT_EQ(ERROR_BADDB, RegSetValueExA(HKEY_CURRENT_USER, "v", 0, REG_DWORD, data, 4));
    quen::Registry registry("HKEY_CURRENT_USER\\Software\\QUEN Ltd.", quen::Registry::registryWrite, true);
    EXPECT_FALSE(registry.isValid());
    EXPECT_FALSE(registry.setValue("v", 1));
    EXPECT_EQ(text, support::readFile(garbage));
    EXPECT_FALSE(support::fileExists(garbage + "-wal"));

    // Another program's database: a store of ours with another
    // application's mark in its header.
    const std::string foreign = folder.path() + "/foreign.sqlite3";
    setenv("QUEN_REGISTRY", foreign.c_str(), 1);
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());
    setenv("QUEN_REGISTRY", (folder.path() + "/elsewhere.sqlite3").c_str(), 1);
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());  // the first store is closed now
    std::string header = support::readFile(foreign);
    ASSERT_GT(header.size(), 72u);
    header.replace(68, 4, "APPS");
    support::writeFile(foreign, header);
    setenv("QUEN_REGISTRY", foreign.c_str(), 1);
    EXPECT_EQ(ERROR_BADDB, openSoftware());
    EXPECT_EQ(header, support::readFile(foreign));

    // A folder that does not exist, and a folder in place of the file.
    setenv("QUEN_REGISTRY", (folder.path() + "/missing/registry.sqlite3").c_str(), 1);
    EXPECT_EQ(ERROR_CANTOPEN, openSoftware());
    EXPECT_FALSE(support::fileExists(folder.path() + "/missing"));
    setenv("QUEN_REGISTRY", folder.path().c_str(), 1);
    EXPECT_EQ(ERROR_CANTOPEN, openSoftware());

    // Once the variable names a good store again, the calls work.
    setenv("QUEN_REGISTRY", (folder.path() + "/good.sqlite3").c_str(), 1);
    EXPECT_EQ(ERROR_SUCCESS, openSoftware());
}

TEST(RegistryStore, DamagedStoreNeverCrashes) {
    support::ScratchFolder folder;
    const std::string file = folder.path() + "/registry.sqlite3";
    setenv("QUEN_REGISTRY", file.c_str(), 1);
    {
        quen::Registry key("HKEY_CURRENT_USER\\Software\\QUEN Ltd.", quen::Registry::registryWrite, true);
        ASSERT_TRUE(key.isValid());
        for (int i = 0; i < 300; ++i) {
            ASSERT_TRUE(key.setValue(valueName(i), i));
        }
    }
    // Switching stores closes this one, with its log folded into the file.
    setenv("QUEN_REGISTRY", (folder.path() + "/other.sqlite3").c_str(), 1);
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());
    std::string bytes = support::readFile(file);
    ASSERT_GT(bytes.size(), 8192u);
    for (std::size_t i = 4096; i < bytes.size(); i += 7) {
        bytes[i] = static_cast<char>(0xA5);
    }
    support::writeFile(file, bytes);
    setenv("QUEN_REGISTRY", file.c_str(), 1);
    quen::Registry key("HKEY_CURRENT_USER\\Software\\QUEN Ltd.", quen::Registry::registryRead, false);
    int value = -1;
    for (int i = 0; i < 300; ++i) {
        if (key.getValue(valueName(i), value)) {
            EXPECT_EQ(i, value);
        }
    }
    DWORD size = 0;
    const LONG result = RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size);
    EXPECT_TRUE(result == ERROR_BADDB || result == ERROR_FILE_NOT_FOUND) << result;
}

// In a process of its own: the value "marker" of the test's key, in the
// store now at QUEN_REGISTRY, is QUEN_TEST_MARKER.
CHILD_PART(RegistryStoreChild, FindsTheMarker) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_READ);
    LONG result = -1;
    EXPECT_EQ(std::strtoul(std::getenv("QUEN_TEST_MARKER"), nullptr, 10), dwordValue(key, "marker", result));
    EXPECT_EQ(ERROR_SUCCESS, result);
    RegCloseKey(key);
}

// A store deleted or replaced under a live process: its handles fail as on a
// deleted key, rather than write where nobody reads; the roots open the
// store now at the path.
TEST(RegistryStore, AStoreDeletedOrReplacedIsNeverWrittenBlind) {
    support::TestRegistry test;
    support::ScratchFolder folder;
    const std::string replacement = folder.path() + "/replacement.sqlite3";
    const BYTE two[] = {2, 0, 0, 0};
    setenv("QUEN_REGISTRY", replacement.c_str(), 1);
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "origin", 0, REG_DWORD, two, 4));
    RegCloseKey(key);
    setenv("QUEN_REGISTRY", test.storeFile().c_str(), 1);

    const struct {
        const char* what;
        bool replace;
    } rows[] = {{"deleted", false}, {"replaced", true}};
    DWORD marker = 0;
    for (const auto& row : rows) {
        key = openKey(test, KEY_ALL_ACCESS);
        quen::Registry object(test.path().c_str(), quen::Registry::registryWrite, false);
        ASSERT_TRUE(object.setValue("before", 1)) << row.what;
        if (row.replace) {
            ASSERT_EQ(0, std::rename(replacement.c_str(), test.storeFile().c_str()));
        } else {
            for (const char* suffix : {"", "-wal", "-shm"}) {
                std::remove((test.storeFile() + suffix).c_str());
            }
        }
        const BYTE one[] = {1, 0, 0, 0};
        HKEY sub = nullptr;
        EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(key, "after", 0, REG_DWORD, one, 4)) << row.what;
        EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExA(key, "new", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub,
                                                     nullptr)) << row.what;
        EXPECT_FALSE(object.setValue("after", 1)) << row.what;
        const std::unique_ptr<quen::Registry> made(object.createKey("new", quen::Registry::registryWrite));
        EXPECT_TRUE(made == nullptr || !made->isValid()) << row.what;
        RegCloseKey(key);

        key = openKey(test, KEY_ALL_ACCESS);
        LONG result = -1;
        EXPECT_EQ(row.replace ? 2u : 0u, dwordValue(key, "origin", result)) << row.what;
        EXPECT_EQ(row.replace ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND, result) << row.what;
        ++marker;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "marker", 0, REG_DWORD, reinterpret_cast<BYTE*>(&marker), 4));
        RegCloseKey(key);
        support::Environment environment = test.childEnvironment();
        environment.emplace_back("QUEN_TEST_MARKER", std::to_string(marker));
        EXPECT_EQ(0, support::ChildProcess("RegistryStoreChild.FindsTheMarker", environment).wait()) << row.what;
    }
}

// A relative QUEN_REGISTRY names the file it named when the store opened:
// moving to another folder neither loses the store nor makes it look gone.
TEST(RegistryStore, RelativeNameStaysWithItsFile) {
    support::ScratchFolder folder;
    char start[4096];
    ASSERT_NE(nullptr, getcwd(start, sizeof start));
    ASSERT_EQ(0, chdir(folder.path().c_str()));
    setenv("QUEN_REGISTRY", "relative.sqlite3", 1);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Moved", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(0, chdir("/"));
    const BYTE one[] = {1, 0, 0, 0};
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "after the move", 0, REG_DWORD, one, 4));
    RegCloseKey(key);
    EXPECT_FALSE(support::fileExists("/relative.sqlite3"));
    ASSERT_EQ(0, chdir(start));
}

// Another program changed the store's layout under a live handle: lookups
// fail as reads and changes as writes, whether the call's statement was
// ready before or is made afterwards.
TEST(RegistryStore, ALayoutChangedUnderTheStoreGivesReadAndWriteErrors) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    const BYTE one[] = {1, 0, 0, 0};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "v", 0, REG_DWORD, one, 4));
    ASSERT_EQ(std::vector<std::string>{"v"}, valueNames(key));
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(test.storeFile().c_str(), &other));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(other, "DROP TABLE vals", nullptr, nullptr, nullptr));
    sqlite3_close(other);
    char name[8];
    DWORD length = sizeof name, size = 0;
    EXPECT_EQ(ERROR_CANTREAD, RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size));  // made now
    EXPECT_EQ(ERROR_CANTREAD, RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));  // ready
    EXPECT_EQ(ERROR_CANTWRITE, RegSetValueExA(key, "v", 0, REG_DWORD, one, 4));  // ready
    EXPECT_EQ(ERROR_CANTWRITE, RegDeleteValueA(key, "v"));  // made now
    RegCloseKey(key);
}
