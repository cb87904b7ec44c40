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
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    subKey_ = !owner_ && inherited != nullptr
                  ? inherited
                  : std::string("Software\\QUEN Ltd.\\Tests\\") + (test ? test->test_suite_name() : "none") + "." +
                        (test ? test->name() : "none");
    makeStore();
    HKEY key = nullptr;
    // The company key and the folder of the test keys, as a test expects them.
    if (owner_ && makeTestsKey && RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QUEN Ltd.\\Tests", 0, nullptr, 0,
                                                  KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

TestRegistry::~TestRegistry() {
    if (owner_) removeStore();
}

Environment TestRegistry::childEnvironment() const {
    return Environment{{keyVariable, subKey_}};
}

}  // namespace support
