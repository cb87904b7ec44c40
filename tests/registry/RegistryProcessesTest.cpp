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

StdString valueName(const std::string& prefix, int i) {
    return StdString((prefix + std::to_string(i)).c_str());
}

// Writes its share of values, each with its own key made on the way.
void writeValues(const std::string& path, const std::string& prefix) {
    Registry key(StdString(path.c_str()), readWrite, true);
    ASSERT_TRUE(key.isValid());
    for (int i = 0; i < valuesEach; ++i) {
        ASSERT_TRUE(key.setValue(valueName(prefix, i), i));
        ASSERT_TRUE(key.setValue("shared", StdString(prefix.c_str())));
        if (i % 25 == 0) {
            std::unique_ptr<Registry> sub(key.createKey(StdString(("sub" + std::to_string(i)).c_str()), readWrite));
            ASSERT_TRUE(sub && sub->isValid());
        }
    }
}

support::Environment withPrefix(const support::TestRegistry& test, const char* prefix) {
    support::Environment environment = test.childEnvironment();
    environment.push_back(std::make_pair(std::string("QUEN_TEST_PREFIX"), std::string(prefix)));
    return environment;
}

// What the killed writer left: its first value and some count.
void expectWhatTheWriterLeft(Registry& key) {
    StdString text;
    ASSERT_TRUE(key.getValue("written", text));
    EXPECT_EQ(std::string("before the crash"), text.c_str());
    int counter = -1;
    EXPECT_TRUE(key.getValue("counter", counter));
    EXPECT_GE(counter, 0);
}

}  // namespace

CHILD_PART(RegistryChild, WritesValues) {
    support::TestRegistry test;
    const char* prefix = std::getenv("QUEN_TEST_PREFIX");
    ASSERT_NE(nullptr, prefix);
    writeValues(test.path(), prefix);
}

TEST(RegistryProcesses, WritingAtOnceLosesNothing) {
    support::TestRegistry test;
    support::ChildProcess one("RegistryChild.WritesValues", withPrefix(test, "first"));
    support::ChildProcess two("RegistryChild.WritesValues", withPrefix(test, "second"));
    writeValues(test.path(), "parent");
    EXPECT_EQ(0, one.wait());
    EXPECT_EQ(0, two.wait());

    Registry key(StdString(test.path().c_str()), Registry::registryRead, false);
    ASSERT_TRUE(key.isValid());
    for (const char* prefix : {"first", "second", "parent"}) {
        for (int i = 0; i < valuesEach; ++i) {
            int value = -1;
            ASSERT_TRUE(key.getValue(valueName(prefix, i), value)) << prefix << i;
            EXPECT_EQ(i, value);
        }
    }
    StdString last;
    EXPECT_TRUE(key.getValue("shared", last));
    EXPECT_TRUE(last == StdString("first") || last == StdString("second") || last == StdString("parent"));
    EXPECT_TRUE(key.hasKey("sub125"));
}

CHILD_PART(RegistryChild, WritesAndWaitsToBeKilled) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), readWrite, true);
    ASSERT_TRUE(key.setValue("written", StdString("before the crash")));
    ASSERT_TRUE(key.setValue("ready", true));
    for (int counter = 0;; ++counter) {
        key.setValue("counter", counter);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

CHILD_PART(RegistryChild, FindsTheValues) {
    support::TestRegistry test;
    Registry key(StdString(test.path().c_str()), Registry::registryRead, false);
    expectWhatTheWriterLeft(key);
}

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
        expectWhatTheWriterLeft(key);
    }
    // A process that opens the registry afresh finds them too.
    support::ChildProcess reader("RegistryChild.FindsTheValues", test.childEnvironment());
    EXPECT_EQ(0, reader.wait());
}
