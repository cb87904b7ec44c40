// The drive map, the accessor and the volume file names on scripted
// machines. The map is built when the library loads, from the machine that
// QUEN_SYSPROBE names, so each machine runs in a child process of its own:
// the DriveMap test writes the machine file and starts this executable again
// running the DriveMapChild test of the same name, which checks the map and
// may rewrite the file to change media.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/sysprobe/SysProbe.h"
#include "quen/errors/QuenException.h"
#include "support/ChildProcess.h"
#include "support/FileSupport.h"
#include "support/RealDrives.h"

using namespace quen;

namespace {

// A floppy drive without medium, a hard disk labelled SYSTEM, a CD-ROM
// holding PHOTOS and a hard disk whose medium has an empty label.
const char* const workedExample =
    "# letter family medium capacity state\n"
    "A 0x0100 -\n"
    "C 0x0200 SYSTEM 1000000\n"
    "D 0x0400 PHOTOS 650000000 ro   # a CD\n"
    "E 0x0200 \"\"\n";

void runOnMachine(const std::string& machine, const std::string& childTest) {
    support::ScratchFolder folder;
    const std::string file = folder.file("machine.txt");
    support::writeFile(file, machine);
    support::ChildProcess child("DriveMapChild." + childTest, {{"QUEN_SYSPROBE", file}});
    EXPECT_EQ(0, child.wait()) << "DriveMapChild." << childTest << " failed (its output is above)";
}

// Changes the machine of the running child.
void rewriteMachine(const std::string& machine) {
    support::writeFile(std::getenv("QUEN_SYSPROBE"), machine);
}

void expectInvalidDrive(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no exception";
    } catch (const QuenException& error) {
        EXPECT_STREQ("Invalid drive specified", error.what());
    }
}

std::string walk(DiskDriveAccessor& drives) {
    std::string letters;
    for (bool more = drives.first(); more; more = drives.next()) {
        letters += drives.current();
    }
    return letters;
}

}  // namespace

// A test on a machine: the parent part writes the machine and runs the child
// part, whose body follows the macro.
#define MACHINE_TEST(name, machine)                                  \
    void name##OnMachine();                                          \
    TEST(DriveMap, name) {                                           \
        runOnMachine(machine, #name);                                \
    }                                                                \
    TEST(DriveMapChild, name) {                                      \
        if (!support::isChildProcess()) GTEST_SKIP() << "child part"; \
        name##OnMachine();                                           \
    }                                                                \
    void name##OnMachine()

MACHINE_TEST(WalksAndForwardsOnTheWorkedExample, workedExample) {
    DiskDriveAccessor drives;
    EXPECT_EQ(4u, drives.size());
    EXPECT_EQ(4u, DiskDriveMap().size());
    ASSERT_TRUE(drives.valid());
    EXPECT_EQ('C', drives.current());
    EXPECT_TRUE(drives.isHD());
    EXPECT_FALSE(drives.isReadOnly());
    EXPECT_FALSE(drives.isVolumeRemovable());
    EXPECT_FALSE(drives.isDriveRemovable());
    EXPECT_EQ(0, drives.capacity());
    EXPECT_EQ(FileString("SYSTEM"), drives.drive().volumeName());
    EXPECT_EQ(1000000, drives.drive().capacity());

    EXPECT_EQ("ACDE", walk(drives));
    EXPECT_FALSE(drives.valid());
    EXPECT_EQ('\0', drives.current());
    EXPECT_FALSE(drives.next());
    EXPECT_TRUE(drives.previous());
    EXPECT_EQ('E', drives.current());
    std::string back;
    for (bool more = drives.last(); more; more = drives.previous()) {
        back += drives.current();
    }
    EXPECT_EQ("EDCA", back);
    EXPECT_EQ('A', drives.current());
    EXPECT_FALSE(drives.previous());
    EXPECT_EQ('A', drives.current());

    // The floppy has not read anything yet.
    EXPECT_TRUE(drives.isFloppy());
    EXPECT_TRUE(drives.isVolumeRemovable());
    EXPECT_FALSE(drives.isDriveRemovable());
    EXPECT_TRUE(drives.isReadOnly());
    EXPECT_EQ(-1, drives.cdUnit());

    EXPECT_EQ('D', drives.current('D'));
    EXPECT_TRUE(drives.isCDROM());
    EXPECT_EQ(0, drives.cdUnit());
    EXPECT_EQ(FileString(""), drives.drive().volumeName());
    drives.load();
    EXPECT_EQ(FileString("PHOTOS"), drives.drive().volumeName());
    EXPECT_TRUE(drives.isReadOnly());
    EXPECT_EQ(650000000, drives.drive().capacity());
    EXPECT_EQ(0, drives.capacity());

    drives.current('E');
    EXPECT_TRUE(drives.isHD());
    EXPECT_EQ(FileString(""), drives.drive().volumeName());
    EXPECT_FALSE(drives.isReadOnly());

    // The keys are upper-case.
    EXPECT_EQ('c', drives.current('c'));
    EXPECT_FALSE(drives.valid());
    EXPECT_TRUE(drives.valid('C'));
    EXPECT_FALSE(drives.valid('c'));
    EXPECT_TRUE(drives.isReadOnly());
    EXPECT_TRUE(drives.isVolumeRemovable());
    EXPECT_FALSE(drives.isHD());
    EXPECT_EQ(-1, drives.cdUnit());
    drives.load();  // nothing to load

    EXPECT_TRUE(drives['D'].isCDROM());
    EXPECT_EQ('E', DiskDriveMap()['E'].driveLetter());
    EXPECT_EQ(DiskDriveMap().begin()->first, 'A');
}

MACHINE_TEST(MissingLettersThrowAndAddNothing, workedExample) {
    DiskDriveMap map;
    const DiskDriveMap& constMap = map;
    DiskDriveAccessor drives;
    const DiskDriveAccessor& constDrives = drives;
    expectInvalidDrive([&] { map['Q']; });
    expectInvalidDrive([&] { constMap['B']; });
    expectInvalidDrive([&] { drives['c']; });
    expectInvalidDrive([&] { constDrives['Z']; });
    drives.current('Q');
    expectInvalidDrive([&] { drives.drive(); });
    expectInvalidDrive([&] { constDrives.drive(); });
    EXPECT_EQ(4u, map.size());
    EXPECT_TRUE(map.find('Q') == map.end());
    EXPECT_TRUE(map.find('c') == map.end());
    EXPECT_TRUE(constMap.find('C') != constMap.end());
}

MACHINE_TEST(ConvertsTheWorkedExamples, workedExample) {
    DiskDriveAccessor drives;
    const FileString marker("||");
    drives.current('D');
    EXPECT_STREQ("||SYSTEM||\\dir\\file.txt", drives.driveFileNameToVolumeFileName("C:\\dir\\file.txt", marker).c_str());
    EXPECT_EQ('C', drives.current());
    EXPECT_STREQ("||SYSTEM||\\file.txt", drives.driveFileNameToVolumeFileName("C:file.txt", marker).c_str());
    EXPECT_STREQ("||SYSTEM||/a/b", drives.driveFileNameToVolumeFileName("C:/a/b", FileString("##")).c_str());
    EXPECT_STREQ("||E:||\\x.dat", drives.driveFileNameToVolumeFileName("E:\\x.dat", marker).c_str());
    EXPECT_STREQ("||E:||\\x.dat", drives.driveFileNameToVolumeFileName("||E:||\\x.dat", marker).c_str());

    // Back from the empty-label form without a lookup: A stays current.
    drives.current('A');
    EXPECT_STREQ("E:\\x.dat", drives.volumeFileNameToDriveFileName("||E:||\\x.dat", marker).c_str());
    EXPECT_EQ('A', drives.current());
    EXPECT_STREQ("D:\\2003\\a.jpg", drives.volumeFileNameToDriveFileName("||photos||\\2003\\a.jpg", marker).c_str());
    EXPECT_EQ('D', drives.current());
    EXPECT_STREQ("C:\\dir\\file.txt", drives.volumeFileNameToDriveFileName("||SYSTEM||\\dir\\file.txt", marker).c_str());
    EXPECT_EQ('C', drives.current());
    EXPECT_STREQ("C:\\file.txt", drives.volumeFileNameToDriveFileName("||system||file.txt", marker).c_str());

    // Not found: empty, and the current drive stays.
    const FileString none = drives.volumeFileNameToDriveFileName("||NOSUCH||\\x", marker);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ('C', drives.current());

    // Returned unchanged.
    for (const char* name : {"\\\\server\\share\\x", "dir\\x", "||SYSTEM||\\x", "Q:\\x", "c:\\x", "1:\\x"}) {
        EXPECT_STREQ(name, drives.driveFileNameToVolumeFileName(name, marker).c_str());
        EXPECT_EQ('C', drives.current()) << name;  // a letter without a drive reads nothing
    }
    for (const char* name : {"C:\\x", "||||", "||||\\x", "||a|b||\\x", "|x||y||"}) {
        EXPECT_STREQ(name, drives.volumeFileNameToDriveFileName(name, marker).c_str());
        EXPECT_EQ('C', drives.current()) << name;
    }
}

MACHINE_TEST(MediaChangedBetweenCalls, workedExample) {
    DiskDriveAccessor drives;
    const FileString marker("||");
    DiskDriveMap map;
    map['D'].getDisk();
    EXPECT_EQ(FileString("PHOTOS"), map['D'].volumeName());

    // A search that finds nothing re-reads the removable drives' media.
    rewriteMachine("A 0x0100 -\nC 0x0200 SYSTEM\nD 0x0400 MUSIC\nE 0x0200 \"\"\n");
    EXPECT_EQ(FileString("PHOTOS"), map['D'].volumeName());
    EXPECT_TRUE(drives.volumeFileNameToDriveFileName("||NOSUCH||\\x", marker).empty());
    EXPECT_EQ(FileString("MUSIC"), map['D'].volumeName());

    // A floppy inserted since: found once the known labels have failed.
    rewriteMachine("A 0x0100 BACKUP1 1474560\nC 0x0200 SYSTEM\nD 0x0400 MUSIC\nE 0x0200 \"\"\n");
    EXPECT_EQ(FileString(""), map['A'].volumeName());
    EXPECT_TRUE(map['A'].hasDisk());
    EXPECT_STREQ("A:\\set.dat", drives.volumeFileNameToDriveFileName("||backup1||\\set.dat", marker).c_str());
    EXPECT_EQ('A', drives.current());
    EXPECT_FALSE(drives.isReadOnly());

    // Taken out again: the stored label stays until the next read.
    rewriteMachine("A 0x0100 -\nC 0x0200 SYSTEM\nD 0x0400 -\nE 0x0200 DATA\n");
    EXPECT_FALSE(map['A'].hasDisk());
    EXPECT_EQ(FileString("BACKUP1"), map['A'].volumeName());
    EXPECT_STREQ("A:\\set.dat", drives.volumeFileNameToDriveFileName("||BACKUP1||\\set.dat", marker).c_str());
    drives.load();
    EXPECT_EQ(FileString(""), map['A'].volumeName());
    EXPECT_TRUE(map['A'].isReadOnly());

    // E is fixed: its label is asked of the bound medium, which converting
    // to the volume form binds anew.
    EXPECT_EQ(FileString(""), map['E'].volumeName());
    EXPECT_STREQ("||DATA||\\x.dat", drives.driveFileNameToVolumeFileName("||E:||\\x.dat", marker).c_str());
    EXPECT_EQ(FileString("DATA"), map['E'].volumeName());
    EXPECT_EQ('E', drives.current());
}

MACHINE_TEST(SearchesTheCurrentDriveThenTheKnownLabelsThenTheMedia,
             "A 0x0100 -\n"
             "C 0x0200 SAME\n"
             "D 0x0200 SAME\n"
             "F 0x0400 -\n") {
    DiskDriveAccessor drives;
    const FileString marker("||");
    // The current drive comes before the drives in letter order.
    drives.current('D');
    EXPECT_STREQ("D:\\x", drives.volumeFileNameToDriveFileName("||SAME||\\x", marker).c_str());
    EXPECT_EQ('D', drives.current());
    drives.current('F');
    EXPECT_STREQ("C:\\x", drives.volumeFileNameToDriveFileName("||same||\\x", marker).c_str());
    EXPECT_EQ('C', drives.current());

    // Only removable drives read their media again: a fixed drive answers
    // from the medium it bound, until its own getDisk binds another.
    rewriteMachine("A 0x0100 -\nC 0x0200 RENAMED\nD 0x0200 SAME\nF 0x0400 DISC\n");
    EXPECT_TRUE(drives.volumeFileNameToDriveFileName("||RENAMED||\\x", marker).empty());
    EXPECT_EQ('C', drives.current());
    EXPECT_STREQ("C:\\x", drives.volumeFileNameToDriveFileName("||SAME||\\x", marker).c_str());
    EXPECT_EQ(FileString("DISC"), DiskDriveMap()['F'].volumeName());  // read on the failed search
    EXPECT_STREQ("F:\\y", drives.volumeFileNameToDriveFileName("||DISC||\\y", marker).c_str());
    drives.current('C');
    drives.load();
    EXPECT_STREQ("C:\\x", drives.volumeFileNameToDriveFileName("||RENAMED||\\x", marker).c_str());
}

MACHINE_TEST(FirstOfTwoRecordsWithOneLetterStays,
             "C 0x0200 FIRST\n"
             "C 0x0400 SECOND\n"
             "F 0x0400 -\n") {
    DiskDriveMap map;
    EXPECT_EQ(2u, map.size());
    EXPECT_TRUE(map['C'].isHD());
    EXPECT_EQ(FileString("FIRST"), map['C'].volumeName());
    // The discarded CD-ROM counted: CD units follow the listing.
    EXPECT_EQ(1, map['F'].cdUnit());
}

MACHINE_TEST(ChoosesTheClassByFamily,
             "F 0x0400 -\n"
             "E 0x0400 -\n"
             "G 0x0000 -\n"
             "H 0x0002 -\n"
             "I 0x0008 -\n"
             "J 0x00ff -\n"
             "K 0x2000 -\n"
             "L 0x1000 -\n"
             "N 0x0800 SHARE\n"
             "R 0x4000 RAMDISK 4096\n"
             "B 0x0100 -\n"
             "S 0x0001 -\n"
             "T 0x0003 -\n"
             "U 0x0007 -\n"
             "V 0x0010 -\n"
             "W 0x0004 -\n"
             "X 0x8000 -\n") {
    DiskDriveMap map;
    EXPECT_EQ(17u, map.size());
    EXPECT_EQ(0, map['F'].cdUnit());
    EXPECT_EQ(1, map['E'].cdUnit());
    for (const char generic : std::string("GJKLSTUV")) {
        SCOPED_TRACE(generic);
        const DiskDrive& drive = map[generic];
        EXPECT_TRUE(drive.isVolumeRemovable());
        EXPECT_FALSE(drive.isUnknown() || drive.isCDROM() || drive.isFloppy() || drive.isNetworkDrive() ||
                     drive.isHD() || drive.isRAMDrive());
    }
    for (const char unknown : std::string("HIWX")) {
        EXPECT_TRUE(map[unknown].isUnknown()) << unknown;
        EXPECT_TRUE(map[unknown].isVolumeRemovable()) << unknown;
    }
    EXPECT_TRUE(map['N'].isNetworkDrive());
    EXPECT_TRUE(map['B'].isFloppy());
    EXPECT_TRUE(map['R'].isRAMDrive());
    EXPECT_FALSE(map['R'].isVolumeRemovable());
    EXPECT_EQ(FileString("RAMDISK"), map['R'].volumeName());  // fixed: bound when made
    EXPECT_EQ(FileString(""), map['N'].volumeName());        // removable: not read yet
}

MACHINE_TEST(MachineWithoutC, "A 0x0100 -\nD 0x0400 PHOTOS\n") {
    DiskDriveAccessor drives;
    EXPECT_FALSE(drives.valid());
    EXPECT_EQ('\0', drives.current());
    EXPECT_TRUE(drives.isReadOnly());
    EXPECT_TRUE(drives.isVolumeRemovable());
    EXPECT_FALSE(drives.isCDROM() || drives.isFloppy() || drives.isHD() || drives.isNetworkDrive() ||
                 drives.isRAMDrive() || drives.isUnknown());
    EXPECT_EQ(-1, drives.cdUnit());
    expectInvalidDrive([&] { drives.drive(); });
    EXPECT_EQ("AD", walk(drives));
    // Nothing is current, so the known labels are tried, then the media.
    drives.current('Q');
    EXPECT_STREQ("D:\\x", drives.volumeFileNameToDriveFileName("||PHOTOS||\\x", "||").c_str());
}

MACHINE_TEST(EmptyMachineThenRefresh, "# no drives\n\n") {
    DiskDriveAccessor before;
    EXPECT_EQ(0u, before.size());
    EXPECT_FALSE(before.first());
    EXPECT_FALSE(before.last());
    EXPECT_FALSE(before.valid());

    rewriteMachine("C 0x0200 SYSTEM\nD 0x0400 PHOTOS\n");
    before.refresh();
    EXPECT_EQ(2u, before.size());
    // Its walk was bounded when the map was empty.
    EXPECT_FALSE(before.first());
    EXPECT_FALSE(before.last());
    EXPECT_FALSE(before.next());
    EXPECT_FALSE(before.previous());
    EXPECT_EQ('C', before.current('C'));
    EXPECT_TRUE(before.valid());
    EXPECT_TRUE(before.isHD());

    DiskDriveAccessor after;
    EXPECT_EQ('C', after.current());
    EXPECT_EQ("CD", walk(after));
}

MACHINE_TEST(RefreshAddsDrivesAndKeepsTheOldOnes, "C 0x0200 SYSTEM\nD 0x0400 PHOTOS\n") {
    DiskDriveAccessor drives;
    drives.current('D');
    drives.load();
    EXPECT_EQ(0, drives.cdUnit());

    // New drives are listed after the old ones, so that the old records keep
    // their positions in the file.
    rewriteMachine("C 0x0200 SYSTEM\nD 0x0400 MUSIC\nA 0x0100 -\nF 0x0400 NEW\nB 0x0200 SECOND\n");
    drives.refresh();
    EXPECT_EQ(5u, drives.size());
    EXPECT_EQ('D', drives.current());
    // D keeps its drive object and what it read, until it reads again
    // through the record of the first listing.
    EXPECT_EQ(FileString("PHOTOS"), drives.drive().volumeName());
    EXPECT_EQ(0, drives.cdUnit());
    drives.load();
    EXPECT_EQ(FileString("MUSIC"), drives.drive().volumeName());
    EXPECT_EQ(1, DiskDriveMap()['F'].cdUnit());
    EXPECT_EQ(FileString("SECOND"), DiskDriveMap()['B'].volumeName());

    // This accessor's walk starts at C, where the map started when it was
    // made; current(char) finds the new letters before it.
    EXPECT_EQ("CDF", walk(drives));
    EXPECT_EQ('A', drives.current('A'));
    EXPECT_TRUE(drives.isFloppy());
    DiskDriveAccessor later;
    EXPECT_EQ("ABCDF", walk(later));

    // Another refresh with nothing new changes nothing.
    DiskDriveMap().refresh();
    EXPECT_EQ(5u, DiskDriveMap().size());
    drives.current('D');
    drives.load();
    EXPECT_EQ(FileString("MUSIC"), drives.drive().volumeName());
}

MACHINE_TEST(SkipsLinesThatAreNotRecords,
             "C 0x0200 SYSTEM\n"
             "X\n"
             "D 0xZZ PHOTOS\n"
             "E 0x0200 LABEL 12ab\n"
             "F 0x0400 LABEL 5 rx\n"
             "1 0x0200 DIGIT\n"
             "H 0x10000 BIG\n"
             "I 0x0200 A 1 ro extra\n"
             "g: 0x0200 LOWER 100 ro # drive G\r\n"
             "J 0x0400 \"\" rw\n"
             "K 0x0200 MAX 9223372036854775807\n"
             "L 0x0200 OVER 9223372036854775808\n") {
    DiskDriveMap map;
    EXPECT_EQ(4u, map.size());
    EXPECT_EQ(9223372036854775807LL, map['K'].capacity());
    EXPECT_EQ(FileString("SYSTEM"), map['C'].volumeName());
    EXPECT_EQ(FileString("LOWER"), map['G'].volumeName());
    EXPECT_TRUE(map['G'].isReadOnly());
    EXPECT_EQ(100, map['G'].capacity());
    EXPECT_TRUE(map['J'].getDisk());
    EXPECT_FALSE(map['J'].isReadOnly());

    // Each skipped line is named on standard error when an array is made.
    testing::internal::CaptureStderr();
    { sysProbe::DriveArray array(sysProbe::familyAll, false); EXPECT_EQ(4, array.count); }
    const std::string messages = testing::internal::GetCapturedStderr();
    const std::string file = std::getenv("QUEN_SYSPROBE");
    EXPECT_NE(std::string::npos, messages.find("sysProbe: " + file + ":2: not a drive record, skipped: X\n"));
    EXPECT_NE(std::string::npos, messages.find(file + ":8: not a drive record, skipped: I 0x0200 A 1 ro extra\n"));
    for (int line = 2; line <= 8; ++line) {
        EXPECT_NE(std::string::npos, messages.find(file + ":" + std::to_string(line) + ":")) << line;
    }
    EXPECT_EQ(std::string::npos, messages.find(":1:"));
    EXPECT_EQ(std::string::npos, messages.find(":9:"));
    EXPECT_EQ(std::string::npos, messages.find(":11:"));
    EXPECT_NE(std::string::npos, messages.find(file + ":12: not a drive record, skipped: L 0x0200 OVER"));
}

TEST(DriveMap, UnreadableMachineFileListsNoDrives) {
    support::ScratchFolder folder;
    support::ChildProcess child("DriveMapChild.UnreadableMachineFileListsNoDrives",
                                {{"QUEN_SYSPROBE", folder.file("missing.txt")}});
    EXPECT_EQ(0, child.wait());
}

TEST(DriveMapChild, UnreadableMachineFileListsNoDrives) {
    if (!support::isChildProcess()) GTEST_SKIP() << "child part";
    EXPECT_EQ(0u, DiskDriveMap().size());
    EXPECT_FALSE(DiskDriveAccessor().first());
}

// The real machine: QUEN_SYSPROBE empty means no scripted machine.
TEST(DriveMap, RealMachine) {
    support::ChildProcess child("DriveMapChild.RealMachine", {{"QUEN_SYSPROBE", ""}});
    EXPECT_EQ(0, child.wait());
}

TEST(DriveMapChild, RealMachine) {
    if (!support::isChildProcess()) GTEST_SKIP() << "child part";
    DiskDriveAccessor drives;
    EXPECT_EQ('C', drives.current());
    for (const char letter : support::knownHardDisks()) {
        SCOPED_TRACE(letter);
        ASSERT_TRUE(drives.valid(letter));
        drives.current(letter);
        EXPECT_TRUE(drives.isHD());
        EXPECT_FALSE(drives.isVolumeRemovable());
        EXPECT_TRUE(drives.drive().hasDisk());
        EXPECT_TRUE(drives.drive().getDisk());
        EXPECT_GT(drives.drive().capacity(), 0);
    }
    // Every drive answers, whatever its kind; each letter once.
    sysProbe::DriveArray array(sysProbe::familyAll, false);
    EXPECT_GE(static_cast<unsigned>(array.count), drives.size());
    std::string letters;
    for (bool more = drives.first(); more; more = drives.next()) {
        drives.load();
        letters += drives.current();
    }
    EXPECT_EQ(drives.size(), letters.size());
    sysProbe::DriveArray hardDisks(sysProbe::familyHardDisk, true);
    EXPECT_GE(static_cast<std::size_t>(hardDisks.count), support::knownHardDisks().size());
}
