#include "support/TestRegistry.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "quen/platform/Win32.h"

namespace support {

namespace {
const char* const keyVariable = "QUEN_TEST_REGISTRY_KEY";
}

TestRegistry::TestRegistry(bool makeTestsKey) : owner_(!isChildProcess()) {
    const char* inherited = std::getenv(keyVariable);
    if (!owner_ && inherited != nullptr) {
        subKey_ = inherited;
    } else {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        subKey_ = std::string("Software\\QUEN Ltd.\\Tests\\") + (test != nullptr ? test->test_suite_name() : "none") +
                  "." + (test != nullptr ? test->name() : "none");
    }
    makeStore();
    if (owner_ && makeTestsKey) {
        // The company key and the folder of the test keys, as a test
        // expects to find them.
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QUEN Ltd.\\Tests", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            RegCloseKey(key);
        }
    }
}

TestRegistry::~TestRegistry() {
    if (owner_) {
        removeStore();
    }
}

Environment TestRegistry::childEnvironment() const {
    Environment environment;
    environment.push_back(std::make_pair(std::string(keyVariable), subKey_));
    return environment;
}

}  // namespace support
