#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

#include "support/FileSupport.h"

namespace support {

void makeSparseFile(const std::string& name, unsigned long long size) {
    std::ofstream(name, std::ios_base::binary | std::ios_base::app).close();
    if (truncate(name.c_str(), static_cast<off_t>(size)) != 0) {
        ADD_FAILURE() << "cannot extend " << name;
    }
}

std::string fullDevice() {
    struct stat status;
    return stat("/dev/full", &status) == 0 ? "/dev/full" : "";
}

void writeFileWide(const unsigned short* name, const std::string& bytes) {
    std::string utf8;
    for (const unsigned short* unit = name; *unit != 0; ++unit) {
        unsigned long code = *unit;
        if (code >= 0xD800 && code <= 0xDBFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit[1] - 0xDC00u);
            ++unit;
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    writeFile(utf8, bytes);
}

void setTimeZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

}  // namespace support
