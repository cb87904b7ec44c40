// Several processes on one registry: writes at once lose nothing, and a
// value written is there when the writer dies right after.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "quen/registry/Registry.h"
#include "support/ChildProcess.h"
#include "support/TestRegistry.h"

using quen::Registry;
using quen::StdString;

namespace {

const Registry::RegistryFlags readWrite = Registry::registryRead | Registry::registryWrite;
const int valuesEach = 150;

StdString named(const std::string& prefix, int i) { return StdString((prefix + std::to_string(i)).c_str()); }

void writeValues(const std::string& path, const std::string& prefix) {
    Registry key(StdString(path.c_str()), readWrite, true);
    for (int i = 0; i < valuesEach; ++i) {
        ASSERT_TRUE(key.setValue(named(prefix, i), i) && key.setValue("shared", StdString(prefix.c_str())));
        if (i % 25 == 0) {
            ASSERT_TRUE(Registry(key, named("sub", i), readWrite, true).isValid());
        }
    }
}

void expectWhatTheWriterLeft(const std::string& path) {
    Registry key(StdString(path.c_str()), Registry::registryRead, false);
    StdString text;
    int counter = -1;
    EXPECT_TRUE(key.getValue("written", text) && std::string(text.c_str()) == "before the crash");
    EXPECT_TRUE(key.getValue("counter", counter) && counter >= 0);
}

}  // namespace

CHILD_PART(RegistryChild, WritesValues) {
    support::TestRegistry test;
    writeValues(test.path(), std::getenv("QUEN_TEST_PREFIX"));
}

TEST(RegistryProcesses, WritingAtOnceLosesNothing) {
    support::TestRegistry test;
    support::Environment first = test.childEnvironment(), second = first;
    first.emplace_back("QUEN_TEST_PREFIX", "first");
    second.emplace_back("QUEN_TEST_PREFIX", "second");
    support::ChildProcess one("RegistryChild.WritesValues", first), two("RegistryChild.WritesValues", second);
    writeValues(test.path(), "parent");
    EXPECT_EQ(0, one.wait());
    EXPECT_EQ(0, two.wait());

    Registry key(StdString(test.path().c_str()), Registry::registryRead, false);
    for (const char* prefix : {"first", "second", "parent"}) {
        for (int i = 0; i < valuesEach; ++i) {
            int value = -1;
            ASSERT_TRUE(key.getValue(named(prefix, i), value) && value == i) << prefix << i;
        }
    }
    StdString last;
    EXPECT_TRUE(key.getValue("shared", last) && (last == "first" || last == "second" || last == "parent"));
    EXPECT_TRUE(key.hasKey("sub125"));
}

CHILD_PART(RegistryChild, WritesAndWaitsToBeKilled) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("written", StdString("before the crash")) && key.setValue("ready", true));
    for (int counter = 0;; ++counter) {
        key.setValue("counter", counter);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

CHILD_PART(RegistryChild, FindsTheValues) { expectWhatTheWriterLeft(support::TestRegistry().path()); }

TEST(RegistryProcesses, ValuesOutliveAWriterThatIsKilled) {
    support::TestRegistry test;
    {
        support::ChildProcess writer("RegistryChild.WritesAndWaitsToBeKilled", test.childEnvironment());
        Registry key(StdString(test.path().c_str()), readWrite, true);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!key.hasValue("ready") && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(key.hasValue("ready"));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        writer.kill();
        EXPECT_EQ(-1, writer.wait());
        expectWhatTheWriterLeft(test.path());
    }
    // A process that opens the registry afresh finds them too.
    EXPECT_EQ(0, support::ChildProcess("RegistryChild.FindsTheValues", test.childEnvironment()).wait());
}
