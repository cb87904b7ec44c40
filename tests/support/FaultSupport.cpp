#include "support/FaultSupport.h"

#include <filesystem>

#include "support/FileSupport.h"

namespace support {

std::string describe(const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(name, error);
    switch (status.type()) {
        case fs::file_type::not_found: return "missing";
        case fs::file_type::directory: return "directory";
        case fs::file_type::fifo: return "fifo";
        case fs::file_type::socket: return "socket";
        case fs::file_type::symlink: return "link to " + fs::read_symlink(name, error).generic_string();
        case fs::file_type::regular: return "file " + readFile(name);
        default: return "other";
    }
}

}  // namespace support
