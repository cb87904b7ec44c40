// BinStream::copyFile (through BinFStream) against cp of the same 256 MiB
// file, and BinStream::shiftBlock against a plain pread/pwrite loop moving
// the same block. Linux only, like every benchmark here; the files live in a
// folder of their own under /tmp and are removed at the end.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/errors/QuenException.h"
#include "quen/streams/BinFStream.h"

namespace {

const unsigned int MiB = 1u << 20;
const unsigned int fileSize = 256 * MiB;

void makeFile(const std::string& name, unsigned int size) {
    std::vector<char> block(MiB);
    std::mt19937 random(7);
    for (char& c : block) c = static_cast<char>(random());
    std::ofstream file(name, std::ios_base::binary | std::ios_base::trunc);
    for (unsigned int written = 0; written < size; written += MiB) {
        block[written / MiB % MiB] ^= 1;  // no two blocks alike
        file.write(block.data(), MiB);
    }
}

bool sameFiles(const std::string& a, const std::string& b) {
    std::ifstream first(a, std::ios_base::binary), second(b, std::ios_base::binary);
    std::vector<char> x(MiB), y(MiB);
    while (first && second) {
        first.read(x.data(), MiB);
        second.read(y.data(), MiB);
        if (first.gcount() != second.gcount() || x != y) return false;
    }
    return first.eof() && second.eof();
}

// The baseline of shiftBlock: read a chunk, write it lower down, move on.
void plainShift(const std::string& name, long long from, long long to, long long length, unsigned int buffer) {
    const int fd = open(name.c_str(), O_RDWR);
    std::vector<char> bytes(buffer);
    while (length > 0) {
        const size_t chunk = length < buffer ? static_cast<size_t>(length) : buffer;
        if (pread(fd, bytes.data(), chunk, from) != static_cast<ssize_t>(chunk) ||
            pwrite(fd, bytes.data(), chunk, to) != static_cast<ssize_t>(chunk)) {
            std::perror("plain shift");
            std::exit(1);
        }
        from += static_cast<long long>(chunk);
        to += static_cast<long long>(chunk);
        length -= static_cast<long long>(chunk);
    }
    close(fd);
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quen-bench-copy-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string source = (folder / "source.bin").string();
    const std::string target = (folder / "target.bin").string();
    const std::string copied = (folder / "cp.bin").string();
    int status = 0;
    try {
        makeFile(source, fileSize);
        std::printf("copyFile of %u MiB against cp, shiftBlock of %u MiB against a pread/pwrite loop\n",
                    fileSize / MiB, fileSize / MiB);

        const std::string cp = "cp '" + source + "' '" + copied + "'";
        const double cpTime = bench::bestSeconds(5, [&] {
            std::filesystem::remove(copied);
            if (std::system(cp.c_str()) != 0) std::exit(1);
        });
        for (const unsigned int buffer : {64u * 1024u, MiB}) {
            const double quenTime = bench::bestSeconds(5, [&] {
                std::filesystem::remove(target);
                quen::BinFStream stream(target.c_str(), 0);
                stream.copyFile(source.c_str(), buffer);
            });
            if (!sameFiles(source, target)) {
                std::printf("MISMATCH: the copy differs from its source\n");
                status = 1;
            }
            const std::string label = "copyFile, " + std::to_string(buffer / 1024) + " KiB buffer";
            bench::report(label.c_str(), quenTime, "cp", cpTime, 1.16);
        }
        std::filesystem::remove(copied);
        std::filesystem::remove(target);

        // Each run moves the block down by 1 MiB, from 1 MiB to 0.
        const double plainTime =
            bench::bestSeconds(5, [&] { plainShift(source, MiB, 0, fileSize - MiB, MiB); });
        const double shiftTime = bench::bestSeconds(5, [&] {
            quen::BinFStream stream(source.c_str(), 0);
            stream.shiftBlock(MiB, 0, fileSize - MiB, MiB);
        });
        bench::report("shiftBlock, 1 MiB buffer", shiftTime, "pread/pwrite", plainTime, 1.03);
    } catch (const quen::QuenException& error) {
        std::printf("FAILED: %s\n", error.what());
        status = 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
