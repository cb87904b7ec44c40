// Every class's banner, exactly: callers log them, and some compare them. (The parser's are the tool's version case.)
#include <gtest/gtest.h>

#include <string>

#include "quen/quen.h"

using namespace quen;

TEST(Library, EveryClassHasItsBanner) {
    const SmartPointer<int> pointer;
    const SmartArray<char> array(new char[1]);
    const std::string drive = " 1.0, 19.10.1999";
    const std::pair<std::string, std::string> rows[] = {
        {"SmartPointer 1.0, 10.09.1999", pointer.version()}, {"SmartArray 1.0, 10.09.1999", array.version()},
        {"SmartBase 1.0, 10.09.1999", pointer.SmartBase<int, ObjRef<int>>::version()},
        {"RefBase 1.0, 16.08.1999", RefBase<int>(nullptr).version()},
        {"ObjRef 1.0, 16.08.1999", ObjRef<int>(nullptr).version()}, {"ArrayRef 1.0, 16.08.1999", ArrayRef<int>(nullptr).version()},
        {"StdString 1.0, 16.08.1999", StdString::version()}, {"FileString 1.0, 15.09.1999", FileString::version()},
        {"WildString 1.0, 16.08.1999", WildString::version()}, {"StringTable<> 1.0, 21.12.1999", StringTable::version()},
        {"TimeDate 1.0, 16.08.1999", TimeDate::version()}, {"Point 1.0, 16.08.1999", Point::version().c_str()},
        {"PointFP 1.0, 16.08.1999", PointFP::version().c_str()}, {"Extent 1.0, 16.08.1999", Extent::version().c_str()},
        {"ExtentFP 1.0, 16.08.1999", ExtentFP::version().c_str()}, {"QuenException 1.0, 16.08.1999", QuenException::version()},
        {"WindowsSystemMessage 1.0, 23.09.1999", WindowsSystemMessage::version()},
        {"WindowsMessage 1.0, 21.09.1999", WindowsMessage::version()},
        {"QuenAssert 1.0, 23.09.1999", QuenAssert::version()}, {"DebugStream 1.0, 23.09.1999", DebugStream::version()},
        {"BinStream 1.0, 16.08.1999", BinStream::banner()}, {"BinFStream 1.0, 16.09.1999", BinFStream::banner()},
        {"FileOpen 1.0, 15.09.1999", FileOpen::version()},
        {"Registry 1.0, 10.11.1999", Registry::version()}, {"RegistryQuenLtd 1.0, 10.11.1999", RegistryQuenLtd::version()},
        {"ProgressMeter 1.0, 23.09.1999", ProgressMeter::version()},
        {"ProgressMeter2 1.0, 17.Mar.2000", ProgressMeter2::version()},
        {"WindowsProgressMonitor 1.0, 23.09.1999", WindowsProgressMonitor::version()},
        {"WindowsWaiting 1.0, 23.09.1999", WindowsWaiting::version()},
        {"WindowsMessageLoop 1.0, 19.11.1999", WindowsMessageLoop::version()}, {"Event 1.0, 23.09.1999", Event::version()},
        {"DiskDriveMap 1.0, 23.09.1999", DiskDriveMap::version()},
        {"DiskDriveAccessor 1.0, 23.09.1999", DiskDriveAccessor::version()},
        {"Disk" + drive, Disk::version()}, {"DiskDrive" + drive, DiskDrive::version()},
        {"DiskDriveFixed" + drive, DiskDriveFixed::version()}, {"DiskDriveHD" + drive, DiskDriveHD::version()},
        {"DiskDriveRAM" + drive, DiskDriveRAM::version()}, {"DiskDriveRemovable" + drive, DiskDriveRemovable::version()},
        {"DiskDriveRemovableGeneric" + drive, DiskDriveRemovableGeneric::version()},
        {"DiskDriveCDROM" + drive, DiskDriveCDROM::version()}, {"DiskDriveFloppy" + drive, DiskDriveFloppy::version()},
        {"DiskDriveNetwork" + drive, DiskDriveNetwork::version()}, {"DiskDriveUnknown" + drive, DiskDriveUnknown::version()},
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}
