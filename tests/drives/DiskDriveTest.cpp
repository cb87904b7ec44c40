// The drive classes over records that the test controls.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "quen/drives/Disk.h"
#include "quen/drives/DiskDriveFixed.h"
#include "quen/drives/DiskDriveRemovable.h"
#include "quen/drives/sysprobe/SysProbe.h"

using namespace quen;

namespace {

// A drive record whose medium the test puts in and takes out.
struct TestDrive : sysProbe::Drive {
    explicit TestDrive(int number) : Drive(sysProbe::familyHardDisk, number) {}  // the class, not the family, counts
    void insert(const char* label, std::uint64_t capacity = 0) { present = true; medium = {label, "", capacity, false}; }
    bool readMedium(sysProbe::Medium& found) override {
        if (present) found = medium;
        return present;
    }
    bool present = false;
    sysProbe::Medium medium;
};

// The label and read-only state a drive answers with: "LABEL" or "LABEL ro".
std::string medium(const DiskDrive& drive) { return drive.volumeName().c_str() + std::string(drive.isReadOnly() ? " ro" : ""); }

}  // namespace

TEST(DiskDrive, NamesItsDrive) {
    TestDrive first(0), fourth(3);
    EXPECT_TRUE(DiskDriveFloppy(&first).driveName() == "A:" && DiskDriveFixed(&fourth).driveName() == "D:");
}

TEST(DiskDrive, CopiesAndAssignment) {
    TestDrive record(4), other(5);
    record.insert("BACKUP1");
    DiskDriveFloppy floppy(&record);
    floppy.getDisk();
    // A copy starts as a new removable drive and reads at its own getDisk.
    DiskDriveFloppy copy(floppy);
    EXPECT_EQ(" ro", medium(copy));
    EXPECT_TRUE(copy == floppy && copy.getDisk());
    EXPECT_EQ("BACKUP1", medium(copy));
    // Assignment takes the record and the binding, not the stored label: the target keeps what it read before.
    other.insert("OWN");
    DiskDriveFloppy target(&other);
    DiskDriveCDROM cd(&record, 1), cdTarget(&other, 4);
    ASSERT_TRUE(target.getDisk() && cdTarget.getDisk());
    target = floppy;
    cdTarget = cd;
    EXPECT_TRUE(target == floppy && target.driveLetter() == 'E' && cdTarget == cd && cdTarget.cdUnit() == 1);
    EXPECT_EQ("OWN", medium(target));

    // Disk assignment copies the binding: a fixed drive assigned another answers from its medium.
    TestDrive hdRecord(2), emptyRecord(3);
    hdRecord.insert("SYSTEM", 77);
    DiskDriveHD assigned(&emptyRecord);
    assigned = DiskDriveHD(&hdRecord);
    EXPECT_TRUE(medium(assigned) == "SYSTEM" && assigned.capacity() == 77);
    Disk disk;
    EXPECT_EQ(0, disk.capacity());
    disk = Disk(&hdRecord.getDisk());
    EXPECT_TRUE(disk.capacity() == 77 && disk.volumeName() == FileString("SYSTEM"));
}

TEST(DiskDrive, EqualityAndOrder) {
    // Drives are alike with one record and one class (and a CD-ROM's unit).
    TestDrive record(2), other(2), disk(2), a(0), e(4);
    EXPECT_TRUE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 0));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&record, 1));
    EXPECT_FALSE(DiskDriveCDROM(&record, 0) == DiskDriveCDROM(&other, 0));
    EXPECT_FALSE(static_cast<const DiskDrive&>(DiskDriveFloppy(&record)) == DiskDriveNetwork(&record));
    disk.insert("SYSTEM");
    EXPECT_TRUE(DiskDriveHD(&disk) == DiskDriveHD(&disk) && !(DiskDriveHD(&disk) == DiskDriveHD(&other)));
    // Disks compare by class only; an unbound one is empty and read-only.
    sysProbe::Disk one("A", "", 1, false), two("B", "", 2, true);
    EXPECT_TRUE(Disk(&one) == Disk(&two) && Disk(&one) == Disk() && Disk().volumeName() == "" && Disk().readOnly());
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
    EXPECT_TRUE(&first == &record.getDisk() && &first != &second);
    EXPECT_STREQ("ONE", first.getLabel());  // still valid after others were handed out
    record.present = false;
    EXPECT_TRUE(*record.getDisk().getLabel() == '\0' && record.getDisk().isReadOnly());

    sysProbe::Disk big("BIG", "", (2ULL << 32) + 1, false);
    EXPECT_EQ(0x200000001LL, Disk(&big).capacity());
}
