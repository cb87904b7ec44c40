// Drive letters, names and labels on Linux with real mounts. Each test needs root: its child makes a private mount
// namespace with a tmpfs over /media, gone when it ends; its letters go to a registry store of the test's own.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/sysprobe/SysProbe.h"
#include "quen/platform/DriveNames.h"
#include "quen/platform/Win32.h"
#include "quen/values/TimeDate.h"
#include "support/ChildProcess.h"
#include "support/FileSupport.h"

using namespace quen;

namespace {

std::string toDrive(const std::string& name) { return DiskDriveAccessor().volumeFileNameToDriveFileName(name.c_str(), "||").c_str(); }
std::string toVolume(const std::string& name) { return DiskDriveAccessor().driveFileNameToVolumeFileName(name.c_str(), "||").c_str(); }

bool run(const std::string& command) { return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0; }

// Gives the process a namespace of its own with an empty /media; else the reason why not.
const char* privateMedia() {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return "no private mount namespace here";
    }
    // The machine's own media would hold letters: they go (a detached mount takes those below it along).
    std::ifstream table("/proc/self/mounts");
    for (std::string device, directory, rest; table >> device >> directory && std::getline(table, rest);)
        if (directory.rfind("/media", 0) == 0 || directory.rfind("/run/media", 0) == 0)
            umount2(directory.c_str(), MNT_DETACH);
    if (mount("quen-test", "/media", "tmpfs", 0, "size=8m") != 0 || mkdir("/media/u", 0755) != 0) {
        return "cannot mount a tmpfs over /media";
    }
    const bool onlyC = sysProbe::DriveArray(sysProbe::familyAll, true).count == 1;
    return onlyC ? nullptr : "network or optical mounts here hold letters of their own";
}

// A tmpfs at /media/u/NAME: a stick labelled NAME, unless the source names a device.
void mountStick(const std::string& name, const char* source = "quen-stick") {
    const std::string directory = "/media/u/" + name;
    ASSERT_EQ(0, mkdir(directory.c_str(), 0755)) << directory;
    ASSERT_EQ(0, mount(source, directory.c_str(), "tmpfs", 0, "size=1m")) << directory;
}

// Each label is found on its letter ('-' nowhere), and that drive of the map reads it.
void expectLetters(const std::vector<std::pair<std::string, char>>& labels) {
    DiskDriveMap map;
    map.refresh();
    for (const auto& [label, letter] : labels) {
        EXPECT_EQ(letter == '-' ? "" : letter + std::string(":\\x"), toDrive("||" + label + "||\\x")) << label;
        const bool found = letter != '-' && map.find(letter) != map.end() && map[letter].getDisk();
        EXPECT_EQ(letter == '-' ? "-" : label, found ? map[letter].volumeName().c_str() : "-");
    }
}

void runChild(const char* test) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    support::ScratchFolder folder;
    support::ChildProcess child(test, {{"QUEN_SYSPROBE", ""}, {"QUEN_REGISTRY", folder.file("registry.sqlite3")}});
    EXPECT_EQ(0, child.wait()) << test << " failed (its output is above)";
}

}  // namespace

#define MOUNT_TEST(name)                                                  \
    TEST(RealMounts, name) { runChild("RealMountsChild." #name); }        \
    void name##Media();                                                   \
    CHILD_PART(RealMountsChild, name) {                                   \
        if (const char* reason = privateMedia()) GTEST_SKIP() << reason;  \
        name##Media();                                                    \
    }                                                                     \
    void name##Media()

// A second process: it finds each label of QUEN_TEST_LETTERS ("D=BBB,E=AAA") on the letter the first one gave.
CHILD_PART(RealMountsChild, AgreesOnTheLetters) {
    std::istringstream letters(std::getenv("QUEN_TEST_LETTERS") != nullptr ? std::getenv("QUEN_TEST_LETTERS") : "");
    for (std::string pair; std::getline(letters, pair, ',');) {
        EXPECT_EQ(pair.substr(0, 1) + ":\\x", toDrive("||" + pair.substr(2) + "||\\x"));
        EXPECT_EQ("||" + pair.substr(2) + "||\\x", toVolume(pair.substr(0, 1) + ":\\x"));
    }
}

MOUNT_TEST(LettersStayWithTheirMediaAndTheTypicalRequestRuns) {
    // A second stick sorting first takes the next letter; a replaced stick's successor takes the letter it left.
    // Another process, started after each step, finds the same letters.
    const struct { const char *unmount, *mount, *agreed; std::vector<std::pair<std::string, char>> expected; } steps[] = {
        {nullptr, "BBB", "D=BBB", {{"BBB", 'D'}}},
        {nullptr, "AAA", "E=AAA,D=BBB", {{"AAA", 'E'}, {"BBB", 'D'}}},
        {"BBB", "NEWSTICK", "D=NEWSTICK,E=AAA", {{"NEWSTICK", 'D'}, {"AAA", 'E'}, {"BBB", '-'}}},
        {nullptr, "ABC", "F=ABC,D=NEWSTICK,E=AAA", {{"ABC", 'F'}, {"NEWSTICK", 'D'}, {"AAA", 'E'}}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.mount);
        if (step.unmount != nullptr) umount((std::string("/media/u/") + step.unmount).c_str());
        mountStick(step.mount);
        expectLetters(step.expected);
        support::ChildProcess other("RealMountsChild.AgreesOnTheLetters", {{"QUEN_TEST_LETTERS", step.agreed}});
        EXPECT_EQ(0, other.wait()) << "a second process disagrees on " << step.agreed;
    }
    EXPECT_TRUE(DiskDriveMap()['D'].isVolumeRemovable());

    // The usual request, on the real machine: the stick's file by its drive-form name.
    support::writeFile("/media/u/NEWSTICK/set.dat", "head");
    EXPECT_EQ(4u, fileSize((toDrive("||NEWSTICK||\\set.dat")).c_str()));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), GetFileAttributesA("d:/set.dat"));
    const std::pair<const char*, const char*> toSystem[] = {
        {"D:\\data\\set.dat", "/media/u/NEWSTICK/data/set.dat"}, {"E:", "/media/u/AAA"},
        {"C:\\etc\\hostname", "/etc/hostname"}, {"c:", "/"}, {"G:\\x", ""}};
    for (const auto& [name, expected] : toSystem) EXPECT_EQ(expected, platform::systemFileName(name)) << name;
    const std::pair<const char*, const char*> fromSystem[] = {
        {"/media/u/NEWSTICK/data/set.dat", "D:\\data\\set.dat"}, {"/media/u/AAA", "E:\\"},
        {"/media/u/AAAB/x", "C:\\media\\u\\AAAB\\x"}, {"/etc/hostname", "C:\\etc\\hostname"},
        {"relative/x", "relative/x"}};
    for (const auto& [name, expected] : fromSystem) EXPECT_EQ(expected, platform::driveFileName(name)) << name;
    EXPECT_EQ("||NEWSTICK||\\a.txt", toVolume(platform::driveFileName("/media/u/NEWSTICK/a.txt")));
}

// Labels come from the file systems, not the mount points; a medium keeps its letter wherever it is mounted.
MOUNT_TEST(LabelsComeFromTheFileSystems) {
    if (!run("command -v mkfs.vfat && command -v mkfs.ext4")) GTEST_SKIP() << "mkfs.vfat or mkfs.ext4 missing";
    if (!run("losetup -f")) GTEST_SKIP() << "no loop device free";
    support::ScratchFolder folder;
    // FAT where the kernel mounts it (a container's kernel may not), else ext4 in its place.
    const bool fat = run("grep -qw vfat /proc/filesystems");
    // Image, how it is made, where it is mounted, in the order of the letters D to G.
    const struct { const char *image, *make, *directory; } media[] = {
        {"none.img", fat ? "mkfs.vfat -i 4A1B09F3" : "mkfs.ext4 -q", "4A1B-09F3"},
        {"ext.img", "mkfs.ext4 -q -L EXTLABEL", "disk"},
        {"fat.img", fat ? "mkfs.vfat -i 11111111 -n KINGSTON" : "mkfs.ext4 -q -L KINGSTON", "stick1"},
        {"same.img", fat ? "mkfs.vfat -i 22222222 -n KINGSTON" : "mkfs.ext4 -q -L KINGSTON", "stick2"},
    };
    for (const auto& medium : media) {
        const std::string image = folder.file(medium.image);
        support::makeSparseFile(image, 8u << 20);
        ASSERT_TRUE(run(std::string(medium.make) + " " + image)) << medium.make;
        ASSERT_EQ(0, mkdir((std::string("/media/u/") + medium.directory).c_str(), 0755));
        if (!run("mount -o loop " + image + " /media/u/" + medium.directory)) GTEST_SKIP() << "no loop mounts here";
    }
    expectLetters({{"EXTLABEL", 'E'}, {"KINGSTON", 'F'}});
    EXPECT_EQ("||D:||\\x", toVolume("D:\\x"));  // no label
    EXPECT_TRUE(DiskDriveMap()['G'].getDisk() && DiskDriveMap()['G'].volumeName() == "KINGSTON");
    ASSERT_TRUE(run("umount /media/u/stick1 && mkdir /media/u/moved && mount -o loop " + folder.file("fat.img") +
                    " /media/u/moved"));
    DiskDriveMap().refresh();
    EXPECT_EQ("/media/u/moved/x", platform::systemFileName("F:\\x"));
    EXPECT_EQ("/media/u/stick2/x", platform::systemFileName("G:\\x"));
}

// Where a device cannot be probed, udev's links in /dev/disk/by-label name its medium, bytes written \xHH.
MOUNT_TEST(LabelsFromUdevLinks) {
    // A /dev of the namespace's own, whose devices are folders (which the probe refuses), linked by labels.
    ASSERT_EQ(0, mount("quen-dev", "/dev", "tmpfs", 0, "size=1m"));
    ASSERT_EQ(0, mkdir("/dev/disk", 0755) | mkdir("/dev/disk/by-label", 0755));
    const std::pair<std::string, std::string> links[] = {
        {"My\\x20Abc", "My Abc"}, {"\\x4a\\x4", "J\\x4"}, {"b\\xZZ", "b\\xZZ"}};
    std::vector<std::pair<std::string, char>> expected;
    for (const auto& [link, label] : links) {
        const std::string device = "/dev/quen" + std::to_string(expected.size());
        ASSERT_EQ(0, mkdir(device.c_str(), 0755) | symlink(device.c_str(), ("/dev/disk/by-label/" + link).c_str()));
        mountStick("m" + std::to_string(expected.size()), device.c_str());
        expected.emplace_back(label, static_cast<char>('D' + expected.size()));
    }
    expectLetters(expected);
}
