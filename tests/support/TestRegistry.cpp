#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "quen/platform/Win32.h"

namespace support {

TestRegistry::TestRegistry(bool makeTestsKey) : owner_(!isChildProcess()) {
    const char* inherited = std::getenv(keyVariable);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    subKey_ = !owner_ && inherited != nullptr ? inherited
                                              : std::string("Software\\QUEN Ltd.\\Tests\\") +
                                                    (test ? test->test_suite_name() : "none") + "." +
                                                    (test ? test->name() : "none");
    makeStore();
    HKEY key = nullptr;  // the company key and the folder of the test keys, as a test expects them
    if (owner_ && makeTestsKey && RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QUEN Ltd.\\Tests", 0, nullptr, 0,
                                                  KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

TestRegistry::~TestRegistry() {
    if (owner_) removeStore();
}

}  // namespace support
