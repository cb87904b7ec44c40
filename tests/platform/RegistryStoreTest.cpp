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

const BYTE one[] = {1, 0, 0, 0}, two[] = {2, 0, 0, 0};

std::vector<std::string> valueNames(HKEY key) {
    std::vector<std::string> names;
    char name[64];
    DWORD length = sizeof name;
    while (RegEnumValueA(key, static_cast<DWORD>(names.size()), name, &length, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        names.push_back(name);
        length = sizeof name;
    }
    return names;
}

HKEY openKey(const support::TestRegistry& test, REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, test.subKey().c_str(), 0, nullptr, 0, access, nullptr,
                                             &key, nullptr));
    return key;
}

DWORD dwordValue(HKEY key, const char* name, LONG& result) {
    DWORD value = 0, size = sizeof value;
    result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

LONG openSoftware() {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return result;
}

// Stores in a folder of the test's own; use() points QUEN_REGISTRY at one.
class RegistryStoreFault : public ::testing::Test {
protected:
    std::string use(const std::string& leaf) {
        const std::string file = folder.file(leaf);
        setenv("QUEN_REGISTRY", file.c_str(), 1);
        return file;
    }
    support::TestRegistry test;
    support::ScratchFolder folder;
    const char* const company = "HKEY_CURRENT_USER\\Software\\QUEN Ltd.";
};

}  // namespace

// QUEN_REGISTRY, else under an absolute XDG_CONFIG_HOME (the XDG rules), else
// under HOME, else under the home folder of the user's passwd entry.
TEST(RegistryStore, FileComesFromTheEnvironment) {
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(nullptr, user);
    const std::string fromPasswd = std::string(user->pw_dir) + "/.config/quen/registry.sqlite3";
    const struct { const char *registry, *config, *home; std::string file; } rows[] = {
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
            if (variable.second != nullptr) setenv(variable.first, variable.second, 1);
            else unsetenv(variable.first);
        }
        EXPECT_EQ(row.file, quen::posix::registryStoreFile());
    }
}

TEST(RegistryStore, ValuesEnumerateInTheOrderTheyWereMade) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    for (const char* name : {"zulu", "alpha", "Mike"}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_BINARY, one, 4));
    }
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "ZULU", 0, REG_DWORD, one, 4));  // keeps its place and case
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "alpha"));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "alpha", 0, REG_BINARY, one, 2));  // made again: last
    EXPECT_EQ((std::vector<std::string>{"zulu", "Mike", "alpha"}), valueNames(key));
    RegCloseKey(key);
}

// Several faults: the handle's first, then the right it lacks, then the call's arguments.
TEST(RegistryStore, HandleFirstThenRightThenArguments) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_ALL_ACCESS), closed = openKey(test, KEY_ALL_ACCESS), result = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(closed));
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

TEST_F(RegistryStoreFault, UnusableStoresGiveErrorsAndStayAsTheyWere) {
    const std::string garbage = use("garbage.sqlite3"), text(3000, 'x');  // no database at all
    support::writeFile(garbage, text);
    EXPECT_EQ(ERROR_BADDB, openSoftware());
    EXPECT_EQ(ERROR_BADDB, RegSetValueExA(HKEY_CURRENT_USER, "v", 0, REG_DWORD, one, 4));
    EXPECT_EQ(text, support::readFile(garbage));
    EXPECT_FALSE(support::fileExists(garbage + "-wal"));

    // Another program's database: our store with another application's mark.
    const std::string foreign = use("foreign.sqlite3");
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());
    use("elsewhere.sqlite3");
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());  // the first store is closed now
    std::string header = support::readFile(foreign);
    ASSERT_GT(header.size(), 72u);
    support::writeFile(foreign, header.replace(68, 4, "APPS"));
    use("foreign.sqlite3");
    EXPECT_EQ(ERROR_BADDB, openSoftware());
    EXPECT_EQ(header, support::readFile(foreign));

    // A folder that does not exist, and a folder in place of the file.
    use("missing/registry.sqlite3");
    EXPECT_EQ(ERROR_CANTOPEN, openSoftware());
    EXPECT_FALSE(support::fileExists(folder.file("missing")));
    setenv("QUEN_REGISTRY", folder.path().c_str(), 1);
    EXPECT_EQ(ERROR_CANTOPEN, openSoftware());
    use("good.sqlite3");  // once the variable names a good store again, the calls work
    EXPECT_EQ(ERROR_SUCCESS, openSoftware());
}

TEST_F(RegistryStoreFault, DamagedStoreNeverCrashes) {
    const std::string file = use("registry.sqlite3");
    auto name = [](int i) { return quen::StdString(("value" + std::to_string(i)).c_str()); };
    {
        quen::Registry key(company, quen::Registry::registryWrite, true);
        for (int i = 0; i < 300; ++i) ASSERT_TRUE(key.setValue(name(i), i));
    }
    use("other.sqlite3");  // switching stores closes this one, with its log folded into the file
    ASSERT_EQ(ERROR_SUCCESS, openSoftware());
    std::string bytes = support::readFile(file);
    ASSERT_GT(bytes.size(), 8192u);
    for (std::size_t i = 4096; i < bytes.size(); i += 7) bytes[i] = static_cast<char>(0xA5);
    support::writeFile(file, bytes);
    use("registry.sqlite3");
    quen::Registry key(company, quen::Registry::registryRead, false);
    int value = -1;
    for (int i = 0; i < 300; ++i) EXPECT_TRUE(!key.getValue(name(i), value) || value == i) << i;
    DWORD size = 0;
    const LONG result = RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size);
    EXPECT_TRUE(result == ERROR_BADDB || result == ERROR_FILE_NOT_FOUND) << result;
}

// A process of its own finds the test key's "marker" at QUEN_TEST_MARKER in the store now named.
CHILD_PART(RegistryStoreChild, FindsTheMarker) {
    support::TestRegistry test;
    HKEY key = openKey(test, KEY_READ);
    LONG result = -1;
    EXPECT_EQ(std::strtoul(std::getenv("QUEN_TEST_MARKER"), nullptr, 10), dwordValue(key, "marker", result));
    EXPECT_EQ(ERROR_SUCCESS, result);
    RegCloseKey(key);
}

// A store deleted or replaced under a live process: its handles fail as on a
// deleted key, rather than write where nobody reads.
TEST_F(RegistryStoreFault, AStoreDeletedOrReplacedIsNeverWrittenBlind) {
    const std::string replacement = use("replacement.sqlite3");
    HKEY key = openKey(test, KEY_ALL_ACCESS);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "origin", 0, REG_DWORD, two, 4));
    RegCloseKey(key);
    setenv("QUEN_REGISTRY", test.storeFile().c_str(), 1);
    DWORD marker = 0;
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replaced" : "deleted");
        key = openKey(test, KEY_ALL_ACCESS);
        quen::Registry object(test.path().c_str(), quen::Registry::registryWrite, false);
        ASSERT_TRUE(object.setValue("before", 1));
        if (replace) {
            ASSERT_EQ(0, std::rename(replacement.c_str(), test.storeFile().c_str()));
        } else {
            for (const char* suffix : {"", "-wal", "-shm"}) std::remove((test.storeFile() + suffix).c_str());
        }
        HKEY sub = nullptr;
        EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(key, "after", 0, REG_DWORD, one, 4));
        EXPECT_EQ(ERROR_KEY_DELETED,
                  RegCreateKeyExA(key, "new", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr));
        EXPECT_FALSE(object.setValue("after", 1));
        const std::unique_ptr<quen::Registry> made(object.createKey("new", quen::Registry::registryWrite));
        EXPECT_TRUE(made == nullptr || !made->isValid());
        RegCloseKey(key);

        key = openKey(test, KEY_ALL_ACCESS);
        LONG result = -1;
        EXPECT_EQ(replace ? 2u : 0u, dwordValue(key, "origin", result));
        EXPECT_EQ(replace ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND, result);
        ++marker;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "marker", 0, REG_DWORD, reinterpret_cast<BYTE*>(&marker), 4));
        RegCloseKey(key);
        support::Environment environment = test.childEnvironment();
        environment.emplace_back("QUEN_TEST_MARKER", std::to_string(marker));
        EXPECT_EQ(0, support::ChildProcess("RegistryStoreChild.FindsTheMarker", environment).wait());
    }
}

// A relative QUEN_REGISTRY names the file it named when the store opened:
// moving to another folder neither loses the store nor makes it look gone.
TEST_F(RegistryStoreFault, RelativeNameStaysWithItsFile) {
    char start[4096];
    ASSERT_NE(nullptr, getcwd(start, sizeof start));
    ASSERT_EQ(0, chdir(folder.path().c_str()));
    setenv("QUEN_REGISTRY", "relative.sqlite3", 1);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Moved", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(0, chdir("/"));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "after the move", 0, REG_DWORD, one, 4));
    RegCloseKey(key);
    EXPECT_FALSE(support::fileExists("/relative.sqlite3"));
    ASSERT_EQ(0, chdir(start));
}

// Another program changed the layout: lookups fail as reads, changes as
// writes, whether the call's statement was ready before or is made now.
TEST_F(RegistryStoreFault, ALayoutChangedUnderTheStoreGivesReadAndWriteErrors) {
    HKEY key = openKey(test, KEY_ALL_ACCESS);
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
