#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "support/TestRegistry.h"

namespace support {

// A new folder for the store; a child keeps its parent's (through QUEN_REGISTRY).
void TestRegistry::makeStore() {
    const char* inherited = std::getenv("QUEN_REGISTRY");
    if (!owner_) {
        storeFile_ = inherited != nullptr ? inherited : "";
        return;
    }
    const char* temporary = std::getenv("TMPDIR");
    std::string folder = std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
                         "/quen-registry-XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
    storeFile_ = folder + "/registry.sqlite3";
    setenv("QUEN_REGISTRY", storeFile_.c_str(), 1);
}

// The key goes with the store, its log and its index, and their folder.
void TestRegistry::removeStore() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((storeFile_ + suffix).c_str());
    rmdir(storeFile_.substr(0, storeFile_.rfind('/')).c_str());
}

}  // namespace support
