// The drive map, the accessor and the volume file names on scripted machines. The map is built as the library
// loads, from the machine QUEN_SYSPROBE names: each machine runs in a child process, which may rewrite it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/sysprobe/SysProbe.h"
#include "quen/platform/DriveNames.h"
#include "quen/streams/BinFStream.h"
#include "quen/values/TimeDate.h"
#include "support/ChildProcess.h"
#include "support/FileSupport.h"
#include "support/Texts.h"

using namespace quen;
namespace fs = std::filesystem;

namespace {

// The machine file in the folder; without a machine, a file that does not exist.
std::string machineFile(const support::ScratchFolder& folder, const char* machine) {
    if (machine != nullptr) support::writeFile(folder.file("m.txt"), machine);
    return folder.file("m.txt");
}

void rewriteMachine(const std::string& machine) { support::writeFile(std::getenv("QUEN_SYSPROBE"), machine); }

// A file beside the running child's machine file, with the folders it needs.
std::string besideMachine(const std::string& name, const char* bytes = nullptr) {
    const std::string file = fs::path(std::getenv("QUEN_SYSPROBE")).parent_path().string() + name;
    fs::create_directories(fs::path(file).parent_path());
    if (bytes != nullptr) support::writeFile(file, bytes);
    return file;
}

// The letters from first() on; or back from the current drive to where previous() stops, which stays current.
std::string walk(DiskDriveAccessor& drives, bool forwards = true) {
    std::string letters;
    for (bool more = !forwards || drives.first(); more && letters.size() < 30;
         more = forwards ? drives.next() : drives.previous()) letters += drives.current();
    EXPECT_TRUE(forwards || letters.back() == drives.current());
    return letters;
}

// What a drive or the accessor answers: h hard disk, m RAM disk, c CD-ROM, f floppy, n network,
// u unknown, v volume removable, d drive removable, r read-only.
template <typename Drive>
std::string kinds(const Drive& drive) {
    const bool flags[] = {drive.isHD(), drive.isRAMDrive(), drive.isCDROM(), drive.isFloppy(), drive.isNetworkDrive(),
                          drive.isUnknown(), drive.isVolumeRemovable(), drive.isDriveRemovable(), drive.isReadOnly()};
    std::string answers;
    for (int flag = 0; flag < 9; ++flag) answers += flags[flag] ? std::string(1, "hmcfnuvdr"[flag]) : "";
    return answers;
}

// The accessor's current letter ('-' none), its kinds and its CD unit: "D cvr 0".
std::string state(const DiskDriveAccessor& drives) {
    const char letter = drives.current() != '\0' ? drives.current() : '-';
    return std::string(1, letter) + " " + kinds(drives) + " " + std::to_string(drives.cdUnit());
}

// The labels the map's drives answer with now, without reading: "A= D=PHOTOS".
std::string labels(const std::string& letters) {
    std::string answers;
    for (const char letter : letters)
        answers += letter + std::string("=") + DiskDriveMap()[letter].volumeName().c_str() + " ";
    answers.pop_back();
    return answers;
}

std::string toVolume(DiskDriveAccessor& drives, const char* name) { return drives.driveFileNameToVolumeFileName(name, "||").c_str(); }
std::string toDrive(DiskDriveAccessor& drives, const char* name) { return drives.volumeFileNameToDriveFileName(name, "||").c_str(); }

}  // namespace

// A test whose body (following the macro) runs in a child process whose QUEN_SYSPROBE is `sysprobe`.
#define CHILD_TEST(name, sysprobe)                                                            \
    TEST(DriveMap, name) {                                                                    \
        support::ScratchFolder folder;                                                        \
        support::ChildProcess child("DriveMapChild." #name, {{"QUEN_SYSPROBE", sysprobe}});   \
        EXPECT_EQ(0, child.wait()) << "DriveMapChild." #name " failed (its output is above)"; \
    }                                                                                         \
    CHILD_PART(DriveMapChild, name)

#define MACHINE_TEST(name, machine) CHILD_TEST(name, machineFile(folder, machine))

// An empty floppy drive, a hard disk SYSTEM, a CD-ROM holding PHOTOS, a hard disk whose medium has no label.
MACHINE_TEST(WalksAndConvertsOnTheWorkedExample, "# letter family medium capacity state\nA 0x0100 -\n"
             "C 0x0200 SYSTEM 1000000\nD 0x0400 PHOTOS 650000000 ro   # a CD\nE 0x0200 \"\"\n") {
    DiskDriveAccessor drives;
    EXPECT_EQ("C h -1", state(drives));
    EXPECT_EQ("ACDE", walk(drives));
    EXPECT_EQ("- vr -1", state(drives));
    EXPECT_TRUE(drives.previous() && drives.current() == 'E' && drives.last());
    EXPECT_EQ("EDCA", walk(drives, false));
    // The floppy has not read anything yet; the accessor never calls a drive removable.
    EXPECT_EQ("A fvr -1", state(drives));
    drives.current('D');
    EXPECT_EQ("D cvr 0", state(drives));
    EXPECT_EQ("A= C=SYSTEM D= E=", labels("ACDE"));
    drives.load();
    EXPECT_EQ("D=PHOTOS", labels("D"));
    EXPECT_EQ('c', drives.current('c'));  // the keys are upper-case
    EXPECT_FALSE(drives.valid() || drives.valid('c'));
    EXPECT_TRUE(drives.valid('C') && drives['D'].isCDROM());

    // Missing letters throw and add nothing.
    const DiskDriveMap map;
    const DiskDriveAccessor& constDrives = drives;
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { DiskDriveMap()['Q']; }, [&] { map['B']; }, [&] { drives['c']; }, [&] { constDrives['Z']; },
             [&] { drives.drive(); }, [&] { constDrives.drive(); }})
        EXPECT_EQ("Invalid drive specified", support::thrown(call));
    EXPECT_TRUE(map.size() == 4u && map.find('Q') == map.end() && map.find('c') == map.end());

    // The drive made current first ('-' as it is), the direction, the name, the result, the current drive after.
    const struct { char before; bool toVolume; const char *name, *expected; char after; } rows[] = {
        {'D', true, "C:\\dir\\file.txt", "||SYSTEM||\\dir\\file.txt", 'C'},
        {'-', true, "E:file.txt", "||E:||\\file.txt", '-'},
        {'A', false, "||E:||\\x.dat", "E:\\x.dat", 'A'},  // no lookup: A stays current
        {'c', false, "||SYSTEM||\\dir\\file.txt", "C:\\dir\\file.txt", 'C'},  // with no drive current
        {'-', false, "||system||file.txt", "C:\\file.txt", '-'},
        {'D', false, "||NOSUCH||\\x", "", 'D'},  // not found: the current drive stays
    };
    for (const auto& row : rows) {
        if (row.before != '-') drives.current(row.before);
        EXPECT_EQ(row.expected, row.toVolume ? toVolume(drives, row.name) : toDrive(drives, row.name));
        EXPECT_TRUE(row.after == '-' || row.after == drives.current()) << row.name;
    }
    // Returned unchanged; a letter without a drive reads nothing.
    for (const char* name : {"\\\\server\\share\\x", "dir\\x", "||SYSTEM||\\x", "c:\\x", "1:\\x"})
        EXPECT_EQ(name, toVolume(drives, name));
    for (const char* name : {"C:\\x", "||||\\x", "||a|b||\\x", "|x||y||"}) EXPECT_EQ(name, toDrive(drives, name));
}

MACHINE_TEST(SearchesTheCurrentDriveThenTheKnownLabelsThenTheMedia,
             "A 0x0100 -\nC 0x0200 SAME\nD 0x0200 SAME\nE 0x0200 \"\"\nF 0x0400 -\n") {
    DiskDriveAccessor drives;
    drives.current('D');
    EXPECT_EQ("D:\\x", toDrive(drives, "||SAME||\\x"));
    drives.current('F');
    EXPECT_EQ("C:\\x", toDrive(drives, "||same||\\x"));
    // A failed search reads removable media again; a fixed drive answers from its medium until getDisk.
    rewriteMachine("A 0x0100 BACKUP1\nC 0x0200 RENAMED\nD 0x0200 SAME\nE 0x0200 DATA\nF 0x0400 DISC\n");
    EXPECT_EQ("", toDrive(drives, "||RENAMED||\\x"));
    EXPECT_EQ("C:\\x", toDrive(drives, "||SAME||\\x"));
    EXPECT_EQ("A=BACKUP1 F=DISC", labels("AF"));
    EXPECT_EQ("A:\\y", toDrive(drives, "||backup1||\\y"));
    drives.current('C');
    drives.load();
    EXPECT_EQ("C:\\x", toDrive(drives, "||RENAMED||\\x"));
    // A medium taken out keeps its label until the next read; a letter whose line has gone has no medium.
    rewriteMachine("A 0x0100 -\nD 0x0200 SAME\nE 0x0200 DATA\nF 0x0400 -\n");
    EXPECT_FALSE(DiskDriveMap()['A'].hasDisk() || DiskDriveMap()['C'].hasDisk());
    EXPECT_EQ("A:\\y", toDrive(drives, "||BACKUP1||\\y"));
    drives.load();
    EXPECT_EQ("A=", labels("A"));
    EXPECT_EQ("A fvr -1", state(drives));
    // Converting to the volume form binds a fixed drive's medium anew.
    EXPECT_EQ("||DATA||\\x.dat", toVolume(drives, "||E:||\\x.dat"));
}

MACHINE_TEST(ChoosesTheClassByFamily,
             "C 0x0200 FIRST\nC 0x0400 SECOND\nF 0x0400 -\nE 0x0400 -\nG 0x0000 -\nH 0x0002 -\nI 0x0008 -\n"
             "J 0x00ff -\nK 0x2000 -\nL 0x1000 -\nN 0x0800 SHARE\nR 0x4000 RAMDISK 4096\nB 0x0100 -\nS 0x0001 -\n"
             "T 0x0003 -\nU 0x0007 -\nV 0x0010 -\nW 0x0004 -\nX 0x8000 -\nY 200 PLAIN\nZ 0x4000 -\n") {
    DiskDriveMap map;
    EXPECT_EQ(20u, map.size());
    // Of two records with one letter the first stays; CD units follow the listing, the other's CD-ROM too.
    EXPECT_TRUE(map['F'].cdUnit() == 1 && map['E'].cdUnit() == 2);
    // Removable drives have not read yet; the fixed ones bound their media when made.
    EXPECT_EQ("C=FIRST N= R=RAMDISK Y=PLAIN Z=", labels("CNRYZ"));
    const std::pair<std::string, const char*> rows[] = {{"CY", "h"},   {"GJKLSTUV", "vdr"}, {"HIWX", "uvdr"},
                                                        {"N", "nvdr"}, {"B", "fvdr"},       {"R", "m"},
                                                        {"Z", "mr"},   {"EF", "cvdr"}};
    for (const auto& [letters, expected] : rows) {
        for (const char letter : letters) EXPECT_EQ(expected, kinds(map[letter])) << letter;
    }
    // An array holds the records of the families asked for (each record, not each letter); or those with media.
    EXPECT_EQ(3, sysProbe::DriveArray(sysProbe::familyCDROM, false).count);
    EXPECT_EQ(1, sysProbe::DriveArray(sysProbe::familyUndetermined, false).count);
    EXPECT_EQ(5, sysProbe::DriveArray(sysProbe::familyAll, true).count);
}

// Without a machine file there are no drives; a refresh finds those written since, the walk bounded as it was.
MACHINE_TEST(UnreadableMachineThenRefresh, nullptr) {
    DiskDriveAccessor drives;
    EXPECT_FALSE(drives.size() || drives.first() || drives.last() || drives.valid());
    rewriteMachine("# no C\n\nA 0x0100 -\nD 0x0400 PHOTOS\n");
    drives.refresh();
    EXPECT_TRUE(drives.size() == 2u && !drives.first() && !drives.last() && !drives.next() && !drives.previous());
    DiskDriveAccessor after;  // without C nothing is current at first
    EXPECT_EQ("- vr -1", state(after));
    EXPECT_EQ("AD", walk(after));
}

MACHINE_TEST(RefreshAddsDrivesAndKeepsTheOldOnes, "C 0x0200 SYSTEM\nD 0x0400 PHOTOS\n") {
    DiskDriveAccessor drives;
    drives.current('D');
    drives.load();
    // New drives are listed after the old ones, which keep their positions.
    rewriteMachine("C 0x0200 SYSTEM\nD 0x0400 MUSIC\nA 0x0100 -\nF 0x0400 NEW\nB 0x0200 SECOND\n");
    drives.refresh();
    // D keeps its drive and what it read, until it reads again through the record of the first listing.
    EXPECT_EQ("D cv 0", state(drives));
    EXPECT_EQ("B=SECOND D=PHOTOS", labels("BD"));
    drives.load();
    EXPECT_EQ("D=MUSIC", labels("D"));
    // The walk starts where the map started when the accessor was made; backwards, it ends at the map's start.
    EXPECT_EQ("CDF", walk(drives));
    const std::pair<char, const char*> back[] = {{'A', "A"}, {'B', "BA"}, {'F', "FDC"}};
    for (const auto& [from, letters] : back) {
        drives.current(from);
        EXPECT_EQ(letters, walk(drives, false));
    }
}

MACHINE_TEST(SkipsLinesThatAreNotRecords,
             "C 0x0200 SYSTEM\nX\nD 0xZZ PHOTOS\nE 0x0200 LABEL 12ab\nF 0x0400 LABEL 5 rx\n"
             "1 0x0200 DIGIT\nH 0x10000 BIG\nI 0x0200 A 1 ro extra\ng: 0x0200 LOWER 100 ro # drive G\r\n"
             "J 0x0400 \"\" rw\nK 0x0200 MAX 9223372036854775807\nL 0x0200 OVER 9223372036854775808\n"
             "M 0x0200 GLUED 5root=media\n") {
    DiskDriveMap map;
    EXPECT_EQ(9223372036854775807LL, map['K'].capacity());
    EXPECT_EQ("C=SYSTEM G=LOWER", labels("CG"));
    EXPECT_TRUE(map['G'].capacity() == 100 && kinds(map['G']) == "hr");
    EXPECT_TRUE(map['J'].getDisk() && kinds(map['J']) == "cvd");
    // Each skipped line is named on standard error when an array is made.
    testing::internal::CaptureStderr();
    EXPECT_EQ(4, sysProbe::DriveArray(sysProbe::familyAll, false).count);
    const std::string messages = testing::internal::GetCapturedStderr(), file = std::getenv("QUEN_SYSPROBE");
    EXPECT_NE(std::string::npos, messages.find("sysProbe: " + file + ":2: not a drive record, skipped: X\n"));
    for (int line = 1; line <= 13; ++line)  // lines 1 and 9 to 11 are records
        EXPECT_EQ(line == 1 || (line >= 9 && line <= 11),
                  messages.find(file + ":" + std::to_string(line) + ":") == std::string::npos) << line;
}

// The real machine: QUEN_SYSPROBE empty means no scripted machine.
CHILD_TEST(RealMachine, "") {
    DiskDriveAccessor drives;
    EXPECT_EQ("C h -1", state(drives));  // not read-only: the tests write there
    EXPECT_TRUE(drives.drive().getDisk() && drives.drive().capacity() > 0);  // the tool's cases read every drive
}

// The usual request: find the medium by its label, open the file by its drive-form name, append another file.
MACHINE_TEST(TypicalRequestOpensFilesUnderTheRecordsRoot,
             "C 0x0200 SYSTEM\nE 0x0010 BACKUP1 8004304896 root=media/backup 1  \nF 0x0010 - root=media/empty\n") {
    const std::string onStick = besideMachine("/media/backup 1/data/set.dat", "head");
    const std::string empty = besideMachine("/media/empty/x"), other = besideMachine("/other.bin", "tail!");
    DiskDriveAccessor drives;
    const std::string located = toDrive(drives, "||BACKUP1||\\data\\set.dat");
    EXPECT_EQ("E:\\data\\set.dat", located);
    EXPECT_EQ(5u, BinFStream(located.c_str(), BinStream::app).copyFile(other.c_str(), 2u));
    EXPECT_EQ(9u, fileSize("e:/data/set.dat"));
    EXPECT_EQ(9u, fileSize(support::utf16(u"E:\\data\\set.dat").data()));
    EXPECT_EQ("headtail!", support::readFile(onStick));
    const std::string mixed = onStick.substr(0, onStick.find("media")) + "media\\backup 1/data\\set.dat";
    EXPECT_EQ("E:\\data\\set.dat", platform::driveFileName(mixed.c_str()));  // '/' and '\\' alike
    EXPECT_NE("E:\\x", platform::driveFileName((onStick.substr(0, onStick.find("/backup")) + "_backup 1/x").c_str()));
    EXPECT_EQ("E:\\", platform::driveFileName(besideMachine("/media/backup 1").c_str()));
    // Where the system compares names ignoring case (Windows), so does the search for a root.
    const std::string otherCase = onStick.substr(0, onStick.find("backup")) + "BACKUP 1/data/set.dat";
    EXPECT_EQ(fs::exists(otherCase), platform::driveFileName(otherCase.c_str()) == "E:\\data\\set.dat");

    // F has no medium: nothing opens there and nothing is made.
    EXPECT_EQ("File OPEN errorF:\\new.dat with mode 43",
              support::thrown([] { BinFStream file("F:\\new.dat", BinStream::app); }));
    EXPECT_EQ("", platform::systemFileName("F:\\new.dat"));
    EXPECT_ANY_THROW(fileSize(support::utf16(u"F:\\new.dat").data()));
    EXPECT_TRUE(fs::is_empty(fs::path(empty).parent_path()));
    for (const char* name : {"dir\\x", "E:x", "EE:\\x", "1:\\x", "||BACKUP1||\\x"})
        EXPECT_EQ(name, platform::systemFileName(name));
    // The stick moves to G: its files go with it, and E: leads nowhere.
    rewriteMachine("C 0x0200 SYSTEM\nE 0x0010 - root=media/backup 1\nG 0x0010 BACKUP1 root=media/backup 1\n");
    EXPECT_EQ(9u, fileSize("G:\\data\\set.dat"));
    EXPECT_EQ("File OPEN errorE:\\data\\set.dat with mode 35",
              support::thrown([] { BinFStream file("E:\\data\\set.dat", BinStream::in); }));
    EXPECT_EQ("G:\\data\\set.dat", platform::driveFileName(onStick.c_str()));
}

// A relative machine name is taken from the folder current as the library loaded, whatever the host does later.
TEST(DriveMap, RelativeMachineNameResolvedAtLoad) {
    support::ScratchFolder folder;
    support::writeFile(folder.file("machine.txt"), "C 0x0200 SYSTEM\nD 0x0400 PHOTOS root=.\n");
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    support::ChildProcess child("DriveMapChild.RelativeMachineNameResolvedAtLoad", {{"QUEN_SYSPROBE", "machine.txt"}});
    fs::current_path(before);
    EXPECT_EQ(0, child.wait()) << "the child failed (its output is above)";
}
CHILD_PART(DriveMapChild, RelativeMachineNameResolvedAtLoad) {
    fs::current_path(fs::current_path().parent_path());
    testing::internal::CaptureStderr();
    DiskDriveMap().refresh();
    EXPECT_EQ(2, sysProbe::DriveArray(sysProbe::familyAll, false).count);
    EXPECT_EQ(39u, fileSize("D:\\machine.txt"));  // the machine file itself
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}
