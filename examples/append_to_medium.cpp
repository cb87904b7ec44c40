// Appends a file to a file on a removable medium named by its label, in
// whichever drive holds that medium now:
//
//     append_to_medium '||BACKUP1||\data\set.dat' today.dat
//
// The volume file name names the medium, not the drive: the drive accessor
// finds the drive whose medium has the label BACKUP1 (reading the removable
// drives anew if no drive known so far has it) and gives the drive-form name,
// say E:\data\set.dat, which every file operation of the library opens (on
// Linux, the file under the mount point of the medium in E:). The program
// exits 1 when no drive holds the medium or a file operation fails, and
// checks that the file grew by what was appended.
//
// Try it on the scripted machine of the examples' build folder, whose
// BACKUP1 is a folder there:
//
//     export QUEN_SYSPROBE=build/default/examples/machine.txt
//     build/default/bin/append_to_medium '||BACKUP1||\data\set.dat' README.md
#include <iostream>

#include "quen/quen.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: append_to_medium VOLUME-FILE-NAME SOURCE\n";
        return 2;
    }
    try {
        quen::DiskDriveAccessor drives;
        const quen::FileString located = drives.volumeFileNameToDriveFileName(argv[1], "||");
        if (located.empty()) {
            std::cerr << "append_to_medium: no drive holds the medium of " << argv[1] << "\n";
            return 1;
        }
        unsigned long long before = 0;
        unsigned int appended = 0;
        {
            // Appending: a missing file is made, an existing one keeps its bytes.
            quen::BinFStream target(located.c_str(), quen::BinStream::app);
            before = static_cast<unsigned long long>(target.size());
            appended = target.copyFile(argv[2], 64 * 1024);
        }
        const unsigned long long after = quen::fileSize(located.c_str());
        std::cout << "appended " << appended << " bytes of " << argv[2] << " to " << located.c_str() << " ("
                  << argv[1] << "), now " << after << " bytes\n";
        return after == before + appended ? 0 : 1;
    } catch (const quen::QuenException& failure) {
        std::cerr << "append_to_medium: " << failure.what() << "\n";
        return 1;
    }
}
