#include "support/FileSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    std::ostringstream leaf;
    leaf << "quen-" << (test != nullptr ? test->test_suite_name() : "test") << "-"
         << (test != nullptr ? test->name() : "x") << "-" << std::hex << random() << random();
    const fs::path folder = fs::temp_directory_path() / leaf.str();
    fs::create_directories(folder);
    path_ = folder.generic_string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // Read-only files must not keep their folder alive.
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream file(name, std::ios_base::binary | std::ios_base::trunc);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) ADD_FAILURE() << "cannot write " << name;
}

std::string readFile(const std::string& name) {
    std::ifstream file(name, std::ios_base::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& name) {
    std::error_code ignored;
    return fs::exists(name, ignored);
}

std::string describe(const std::string& name) {
    std::error_code error;
    switch (fs::symlink_status(name, error).type()) {
        case fs::file_type::not_found: return "missing";
        case fs::file_type::directory: return "directory";
        case fs::file_type::fifo: return "fifo";
        case fs::file_type::socket: return "socket";
        case fs::file_type::symlink: return "link to " + fs::read_symlink(name, error).generic_string();
        case fs::file_type::regular: return "file " + readFile(name);
        default: return "other";
    }
}

std::vector<unsigned short> utf16(const char16_t* text) {
    std::vector<unsigned short> units;
    for (; *text != 0; ++text) units.push_back(static_cast<unsigned short>(*text));
    units.push_back(0);
    return units;
}

// The runtime converts the name to the system's form (UTF-8 on Linux).
void writeFileWide(const unsigned short* name, const std::string& bytes) {
    std::u16string text;
    for (; *name != 0; ++name) text += static_cast<char16_t>(*name);
    std::ofstream file(fs::path(text), std::ios_base::binary);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        ADD_FAILURE() << "cannot write a file with a wide name";
    }
}

}  // namespace support
