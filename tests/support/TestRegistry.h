// A registry key of the test's own, under the company key:
// HKEY_CURRENT_USER\Software\QUEN Ltd.\Tests\<suite>.<test>, removed with
// everything below it afterwards. On Linux the test also gets a registry
// store of its own: QUEN_REGISTRY names a file in a new temporary folder,
// which goes afterwards.
//
// A child process (ChildProcess) works on its parent's key and store: start
// it with childEnvironment(); there the object removes nothing.
#ifndef QUEN_TESTS_SUPPORT_TESTREGISTRY_H
#define QUEN_TESTS_SUPPORT_TESTREGISTRY_H

#include <string>

#include "support/ChildProcess.h"

namespace support {

class TestRegistry {
public:
    // `makeTestsKey` false leaves the store as a new installation has it: on
    // Linux not even the company key is there (on Windows only the test's
    // own key is gone).
    explicit TestRegistry(bool makeTestsKey = true);
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    // The key's full path, "HKEY_CURRENT_USER\Software\QUEN Ltd.\Tests\...".
    std::string path() const { return "HKEY_CURRENT_USER\\" + subKey_; }
    // The same below HKEY_CURRENT_USER.
    const std::string& subKey() const { return subKey_; }
    // The store file on Linux; empty on Windows.
    const std::string& storeFile() const { return storeFile_; }
    Environment childEnvironment() const;

private:
    // The platform's part: a store of the test's own, and removing it.
    void makeStore();
    void removeStore();

    std::string subKey_;
    std::string storeFile_;
    bool owner_;
};

}  // namespace support

#endif
