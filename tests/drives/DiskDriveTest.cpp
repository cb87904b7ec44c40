// The drive classes over records that the test controls.
#include <gtest/gtest.h>

#include <memory>

#include "quen/drives/Disk.h"
#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"

using namespace quen;

namespace {

// A drive record whose medium the test puts in and takes out.
struct TestDrive : sysProbe::Drive {
    explicit TestDrive(int number, sysProbe::EDriveFamily family = sysProbe::familyHardDisk) : Drive(family, number) {}
    void insert(const char* label, std::uint64_t capacity = 0, bool readOnly = false) {
        present = true;
        medium = {label, "", capacity, readOnly};
    }
    bool readMedium(sysProbe::Medium& found) override {
        if (present) found = medium;
        return present;
    }
    bool present = false;
    sysProbe::Medium medium;
};

// The label and read-only state a drive answers with: "LABEL" or "LABEL ro".
std::string medium(const DiskDrive& drive) {
    return drive.volumeName().c_str() + std::string(drive.isReadOnly() ? " ro" : "");
}

}  // namespace

TEST(DiskDrive, EachClassAnswersItsFamilyAndBanner) {
    TestDrive record(3), first(0);
    // r removable, h hard disk, m RAM disk, c CD-ROM, f floppy, n network, u unknown
    const struct { std::shared_ptr<DiskDrive> drive; const char *kinds, *name, *banner; } rows[] = {
        {std::make_shared<DiskDriveFixed>(&record), "", "Fixed", DiskDriveFixed::version()},
        {std::make_shared<DiskDriveHD>(&record), "h", "HD", DiskDriveHD::version()},
        {std::make_shared<DiskDriveRAM>(&record), "m", "RAM", DiskDriveRAM::version()},
        {std::make_shared<DiskDriveCDROM>(&record, 2), "rc", "CDROM", DiskDriveCDROM::version()},
        {std::make_shared<DiskDriveFloppy>(&record), "rf", "Floppy", DiskDriveFloppy::version()},
        {std::make_shared<DiskDriveNetwork>(&record), "rn", "Network", DiskDriveNetwork::version()},
        {std::make_shared<DiskDriveRemovableGeneric>(&record), "r", "RemovableGeneric",
         DiskDriveRemovableGeneric::version()},
        {std::make_shared<DiskDriveUnknown>(&record), "ru", "Unknown", DiskDriveUnknown::version()},
        {std::make_shared<DiskDriveRemovable>(&record), "r", "Removable", DiskDriveRemovable::version()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const DiskDrive& drive = *row.drive;
        EXPECT_EQ(std::string("DiskDrive") + row.name + " 1.0, 19.10.1999", row.banner);
        const bool flags[] = {drive.isDriveRemovable(), drive.isHD(),           drive.isRAMDrive(), drive.isCDROM(),
                              drive.isFloppy(),         drive.isNetworkDrive(), drive.isUnknown()};
        std::string kinds;
        for (int flag = 0; flag < 7; ++flag) kinds += flags[flag] ? std::string(1, "rhmcfnu"[flag]) : "";
        EXPECT_EQ(row.kinds, kinds);
        EXPECT_TRUE(drive.isVolumeRemovable() == flags[0] && drive.isDriveFixed() != flags[0] &&
                    drive.isVolumeFixed() != flags[0]);
        EXPECT_EQ(kinds.find('c') != std::string::npos ? 2 : -1, drive.cdUnit());
        EXPECT_EQ(FileString("D:"), drive.driveName());
        EXPECT_EQ('D', drive.driveLetter());
    }
    EXPECT_STREQ("A:", DiskDriveFloppy(&first).driveName().c_str());
    EXPECT_STREQ("Disk 1.0, 19.10.1999", Disk::version());
    EXPECT_STREQ("DiskDrive 1.0, 19.10.1999", DiskDrive::version());
    EXPECT_STREQ("DiskDriveMap 1.0, 23.09.1999", DiskDriveMap::version());
    EXPECT_STREQ("DiskDriveAccessor 1.0, 23.09.1999", DiskDriveAccessor::version());
}

TEST(DiskDrive, CopiesAndAssignment) {
    TestDrive record(4, sysProbe::familyFloppy), other(5, sysProbe::familyFloppy);
    record.insert("BACKUP1");
    DiskDriveFloppy floppy(&record), target(&other);
    floppy.getDisk();
    // A copy starts as a new removable drive and reads at its own getDisk.
    DiskDriveFloppy copy(floppy);
    EXPECT_EQ(" ro", medium(copy));
    EXPECT_TRUE(copy == floppy && copy.getDisk());
    EXPECT_EQ("BACKUP1", medium(copy));
    // Assignment takes the record and the binding, not the stored label: the
    // target keeps what it read before.
    target = floppy;
    EXPECT_EQ(" ro", medium(target));
    EXPECT_TRUE(target == floppy && target.driveLetter() == 'E');
    other.insert("OWN", 0, false);
    DiskDriveFloppy reader(&other);
    DiskDriveCDROM cd(&record, 1), cdTarget(&other, 4);
    ASSERT_TRUE(reader.getDisk() && cdTarget.getDisk());
    reader = floppy;
    cdTarget = cd;
    EXPECT_EQ('E', reader.driveLetter());
    EXPECT_EQ("OWN", medium(reader));
    EXPECT_EQ(1, cdTarget.cdUnit());
    EXPECT_EQ("OWN", medium(cdTarget));
    EXPECT_TRUE(cdTarget == cd);

    // Disk assignment copies the binding: a fixed drive assigned another
    // answers from its medium.
    TestDrive hdRecord(2), emptyRecord(3);
    hdRecord.insert("SYSTEM", 77);
    DiskDriveHD assigned(&emptyRecord);
    assigned = DiskDriveHD(&hdRecord);
    EXPECT_EQ("SYSTEM", medium(assigned));
    EXPECT_EQ(77, assigned.capacity());
    Disk disk;
    EXPECT_EQ(0, disk.capacity());
    disk = Disk(&hdRecord.getDisk());
    EXPECT_EQ(77, disk.capacity());
    EXPECT_EQ(FileString("SYSTEM"), disk.volumeName());
}

TEST(DiskDrive, EqualityAndOrder) {
    TestDrive record(2, sysProbe::familyCDROM), other(2, sysProbe::familyCDROM), disk(2), otherDisk(3), a(0), e(4);
    EXPECT_TRUE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 0));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 1));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&other, 0));
    // One record, different classes.
    const DiskDriveFloppy floppy(&record);
    const DiskDriveNetwork network(&record);
    EXPECT_FALSE(static_cast<const DiskDrive&>(floppy) == static_cast<const DiskDrive&>(network));
    EXPECT_FALSE(static_cast<const DiskDrive&>(DiskDriveHD(&disk)) == DiskDriveRAM(&disk));
    // Fixed drives alike: one record and one class.
    disk.insert("SYSTEM");
    EXPECT_TRUE(DiskDriveFixed(&disk) == DiskDriveFixed(&disk) && DiskDriveHD(&disk) == DiskDriveHD(&disk) &&
                DiskDriveRAM(&disk) == DiskDriveRAM(&disk));
    EXPECT_FALSE(DiskDriveFixed(&disk) == DiskDriveFixed(&otherDisk));
    EXPECT_FALSE(DiskDriveHD(&disk) == DiskDriveHD(&otherDisk));
    EXPECT_FALSE(DiskDriveRAM(&disk) == DiskDriveRAM(&otherDisk));
    // Disks compare by class only; an unbound one is empty and read-only.
    sysProbe::Disk one("A", "", 1, false), two("B", "", 2, true);
    EXPECT_TRUE(Disk(&one) == Disk(&two) && Disk(&one) == Disk());
    EXPECT_EQ(FileString(""), Disk().volumeName());
    EXPECT_TRUE(Disk().readOnly());
    // Drives order by letter.
    const DiskDriveHD ha(&a), hc(&disk), he(&e);
    EXPECT_TRUE(ha < hc && hc < he && ha < he);
    EXPECT_FALSE(ha < ha || hc < ha || he < hc);
}

TEST(DiskDrive, RecordHandsOutEachMediumOnceAndReadsCapacityAsTwoWords) {
    TestDrive record(2);
    record.insert("ONE", 1);
    sysProbe::Disk& first = record.getDisk();
    record.insert("TWO", 2);
    sysProbe::Disk& second = record.getDisk();
    record.insert("ONE", 1);
    EXPECT_EQ(&first, &record.getDisk());
    EXPECT_NE(&first, &second);
    EXPECT_STREQ("ONE", first.getLabel());  // still valid after others were handed out
    record.present = false;
    EXPECT_STREQ("", record.getDisk().getLabel());
    EXPECT_TRUE(record.getDisk().isReadOnly());

    sysProbe::Disk big("BIG", "", 0xFFFFFFFFULL + 2, false);
    EXPECT_EQ(0x100000001LL, Disk(&big).capacity());
    EXPECT_EQ(1u, big.getCapacity().low);
    EXPECT_EQ(1u, big.getCapacity().high);
}
