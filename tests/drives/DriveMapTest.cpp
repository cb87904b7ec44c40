// The drive map, the accessor and the volume file names on scripted
// machines. The map is built when the library loads, from the machine that
// QUEN_SYSPROBE names, so each machine runs in a child process of its own:
// the DriveMap test writes the machine file and starts this executable again
// running the DriveMapChild test of the same name, which checks the map and
// may rewrite the file to change media.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/sysprobe/SysProbe.h"
#include "quen/errors/QuenException.h"
#include "quen/platform/DriveNames.h"
#include "quen/streams/BinFStream.h"
#include "quen/values/TimeDate.h"
#include "support/ChildProcess.h"
#include "support/FileSupport.h"
#include "support/RealDrives.h"
#include "support/Texts.h"

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

const FileString marker("||");

// The machine file in the folder; without a machine, a file that does not exist.
std::string machineFile(const support::ScratchFolder& folder, const char* machine) {
    const std::string file = folder.file("machine.txt");
    if (machine != nullptr) support::writeFile(file, machine);
    return file;
}

// Changes the machine of the running child.
void rewriteMachine(const std::string& machine) {
    support::writeFile(std::getenv("QUEN_SYSPROBE"), machine);
}

// The folder of the running child's machine file, with a name under it.
std::string machineFolder(const std::string& name = std::string()) {
    return std::filesystem::path(std::getenv("QUEN_SYSPROBE")).parent_path().string() + name;
}

void makeFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    support::writeFile(name, bytes);
}

void expectInvalidDrive(const std::function<void()>& call) {
    EXPECT_EQ("Invalid drive specified", support::thrown(call));
}

std::string walk(DiskDriveAccessor& drives) {
    std::string letters;
    for (bool more = drives.first(); more; more = drives.next()) letters += drives.current();
    return letters;
}

// The letters from the current drive back to where previous() stops, which
// must be the current drive then.
std::string backwards(DiskDriveAccessor& drives) {
    std::string letters(1, drives.current());
    while (drives.previous() && letters.size() < 30) letters += drives.current();
    EXPECT_EQ(letters.back(), drives.current());
    return letters;
}

// What a drive or the accessor answers: h hard disk, m RAM disk, c CD-ROM,
// f floppy, n network, u unknown, v volume removable, d drive removable,
// r read-only.
template <typename Drive>
std::string kinds(const Drive& drive) {
    std::string answers;
    const std::pair<char, bool> flags[] = {
        {'h', drive.isHD()},           {'m', drive.isRAMDrive()},        {'c', drive.isCDROM()},
        {'f', drive.isFloppy()},       {'n', drive.isNetworkDrive()},    {'u', drive.isUnknown()},
        {'v', drive.isVolumeRemovable()}, {'d', drive.isDriveRemovable()}, {'r', drive.isReadOnly()},
    };
    for (const auto& [letter, set] : flags) {
        if (set) answers += letter;
    }
    return answers;
}

std::string toVolume(DiskDriveAccessor& drives, const char* name, const char* mark = "||") {
    return drives.driveFileNameToVolumeFileName(name, mark).c_str();
}

std::string toDrive(DiskDriveAccessor& drives, const char* name) {
    return drives.volumeFileNameToDriveFileName(name, marker).c_str();
}

}  // namespace

// A test in a child process whose QUEN_SYSPROBE is `sysprobe`: the parent
// part starts the child part, whose body follows the macro.
#define CHILD_TEST(name, sysprobe)                                                              \
    TEST(DriveMap, name) {                                                                      \
        support::ScratchFolder folder;                                                          \
        support::ChildProcess child("DriveMapChild." #name, {{"QUEN_SYSPROBE", sysprobe}});     \
        EXPECT_EQ(0, child.wait()) << "DriveMapChild." #name " failed (its output is above)";   \
    }                                                                                           \
    CHILD_PART(DriveMapChild, name)

// A test on a scripted machine.
#define MACHINE_TEST(name, machine) CHILD_TEST(name, machineFile(folder, machine))

MACHINE_TEST(WalksAndForwardsOnTheWorkedExample, workedExample) {
    DiskDriveAccessor drives;
    EXPECT_EQ(4u, drives.size());
    EXPECT_EQ(4u, DiskDriveMap().size());
    ASSERT_TRUE(drives.valid());
    EXPECT_EQ('C', drives.current());
    EXPECT_EQ("h", kinds(drives));
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
    for (bool more = drives.last(); more; more = drives.previous()) back += drives.current();
    EXPECT_EQ("EDCA", back);
    EXPECT_EQ('A', drives.current());
    EXPECT_FALSE(drives.previous());
    EXPECT_EQ('A', drives.current());

    // The floppy has not read anything yet; the accessor never calls a drive
    // removable.
    EXPECT_EQ("fvr", kinds(drives));
    EXPECT_EQ(-1, drives.cdUnit());

    EXPECT_EQ('D', drives.current('D'));
    EXPECT_EQ("cvr", kinds(drives));
    EXPECT_EQ(0, drives.cdUnit());
    EXPECT_EQ(FileString(""), drives.drive().volumeName());
    drives.load();
    EXPECT_EQ(FileString("PHOTOS"), drives.drive().volumeName());
    EXPECT_TRUE(drives.isReadOnly());
    EXPECT_EQ(650000000, drives.drive().capacity());
    EXPECT_EQ(0, drives.capacity());

    drives.current('E');
    EXPECT_EQ("h", kinds(drives));
    EXPECT_EQ(FileString(""), drives.drive().volumeName());

    // The keys are upper-case.
    EXPECT_EQ('c', drives.current('c'));
    EXPECT_FALSE(drives.valid());
    EXPECT_TRUE(drives.valid('C'));
    EXPECT_FALSE(drives.valid('c'));
    EXPECT_EQ("vr", kinds(drives));
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
    // Each row: the drive made current first ('-' none), the direction, the
    // name, the result and the current drive after ('-' not checked).
    const struct {
        char before;
        bool toVolume;
        const char *name, *expected;
        char after;
    } rows[] = {
        {'D', true, "C:\\dir\\file.txt", "||SYSTEM||\\dir\\file.txt", 'C'},
        {'-', true, "C:file.txt", "||SYSTEM||\\file.txt", '-'},
        {'-', true, "E:\\x.dat", "||E:||\\x.dat", '-'},
        {'-', true, "||E:||\\x.dat", "||E:||\\x.dat", '-'},
        // Back from the empty-label form without a lookup: A stays current.
        {'A', false, "||E:||\\x.dat", "E:\\x.dat", 'A'},
        {'-', false, "||photos||\\2003\\a.jpg", "D:\\2003\\a.jpg", 'D'},
        {'-', false, "||SYSTEM||\\dir\\file.txt", "C:\\dir\\file.txt", 'C'},
        {'-', false, "||system||file.txt", "C:\\file.txt", '-'},
        // Not found: empty, and the current drive stays.
        {'-', false, "||NOSUCH||\\x", "", 'C'},
    };
    for (const auto& row : rows) {
        if (row.before != '-') drives.current(row.before);
        EXPECT_EQ(row.expected, row.toVolume ? toVolume(drives, row.name) : toDrive(drives, row.name));
        if (row.after != '-') {
            EXPECT_EQ(row.after, drives.current()) << row.name;
        }
    }
    EXPECT_EQ("||SYSTEM||/a/b", toVolume(drives, "C:/a/b", "##"));

    // Returned unchanged; a letter without a drive reads nothing.
    for (const char* name : {"\\\\server\\share\\x", "dir\\x", "||SYSTEM||\\x", "Q:\\x", "c:\\x", "1:\\x"}) {
        EXPECT_EQ(name, toVolume(drives, name));
        EXPECT_EQ('C', drives.current()) << name;
    }
    for (const char* name : {"C:\\x", "||||", "||||\\x", "||a|b||\\x", "|x||y||"}) {
        EXPECT_EQ(name, toDrive(drives, name));
        EXPECT_EQ('C', drives.current()) << name;
    }
}

MACHINE_TEST(MediaChangedBetweenCalls, workedExample) {
    DiskDriveAccessor drives;
    DiskDriveMap map;
    map['D'].getDisk();
    EXPECT_EQ(FileString("PHOTOS"), map['D'].volumeName());

    // A search that finds nothing re-reads the removable drives' media.
    rewriteMachine("A 0x0100 -\nC 0x0200 SYSTEM\nD 0x0400 MUSIC\nE 0x0200 \"\"\n");
    EXPECT_EQ(FileString("PHOTOS"), map['D'].volumeName());
    EXPECT_EQ("", toDrive(drives, "||NOSUCH||\\x"));
    EXPECT_EQ(FileString("MUSIC"), map['D'].volumeName());

    // A floppy inserted since: found once the known labels have failed.
    rewriteMachine("A 0x0100 BACKUP1 1474560\nC 0x0200 SYSTEM\nD 0x0400 MUSIC\nE 0x0200 \"\"\n");
    EXPECT_EQ(FileString(""), map['A'].volumeName());
    EXPECT_TRUE(map['A'].hasDisk());
    EXPECT_EQ("A:\\set.dat", toDrive(drives, "||backup1||\\set.dat"));
    EXPECT_EQ('A', drives.current());
    EXPECT_FALSE(drives.isReadOnly());

    // Taken out again: the stored label stays until the next read.
    rewriteMachine("A 0x0100 -\nC 0x0200 SYSTEM\nD 0x0400 -\nE 0x0200 DATA\n");
    EXPECT_FALSE(map['A'].hasDisk());
    EXPECT_EQ(FileString("BACKUP1"), map['A'].volumeName());
    EXPECT_EQ("A:\\set.dat", toDrive(drives, "||BACKUP1||\\set.dat"));
    drives.load();
    EXPECT_EQ(FileString(""), map['A'].volumeName());
    EXPECT_TRUE(map['A'].isReadOnly());

    // E is fixed: its label is asked of the bound medium, which converting
    // to the volume form binds anew.
    EXPECT_EQ(FileString(""), map['E'].volumeName());
    EXPECT_EQ("||DATA||\\x.dat", toVolume(drives, "||E:||\\x.dat"));
    EXPECT_EQ(FileString("DATA"), map['E'].volumeName());
    EXPECT_EQ('E', drives.current());
}

MACHINE_TEST(SearchesTheCurrentDriveThenTheKnownLabelsThenTheMedia,
             "A 0x0100 -\nC 0x0200 SAME\nD 0x0200 SAME\nF 0x0400 -\n") {
    DiskDriveAccessor drives;
    // The current drive comes before the drives in letter order.
    drives.current('D');
    EXPECT_EQ("D:\\x", toDrive(drives, "||SAME||\\x"));
    EXPECT_EQ('D', drives.current());
    drives.current('F');
    EXPECT_EQ("C:\\x", toDrive(drives, "||same||\\x"));
    EXPECT_EQ('C', drives.current());

    // Only removable drives read their media again: a fixed drive answers
    // from the medium it bound, until its own getDisk binds another.
    rewriteMachine("A 0x0100 -\nC 0x0200 RENAMED\nD 0x0200 SAME\nF 0x0400 DISC\n");
    EXPECT_EQ("", toDrive(drives, "||RENAMED||\\x"));
    EXPECT_EQ('C', drives.current());
    EXPECT_EQ("C:\\x", toDrive(drives, "||SAME||\\x"));
    EXPECT_EQ(FileString("DISC"), DiskDriveMap()['F'].volumeName());  // read on the failed search
    EXPECT_EQ("F:\\y", toDrive(drives, "||DISC||\\y"));
    drives.current('C');
    drives.load();
    EXPECT_EQ("C:\\x", toDrive(drives, "||RENAMED||\\x"));
}

MACHINE_TEST(FirstOfTwoRecordsWithOneLetterStays, "C 0x0200 FIRST\nC 0x0400 SECOND\nF 0x0400 -\n") {
    DiskDriveMap map;
    EXPECT_EQ(2u, map.size());
    EXPECT_TRUE(map['C'].isHD());
    EXPECT_EQ(FileString("FIRST"), map['C'].volumeName());
    // The discarded CD-ROM counted: CD units follow the listing.
    EXPECT_EQ(1, map['F'].cdUnit());
}

MACHINE_TEST(ChoosesTheClassByFamily,
             "F 0x0400 -\nE 0x0400 -\nG 0x0000 -\nH 0x0002 -\nI 0x0008 -\nJ 0x00ff -\n"
             "K 0x2000 -\nL 0x1000 -\nN 0x0800 SHARE\nR 0x4000 RAMDISK 4096\nB 0x0100 -\n"
             "S 0x0001 -\nT 0x0003 -\nU 0x0007 -\nV 0x0010 -\nW 0x0004 -\nX 0x8000 -\nY 200 PLAIN\n") {
    DiskDriveMap map;
    EXPECT_EQ(18u, map.size());
    EXPECT_EQ("h", kinds(map['Y']));  // hexadecimal also without its 0x
    EXPECT_EQ(FileString("PLAIN"), map['Y'].volumeName());
    EXPECT_EQ(0, map['F'].cdUnit());
    EXPECT_EQ(1, map['E'].cdUnit());
    // Removable drives have not read yet; the fixed RAM disk bound its medium
    // when made.
    const std::pair<std::string, const char*> rows[] = {
        {"GJKLSTUV", "vdr"}, {"HIWX", "uvdr"}, {"N", "nvdr"}, {"B", "fvdr"}, {"R", "m"}, {"EF", "cvdr"}};
    for (const auto& [letters, expected] : rows) {
        for (const char letter : letters) {
            EXPECT_EQ(expected, kinds(map[letter])) << letter;
        }
    }
    EXPECT_EQ(FileString("RAMDISK"), map['R'].volumeName());
    EXPECT_EQ(FileString(""), map['N'].volumeName());
}

MACHINE_TEST(MachineWithoutC, "A 0x0100 -\nD 0x0400 PHOTOS\n") {
    DiskDriveAccessor drives;
    EXPECT_FALSE(drives.valid());
    EXPECT_EQ('\0', drives.current());
    EXPECT_EQ("vr", kinds(drives));
    EXPECT_EQ(-1, drives.cdUnit());
    expectInvalidDrive([&] { drives.drive(); });
    EXPECT_EQ("AD", walk(drives));
    // Nothing is current, so the known labels are tried, then the media.
    drives.current('Q');
    EXPECT_EQ("D:\\x", toDrive(drives, "||PHOTOS||\\x"));
}

MACHINE_TEST(EmptyMachineThenRefresh, "# no drives\n\n") {
    DiskDriveAccessor before;
    EXPECT_EQ(0u, before.size());
    EXPECT_FALSE(before.first() || before.last() || before.valid());

    rewriteMachine("C 0x0200 SYSTEM\nD 0x0400 PHOTOS\n");
    before.refresh();
    EXPECT_EQ(2u, before.size());
    // Its walk was bounded when the map was empty.
    EXPECT_FALSE(before.first() || before.last() || before.next() || before.previous());
    EXPECT_EQ('C', before.current('C'));
    EXPECT_TRUE(before.valid());
    EXPECT_EQ("h", kinds(before));
    // Nothing lies before the map's first entry, whatever was recorded.
    EXPECT_FALSE(before.previous());
    EXPECT_EQ('C', before.current());
    before.current('D');
    EXPECT_EQ("DC", backwards(before));
    EXPECT_EQ('C', before.current());

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
    // Backwards from letters found ahead of the recorded first one: the walk
    // ends at the map's first entry; from the recorded one it ends there.
    EXPECT_EQ("A", backwards(drives));
    drives.current('B');
    EXPECT_EQ("BA", backwards(drives));
    drives.current('F');
    EXPECT_EQ("FDC", backwards(drives));
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
             "C 0x0200 SYSTEM\nX\nD 0xZZ PHOTOS\nE 0x0200 LABEL 12ab\nF 0x0400 LABEL 5 rx\n"
             "1 0x0200 DIGIT\nH 0x10000 BIG\nI 0x0200 A 1 ro extra\ng: 0x0200 LOWER 100 ro # drive G\r\n"
             "J 0x0400 \"\" rw\nK 0x0200 MAX 9223372036854775807\nL 0x0200 OVER 9223372036854775808\n") {
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
    for (const char* kept : {":1:", ":9:", ":11:"}) {
        EXPECT_EQ(std::string::npos, messages.find(kept)) << kept;
    }
    EXPECT_NE(std::string::npos, messages.find(file + ":12: not a drive record, skipped: L 0x0200 OVER"));
}

MACHINE_TEST(UnreadableMachineFileListsNoDrives, nullptr) {
    EXPECT_EQ(0u, DiskDriveMap().size());
    EXPECT_FALSE(DiskDriveAccessor().first());
}

// The real machine: QUEN_SYSPROBE empty means no scripted machine.
CHILD_TEST(RealMachine, "") {
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
        EXPECT_FALSE(drives.isReadOnly());  // the tests write there
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

// The usual request on a scripted machine: find the medium by its label, open
// the file on it by its drive-form name and append another file.
MACHINE_TEST(TypicalRequestOpensFilesUnderTheRecordsRoot,
             "C 0x0200 SYSTEM\nE 0x0010 BACKUP1 8004304896 root=media/backup 1  \nF 0x0010 - root=media/empty\n") {
    const std::string onStick = machineFolder("/media/backup 1/data/set.dat");
    const std::string other = machineFolder("/other.bin");
    makeFile(onStick, "head");
    makeFile(other, "tail!");
    std::filesystem::create_directories(machineFolder("/media/empty"));

    DiskDriveAccessor drives;
    const std::string located = toDrive(drives, "||BACKUP1||\\data\\set.dat");
    EXPECT_EQ("E:\\data\\set.dat", located);
    {
        BinFStream file(located.c_str(), BinStream::app);
        EXPECT_EQ(5u, file.copyFile(other.c_str(), 2u));
    }
    EXPECT_EQ("headtail!", support::readFile(onStick));
    EXPECT_EQ(9u, fileSize("e:/data/set.dat"));
    EXPECT_EQ(9u, fileSize(support::utf16(u"E:\\data\\set.dat").data()));
    EXPECT_NO_THROW(fileTime("E:\\data\\set.dat"));
    // A drive-form source, read through matchingStream.
    const std::string copy = machineFolder("/copy.bin");
    {
        BinFStream file(copy.c_str(), BinStream::out);
        EXPECT_EQ(9u, file.copyFile("E:\\data\\set.dat", 4u));
    }
    EXPECT_EQ("headtail!", support::readFile(copy));
    EXPECT_EQ("E:\\data\\set.dat", platform::driveFileName(onStick.c_str()));
    EXPECT_EQ("E:\\", platform::driveFileName(machineFolder("/media/backup 1").c_str()));
    EXPECT_EQ("||BACKUP1||\\data\\set.dat", toVolume(drives, platform::driveFileName(onStick.c_str()).c_str()));

    // F has no medium: nothing opens there and nothing is made.
    EXPECT_EQ("File OPEN errorF:\\new.dat with mode 43",
              support::thrown([] { BinFStream file("F:\\new.dat", BinStream::app); }));
    EXPECT_EQ("", platform::systemFileName("F:\\new.dat"));
    EXPECT_TRUE(std::filesystem::is_empty(machineFolder("/media/empty")));
    for (const char* name : {"dir\\x", "E:x", "EE:\\x", "1:\\x", "||BACKUP1||\\x"}) {
        EXPECT_EQ(name, platform::systemFileName(name));
    }

    // The stick moves to G: its files go with it, and E: leads nowhere.
    rewriteMachine("C 0x0200 SYSTEM\nE 0x0010 - root=media/backup 1\nG 0x0010 BACKUP1 root=media/backup 1\n");
    EXPECT_EQ(9u, fileSize("G:\\data\\set.dat"));
    EXPECT_EQ("File OPEN errorE:\\data\\set.dat with mode 35",
              support::thrown([] { BinFStream file("E:\\data\\set.dat", BinStream::in); }));
    EXPECT_EQ("G:\\data\\set.dat", platform::driveFileName(onStick.c_str()));
}

// Each drive reads the record of its own letter: a line that stops being a
// record takes that letter's medium away, and no other.
MACHINE_TEST(EachDriveReadsItsOwnLettersRecord, "C 0x0200 SYSTEM\nD 0x0400 PHOTOS\nE 0x0010 BACKUP1\n") {
    DiskDriveMap map;
    rewriteMachine("C 0x0200 SYSTEM\nD 0xZZ PHOTOS\nE 0x0010 BACKUP1\n");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(map['E'].getDisk());
    EXPECT_FALSE(map['D'].getDisk());
    EXPECT_EQ(FileString("BACKUP1"), map['E'].volumeName());
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ("sysProbe: " + std::string(std::getenv("QUEN_SYSPROBE")) +
                  ":2: not a drive record, skipped: D 0xZZ PHOTOS\n",
              messages);

    rewriteMachine("E 0x0010 BACKUP1\nD 0x0400 MUSIC\n");
    const std::pair<char, const char*> rows[] = {{'C', nullptr}, {'D', "MUSIC"}, {'E', "BACKUP1"}};
    for (const auto& [letter, label] : rows) {
        EXPECT_EQ(label != nullptr, map[letter].hasDisk()) << letter;
        if (label != nullptr) {
            EXPECT_TRUE(map[letter].getDisk());
            EXPECT_EQ(FileString(label), map[letter].volumeName()) << letter;
        }
    }
}

// A relative machine name is taken from the folder current when the library
// loaded, also after the host has changed folders.
void relativeMachineInChild();
TEST(DriveMap, RelativeMachineNameResolvedAtLoad) {
    support::ScratchFolder folder;
    support::writeFile(folder.file("machine.txt"), "C 0x0200 SYSTEM\nD 0x0400 PHOTOS root=photos\n");
    makeFile(folder.file("photos/a.txt"), "abc");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    support::ChildProcess child("DriveMapChild.RelativeMachineNameResolvedAtLoad", {{"QUEN_SYSPROBE", "machine.txt"}});
    std::filesystem::current_path(before);
    EXPECT_EQ(0, child.wait()) << "the child failed (its output is above)";
}
CHILD_PART(DriveMapChild, RelativeMachineNameResolvedAtLoad) {
    std::filesystem::current_path(std::filesystem::current_path().parent_path());
    testing::internal::CaptureStderr();
    DiskDriveMap().refresh();
    EXPECT_TRUE(DiskDriveMap()['D'].getDisk());
    EXPECT_EQ(FileString("PHOTOS"), DiskDriveMap()['D'].volumeName());
    EXPECT_EQ(2, sysProbe::DriveArray(sysProbe::familyAll, false).count);
    EXPECT_EQ(3u, fileSize("D:\\a.txt"));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}
