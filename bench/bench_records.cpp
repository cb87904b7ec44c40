// Serialising one million small records through BinFStream (an unsigned int
// and a short StdString each, as the library's value classes write them)
// against a buffered std::ofstream writing the same bytes. BinFStream hands
// every write to the system before it returns, so that a full disk is the
// failing write's error and not a loss found at close; the ofstream keeps
// them in its buffer and reports nothing until it flushes. The ratio is the
// price of that: three system calls a record (the integer, then the string's
// count and characters, two writes by the serialisation contract) against
// one per buffer, so its goal is set by what a system call costs. The second
// line compares with those same writes made by a bare pwrite loop, the floor
// for any stream that writes through: what BinFStream adds to it.
// Linux only, like every benchmark here; the files live in a folder of their
// own under /tmp and are removed at the end.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/errors/QuenException.h"
#include "quen/streams/BinFStream.h"
#include "quen/strings/StdString.h"

namespace {

const unsigned int records = 1000000;

// Short names of 4 to 11 characters, made once so that neither side pays
// for them.
std::vector<quen::StdString> names() {
    std::vector<quen::StdString> result;
    result.reserve(records);
    for (unsigned int i = 0; i < records; ++i) {
        result.emplace_back(("item" + std::to_string(i * 7919u % 10000000u)).c_str());
    }
    return result;
}

void putInteger(std::ofstream& file, unsigned int value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    file.write(bytes, 4);
}

std::string contents(const std::string& name) {
    std::ifstream file(name, std::ios_base::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quen-bench-records-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string quenFile = (folder / "quen.bin").string();
    const std::string plainFile = (folder / "ofstream.bin").string();
    const std::string floorFile = (folder / "pwrite.bin").string();
    int status = 0;
    try {
        const std::vector<quen::StdString> values = names();
        std::printf("%u records of an unsigned int and a short StdString each\n", records);
        const double plainTime = bench::bestSeconds(3, [&] {
            std::ofstream file(plainFile, std::ios_base::binary | std::ios_base::trunc);
            for (unsigned int i = 0; i < records; ++i) {
                const quen::StdString& value = values[i];
                putInteger(file, i);
                putInteger(file, static_cast<unsigned int>(value.size() + 1));
                file.write(value.c_str(), static_cast<std::streamsize>(value.size() + 1));
            }
            file.close();
            if (!file) std::exit(1);
        });
        const double floorTime = bench::bestSeconds(3, [&] {
            const int fd = open(floorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            off_t at = 0;
            bool written = fd >= 0;
            for (unsigned int i = 0; i < records && written; ++i) {
                const quen::StdString& value = values[i];
                const unsigned int count = static_cast<unsigned int>(value.size() + 1);
                written = pwrite(fd, &i, 4, at) == 4 && pwrite(fd, &count, 4, at + 4) == 4 &&
                          pwrite(fd, value.c_str(), count, at + 8) == static_cast<ssize_t>(count);
                at += 8 + static_cast<off_t>(count);
            }
            if (fd < 0 || close(fd) != 0 || !written) std::exit(1);
        });
        const double quenTime = bench::bestSeconds(3, [&] {
            quen::BinFStream stream(quenFile.c_str(), quen::BinStream::trunc);
            for (unsigned int i = 0; i < records; ++i) {
                stream << i;
                values[i].output(stream);
            }
        });
        if (contents(quenFile) != contents(plainFile)) {
            std::printf("MISMATCH: the two files differ\n");
            status = 1;
        }
        bench::report("1M records through BinFStream", quenTime, "ofstream", plainTime, 80.0);
        bench::report("1M records through BinFStream", quenTime, "pwrite loop", floorTime, 1.20);
    } catch (const quen::QuenException& error) {
        std::printf("FAILED: %s\n", error.what());
        status = 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
