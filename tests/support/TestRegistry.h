// A registry key of the test's own, under the company key:
// HKEY_CURRENT_USER\Software\QUEN Ltd.\Tests\<suite>.<test>, removed with
// everything below it afterwards. On Linux the test also gets a registry
// store of its own: QUEN_REGISTRY names a file in a new temporary folder,
// which goes afterwards. A child process (ChildProcess) started with
// childEnvironment() works on its parent's key and store, and removes nothing.
#ifndef QUEN_TESTS_SUPPORT_TESTREGISTRY_H
#define QUEN_TESTS_SUPPORT_TESTREGISTRY_H

#include <string>

#include "support/ChildProcess.h"

namespace support {

class TestRegistry {
public:
    // `makeTestsKey` false leaves the store as a new installation has it: on
    // Linux not even the company key is there.
    explicit TestRegistry(bool makeTestsKey = true);
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    // "HKEY_CURRENT_USER\Software\QUEN Ltd.\Tests\...", and the same below HKEY_CURRENT_USER.
    std::string path() const { return "HKEY_CURRENT_USER\\" + subKey_; }
    const std::string& subKey() const { return subKey_; }
    const std::string& storeFile() const { return storeFile_; }  // Linux; empty on Windows
    Environment childEnvironment() const;

private:
    void makeStore();  // the platform's part
    void removeStore();

    std::string subKey_;
    std::string storeFile_;
    bool owner_;
};

}  // namespace support

#endif
