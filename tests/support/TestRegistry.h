// A key of the test's own, HKCU\Software\QUEN Ltd.\Tests\<suite>.<test>, removed afterwards; on Linux
// also a store of its own. A child started with childEnvironment() shares both and removes nothing.
#ifndef QUEN_TESTS_SUPPORT_TESTREGISTRY_H
#define QUEN_TESTS_SUPPORT_TESTREGISTRY_H

#include <string>

#include "support/ChildProcess.h"

namespace support {

class TestRegistry {
public:
    // false leaves the store as a new installation has it (on Linux without the company key).
    explicit TestRegistry(bool makeTestsKey = true);
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    std::string path() const { return "HKEY_CURRENT_USER\\" + subKey_; }
    const std::string& subKey() const { return subKey_; }  // below HKEY_CURRENT_USER
    const std::string& storeFile() const { return storeFile_; }  // Linux; empty on Windows
    Environment childEnvironment() const { return Environment{{keyVariable, subKey_}}; }

private:
    static constexpr const char* keyVariable = "QUEN_TEST_REGISTRY_KEY";
    void makeStore();  // the platform's part
    void removeStore();

    std::string subKey_, storeFile_;
    bool owner_;
};

}  // namespace support

#endif
