// The drive classes over records that the test controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "quen/drives/Disk.h"
#include "quen/drives/DiskDriveAccessor.h"
#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveMap.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"

using namespace quen;

namespace {

// A drive record whose medium the test puts in and takes out.
class TestDrive : public sysProbe::Drive {
public:
    explicit TestDrive(int number, sysProbe::EDriveFamily family = sysProbe::familyHardDisk)
        : Drive(family, number) {}
    void insert(const char* label, std::uint64_t capacity = 0, bool readOnly = false) {
        present = true;
        medium.label = label;
        medium.capacity = capacity;
        medium.readOnly = readOnly;
    }
    void eject() { present = false; }
    bool present = false;
    sysProbe::Medium medium;
    int reads = 0;

protected:
    bool readMedium(sysProbe::Medium& found) override {
        ++reads;
        if (present) found = medium;
        return present;
    }
};

// Exposes the protected disk of a drive.
template <typename Base>
struct Open : Base {
    using Base::Base;
    using Base::disk;
};

// The label and read-only state a drive answers with.
void expectMedium(const DiskDrive& drive, const char* label, bool readOnly) {
    EXPECT_EQ(FileString(label), drive.volumeName());
    EXPECT_EQ(readOnly, drive.isReadOnly()) << label;
}

}  // namespace

TEST(DiskDrive, Banners) {
    EXPECT_STREQ("Disk 1.0, 19.10.1999", Disk::version());
    EXPECT_STREQ("DiskDrive 1.0, 19.10.1999", DiskDrive::version());
    EXPECT_STREQ("DiskDriveFixed 1.0, 19.10.1999", DiskDriveFixed::version());
    EXPECT_STREQ("DiskDriveHD 1.0, 19.10.1999", DiskDriveHD::version());
    EXPECT_STREQ("DiskDriveRAM 1.0, 19.10.1999", DiskDriveRAM::version());
    EXPECT_STREQ("DiskDriveRemovable 1.0, 19.10.1999", DiskDriveRemovable::version());
    EXPECT_STREQ("DiskDriveCDROM 1.0, 19.10.1999", DiskDriveCDROM::version());
    EXPECT_STREQ("DiskDriveFloppy 1.0, 19.10.1999", DiskDriveFloppy::version());
    EXPECT_STREQ("DiskDriveNetwork 1.0, 19.10.1999", DiskDriveNetwork::version());
    EXPECT_STREQ("DiskDriveRemovableGeneric 1.0, 19.10.1999", DiskDriveRemovableGeneric::version());
    EXPECT_STREQ("DiskDriveUnknown 1.0, 19.10.1999", DiskDriveUnknown::version());
    EXPECT_STREQ("DiskDriveMap 1.0, 23.09.1999", DiskDriveMap::version());
    EXPECT_STREQ("DiskDriveAccessor 1.0, 23.09.1999", DiskDriveAccessor::version());
}

TEST(DiskDrive, FamilyQueriesOfEachClass) {
    TestDrive record(3);
    const DiskDriveFixed fixed(&record);
    const DiskDriveHD hd(&record);
    const DiskDriveRAM ram(&record);
    const DiskDriveCDROM cd(&record, 2);
    const DiskDriveFloppy floppy(&record);
    const DiskDriveNetwork network(&record);
    const DiskDriveRemovableGeneric generic(&record);
    const DiskDriveUnknown unknown(&record);
    const DiskDriveRemovable removable(&record);
    // r removable, h hard disk, m RAM disk, c CD-ROM, f floppy, n network, u unknown
    const std::pair<const DiskDrive&, std::string> rows[] = {
        {fixed, ""},    {hd, "h"},       {ram, "m"},      {cd, "rc"},        {floppy, "rf"},
        {network, "rn"}, {generic, "r"}, {unknown, "ru"}, {removable, "r"},
    };
    int row = 0;
    for (const auto& [drive, kinds] : rows) {
        SCOPED_TRACE(testing::Message() << "row " << row++);
        const auto is = [&kinds = kinds](char kind) { return kinds.find(kind) != std::string::npos; };
        EXPECT_EQ(is('r'), drive.isDriveRemovable());
        EXPECT_EQ(is('r'), drive.isVolumeRemovable());
        EXPECT_EQ(!is('r'), drive.isDriveFixed());
        EXPECT_EQ(!is('r'), drive.isVolumeFixed());
        EXPECT_EQ(is('h'), drive.isHD());
        EXPECT_EQ(is('m'), drive.isRAMDrive());
        EXPECT_EQ(is('c'), drive.isCDROM());
        EXPECT_EQ(is('f'), drive.isFloppy());
        EXPECT_EQ(is('n'), drive.isNetworkDrive());
        EXPECT_EQ(is('u'), drive.isUnknown());
        EXPECT_EQ(is('c') ? 2 : -1, drive.cdUnit());
        EXPECT_EQ('D', drive.driveLetter());
        EXPECT_EQ(FileString("D:"), drive.driveName());
    }
    TestDrive first(0);
    EXPECT_EQ('A', DiskDriveFloppy(&first).driveLetter());
    EXPECT_STREQ("A:", DiskDriveFloppy(&first).driveName().c_str());
}

TEST(DiskDrive, FixedDriveBindsItsMediumWhenMadeAndAsksItOnEveryCall) {
    TestDrive record(2);
    record.insert("SYSTEM", 0x123456789ULL);
    Open<DiskDriveHD> hd(&record);
    expectMedium(hd, "SYSTEM", false);
    EXPECT_EQ(0x123456789LL, hd.disk().capacity());
    EXPECT_EQ(0x123456789LL, hd.capacity());
    // Taken out: hasDisk asks anew, but the bound medium stays until a
    // getDisk finds another.
    record.eject();
    EXPECT_FALSE(hd.hasDisk());
    EXPECT_FALSE(hd.getDisk());
    EXPECT_EQ(FileString("SYSTEM"), hd.volumeName());
    record.insert("OTHER", 5, true);
    EXPECT_TRUE(hd.hasDisk());
    EXPECT_EQ(FileString("SYSTEM"), hd.volumeName());
    EXPECT_TRUE(hd.getDisk());
    expectMedium(hd, "OTHER", true);

    TestDrive none(2);  // made without medium
    const Open<DiskDriveRAM> ram(&none);
    expectMedium(ram, "", true);
    EXPECT_EQ(0, ram.disk().capacity());
}

TEST(DiskDrive, RemovableDriveAnswersFromItsLastGetDisk) {
    TestDrive record(3, sysProbe::familyCDROM);
    record.insert("PHOTOS", 650, false);
    DiskDriveCDROM cd(&record, 0);
    EXPECT_EQ(0, record.reads);  // nothing is read before getDisk
    expectMedium(cd, "", true);
    EXPECT_TRUE(cd.getDisk());
    expectMedium(cd, "PHOTOS", false);
    record.insert("MUSIC");
    EXPECT_EQ(FileString("PHOTOS"), cd.volumeName());  // not read again yet
    record.eject();
    EXPECT_FALSE(cd.getDisk());
    expectMedium(cd, "", true);
}

TEST(DiskDrive, CopiesAndAssignment) {
    TestDrive record(4, sysProbe::familyFloppy);
    record.insert("BACKUP1");
    DiskDriveFloppy floppy(&record);
    floppy.getDisk();
    // A copy starts as a new removable drive and reads at its own getDisk.
    DiskDriveFloppy copy(floppy);
    expectMedium(copy, "", true);
    EXPECT_TRUE(copy == floppy);
    EXPECT_TRUE(copy.getDisk());
    EXPECT_EQ(FileString("BACKUP1"), copy.volumeName());

    // Assignment takes the record and the binding, not the stored label...
    TestDrive other(5, sysProbe::familyFloppy);
    DiskDriveFloppy target(&other);
    target = floppy;
    EXPECT_EQ(FileString(""), target.volumeName());
    EXPECT_EQ('E', target.driveLetter());
    EXPECT_TRUE(target == floppy);
    // ... and leaves what the target read before as it was.
    other.insert("OWN", 0, false);
    DiskDriveFloppy reader(&other);
    ASSERT_TRUE(reader.getDisk());
    reader = floppy;
    EXPECT_EQ('E', reader.driveLetter());
    expectMedium(reader, "OWN", false);
    DiskDriveCDROM cd(&record, 1);
    DiskDriveCDROM cdTarget(&other, 4);
    ASSERT_TRUE(cdTarget.getDisk());
    cdTarget = cd;
    EXPECT_EQ(1, cdTarget.cdUnit());
    EXPECT_EQ(FileString("OWN"), cdTarget.volumeName());
    EXPECT_TRUE(cdTarget == cd);

    // Disk assignment copies the binding: a fixed drive assigned another
    // keeps answering from a medium.
    TestDrive hdRecord(2), emptyRecord(3);
    hdRecord.insert("SYSTEM", 77);
    const DiskDriveHD hd(&hdRecord);
    DiskDriveHD assigned(&emptyRecord);
    assigned = hd;
    EXPECT_EQ(FileString("SYSTEM"), assigned.volumeName());
    EXPECT_EQ(77, assigned.capacity());
    Disk disk;
    EXPECT_EQ(0, disk.capacity());
    disk = Open<DiskDriveHD>(&hdRecord).disk();
    EXPECT_EQ(77, disk.capacity());
    EXPECT_EQ(FileString("SYSTEM"), disk.volumeName());
}

TEST(DiskDrive, EqualityAndOrder) {
    TestDrive record(2, sysProbe::familyCDROM), other(2, sysProbe::familyCDROM);
    EXPECT_TRUE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 0));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 1));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&other, 0));
    // Same record, different classes.
    const DiskDriveFloppy floppy(&record);
    const DiskDriveNetwork network(&record);
    EXPECT_FALSE(static_cast<const DiskDrive&>(floppy) == static_cast<const DiskDrive&>(network));
    // Fixed drives alike: one record and one class.
    TestDrive disk(2), otherDisk(3);
    disk.insert("SYSTEM");
    EXPECT_TRUE(DiskDriveFixed(&disk) == DiskDriveFixed(&disk));
    EXPECT_TRUE(DiskDriveHD(&disk) == DiskDriveHD(&disk));
    EXPECT_TRUE(DiskDriveRAM(&disk) == DiskDriveRAM(&disk));
    EXPECT_FALSE(DiskDriveFixed(&disk) == DiskDriveFixed(&otherDisk));
    EXPECT_FALSE(DiskDriveHD(&disk) == DiskDriveHD(&otherDisk));
    EXPECT_FALSE(DiskDriveRAM(&disk) == DiskDriveRAM(&otherDisk));
    EXPECT_FALSE(static_cast<const DiskDrive&>(DiskDriveHD(&disk)) == DiskDriveRAM(&disk));
    // Disks compare by class only.
    sysProbe::Disk a("A", "", 1, false), b("B", "", 2, true);
    EXPECT_TRUE(Disk(&a) == Disk(&b));
    EXPECT_TRUE(Disk(&a) == Disk());
    EXPECT_EQ(FileString(""), Disk().volumeName());
    EXPECT_TRUE(Disk().readOnly());

    // Drives sort by letter.
    TestDrive e(4), first(0), c(2);
    DiskDriveHD he(&e), ha(&first), hc(&c);
    std::vector<DiskDrive*> drives = {&he, &ha, &hc};
    std::sort(drives.begin(), drives.end(), [](DiskDrive* x, DiskDrive* y) { return *x < *y; });
    EXPECT_EQ("ACE", std::string({drives[0]->driveLetter(), drives[1]->driveLetter(), drives[2]->driveLetter()}));
    EXPECT_FALSE(ha < ha);
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
    record.eject();
    EXPECT_STREQ("", record.getDisk().getLabel());
    EXPECT_TRUE(record.getDisk().isReadOnly());

    sysProbe::Disk big("BIG", "", 0xFFFFFFFFULL + 2, false);
    EXPECT_EQ(0x100000001LL, Disk(&big).capacity());
    const sysProbe::DiskSize size = big.getCapacity();
    EXPECT_EQ(1u, size.low);
    EXPECT_EQ(1u, size.high);
}
