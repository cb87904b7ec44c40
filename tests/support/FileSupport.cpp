#include "support/FileSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace support {

ScratchFolder::ScratchFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    std::ostringstream leaf;
    leaf << "quen-" << (test != nullptr ? test->test_suite_name() : "test") << "-"
         << (test != nullptr ? test->name() : "x") << "-" << std::hex << random() << random();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / leaf.str();
    std::filesystem::create_directories(folder);
    path_ = folder.generic_string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // Read-only files must not keep their folder alive.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream file(name, std::ios_base::binary | std::ios_base::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        ADD_FAILURE() << "cannot write " << name;
    }
}

std::string readFile(const std::string& name) {
    std::ifstream file(name, std::ios_base::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::exists(name, ignored);
}

std::vector<unsigned short> utf16(const char16_t* text) {
    std::vector<unsigned short> units;
    for (; *text != 0; ++text) {
        units.push_back(static_cast<unsigned short>(*text));
    }
    units.push_back(0);
    return units;
}

}  // namespace support
