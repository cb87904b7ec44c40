// quen version, quen messages, quen error.
#include <string>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

void expectOperands(const Arguments& operands, std::size_t count) {
    if (operands.size() != count) {
        throw UsageError(count == 0 ? "takes no arguments" : "wrong number of arguments");
    }
}

}  // namespace

int runVersion(const Arguments& operands, const Options&, std::ostream& out) {
    expectOperands(operands, 0);
    const char* const banners[] = {
        quen::StdString::version(),
        quen::FileString::version(),
        quen::WildString::version(),
        quen::StringTable::version(),
        quen::QuenException::version(),
        quen::WindowsSystemMessage::version(),
        quen::WindowsMessage::version(),
        quen::QuenAssert::version(),
        quen::DebugStream::version(),
        quen::RefBase<char>(nullptr).version(),
        quen::ObjRef<char>(nullptr).version(),
        quen::ArrayRef<char>(nullptr).version(),
        quen::SmartPointer<char>().SmartBase::version(),
        quen::SmartPointer<char>().version(),
        quen::SmartArray<char>(nullptr).version(),
        quen::Disk::version(),
        quen::DiskDrive::version(),
        quen::DiskDriveFixed::version(),
        quen::DiskDriveHD::version(),
        quen::DiskDriveRAM::version(),
        quen::DiskDriveRemovable::version(),
        quen::DiskDriveCDROM::version(),
        quen::DiskDriveFloppy::version(),
        quen::DiskDriveNetwork::version(),
        quen::DiskDriveRemovableGeneric::version(),
        quen::DiskDriveUnknown::version(),
        quen::DiskDriveMap::version(),
        quen::DiskDriveAccessor::version(),
        quen::BinStream::banner(),
        quen::BinFStream::banner(),
        quen::FileOpen::version(),
        quen::TimeDate::version(),
        quen::Parser::version(),
        quen::ParserArray::version(),
        quen::ParserBuf::version(),
        quen::ParserSection::version(),
        quen::ParserLine::version(),
        quen::ParserFieldValue::version(),
        quen::Registry::version(),
        quen::RegistryQuenLtd::version(),
        quen::Event::version(),
        quen::ProgressMeter::version(),
        quen::ProgressMeter2::version(),
        quen::WindowsProgressMonitor::version(),
        quen::WindowsWaiting::version(),
        quen::WindowsMessageLoop::version(),
    };
    for (const char* banner : banners) {
        out << banner << "\n";
    }
    // The points and extents give their banners as StdString values.
    for (const quen::StdString& banner :
         {quen::Point::version(), quen::PointFP::version(), quen::Extent::version(), quen::ExtentFP::version()}) {
        out << banner.c_str() << "\n";
    }
    return exitOk;
}

int runMessages(const Arguments& operands, const Options&, std::ostream& out) {
    expectOperands(operands, 0);
    for (int id = 1; id <= 20; ++id) {
        out << id << "\t" << visible(quen::utilityStrings(id).c_str()) << "\n";
    }
    return exitOk;
}

int runError(const Arguments& operands, const Options&, std::ostream& out) {
    expectOperands(operands, 1);
    const long long code = parseNumber(operands[0], "CODE");
    const quen::WindowsError error(static_cast<long>(code));
    const std::string text = withoutLineEnd(error.message());
    if (text.empty()) {
        throw Failure(operands[0], "no system text for this code");
    }
    out << text << "\n";
    return exitOk;
}

}  // namespace tool
