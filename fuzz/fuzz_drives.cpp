// The scripted machine's record format on arbitrary bytes: the input is the
// machine file. Every record listed must have a drive letter A to Z and a
// 16-bit family, and every drive must answer for its medium, read again from
// the file, the way the drive classes ask it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"

namespace {

const std::string& machineFile() {
    static const std::string file = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/quen-fuzz-drives-" +
                           std::to_string(getpid()) + ".txt";
        setenv("QUEN_SYSPROBE", name.c_str(), 1);
        return name;
    }();
    return file;
}

// The skipped lines are reported on standard error, thousands of times a
// second here; they go to /dev/null while an array is made.
class QuietStandardError {
public:
    QuietStandardError() : saved_(dup(2)) {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 2);
            close(null);
        }
    }
    ~QuietStandardError() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, 2);
            close(saved_);
        }
    }

private:
    int saved_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = machineFile();
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    QuietStandardError quiet;
    sysProbe::DriveArray array(sysProbe::familyAll, false);
    int cdUnit = 0;
    for (int index = 0; index < array.count; ++index) {
        sysProbe::Drive& record = array[index];
        if (record.getDrvNum() < 0 || record.getDrvNum() > 25 || record.getFamily() < 0 ||
            record.getFamily() > 0xFFFF) {
            std::abort();
        }
        quen::DiskDriveHD fixed(&record);
        quen::DiskDriveCDROM removable(&record, cdUnit++);
        const bool present = removable.getDisk();
        if (present != fixed.getDisk() || fixed.volumeName() != removable.volumeName() ||
            fixed.isReadOnly() != removable.isReadOnly() || (!present && !removable.isReadOnly())) {
            std::abort();
        }
        if (removable.volumeName().find(' ') != quen::FileString::npos) {
            std::abort();  // labels are single words
        }
    }
    std::remove(file.c_str());
    return 0;
}
