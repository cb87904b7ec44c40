// One short piece of code for each subsystem of quen: the API reference
// (docs/api) shows them between their [name] markers, and CI runs them, so
// that every example there compiles and does what its page says. Each piece
// checks its own outcome; the program exits 1 if one fails.
//
//     api_tour     (QUEN_SYSPROBE=samples/machine.txt for the drives piece)
#include <cstdio>
#include <cstring>
#include <string>

#include "quen/quen.h"

namespace {

int failures = 0;

void expect(bool passed, const char* what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAILED", what);
    failures += passed ? 0 : 1;
}

void strings() {
    //! [strings]
    const quen::StdString title("Annual Report");
    const bool same = title == quen::StdString("ANNUAL REPORT");  // true: case is ignored

    quen::FileString scan("D:\\scans\\page099.tif");
    scan.increment();  // D:\scans\page100.tif, however long the number
    const quen::FileString name = scan.fileName();  // page100.tif

    const quen::WildString pattern("page*.TIF");
    const bool matches = pattern.match(name, 0, 0);  // true
    //! [strings]
    expect(same && name == quen::FileString("page100.tif") && matches, "strings");
}

void errors() {
    //! [errors]
    try {
        quen::BinFStream file("", quen::BinStream::in);  // no file has an empty name
    } catch (const quen::QuenException& error) {
        std::printf("%s\n", error.what());  // File OPEN error, the name, " with mode " and the mode
    }
    const quen::WindowsError denied(ERROR_ACCESS_DENIED);
    std::printf("%s", denied.message());  // the system's text for the code
    //! [errors]
    expect(std::strlen(denied.message()) > 0, "errors");
}

struct Picture {
    int width;
};

void smart() {
    //! [smart]
    quen::SmartPointer<Picture> first(new Picture{640});
    quen::SmartPointer<Picture> second = first;  // shares the picture: count() is 2
    second->width = 800;                         // first->width is 800 too
    //! [smart]
    expect(first.count() == 2 && first->width == 800, "smart");
}  // the last owner deletes the picture

void streams() {
    //! [streams]
    {
        quen::BinFStream file("tour.bin", quen::BinStream::out | quen::BinStream::trunc);
        file << 42u;                         // 4 bytes, least significant first
        quen::StdString("hello").output(file);  // a count and the characters
    }
    quen::BinFStream file("tour.bin", quen::BinStream::in);
    unsigned int number = 0;
    quen::StdString text;
    file >> number;
    text.input(file);  // 42 and "hello"; a short or damaged file throws
    //! [streams]
    expect(number == 42u && text == quen::StdString("hello") && file.size() == 4 + static_cast<long long>(text.objectSize()),
           "streams");
}

void values() {
    //! [values]
    const quen::TimeDate start(0);  // 1 January 1970, 00:00:00 UTC, in local time
    const quen::TimeDate now;       // now
    const double seconds = now - start;
    const quen::Point corner(10, 20);
    const quen::Extent size(640, 480);
    //! [values]
    expect(seconds > 0 && corner == quen::Point(10, 20) && size != quen::Extent(480, 640), "values");
}

void drives() {
    //! [drives]
    quen::DiskDriveAccessor drives;
    // The medium labelled BACKUP1, in whichever drive it is now.
    const quen::FileString where = drives.volumeFileNameToDriveFileName("||BACKUP1||\\data\\set.dat", "||");
    // And back: a drive's file named by its medium.
    const quen::FileString volume = drives.driveFileNameToVolumeFileName("E:\\data\\set.dat", "||");
    //! [drives]
    const char* const script = std::getenv("QUEN_SYSPROBE");
    if (script != nullptr && std::strstr(script, "machine.txt") != nullptr) {
        // samples/machine.txt puts BACKUP1 in E:.
        expect(where == quen::FileString("E:\\data\\set.dat") && volume == quen::FileString("||BACKUP1||\\data\\set.dat"), "drives");
    } else {
        std::printf("drives: BACKUP1 is at '%s' here\n", static_cast<const char*>(where));
    }
}

void parser() {
    //! [parser]
    char text[] = "[Window]\nMain = \"X=120, Y=80\"\n";  // writable, NUL behind it
    const quen::ParserBuf root(text, sizeof text - 1, new quen::ParserSection(nullptr, nullptr, nullptr));
    for (const quen::Parser* section : root) {         // [Window]
        for (const quen::Parser* line : *section) {    // Main
            for (const quen::Parser* field : *line) {  // X = 120, then Y = 80
                std::printf("%s = %s\n", field->title().c_str(), field->value().c_str());
            }
        }
    }
    //! [parser]
    expect(root.size() == 1 && root.at(0)->at(0)->at(1)->value() == quen::StdString("80"), "parser");
}

void registry() {
    //! [registry]
    quen::RegistryQuenLtd company(quen::Registry::registryWrite);  // HKEY_CURRENT_USER\Software\QUEN Ltd.
    const auto access = quen::Registry::registryRead | quen::Registry::registryWrite;
    quen::Registry settings(company, "Tour", access, true);  // made when missing
    settings.setValue("Colour", "blue");  // REG_SZ
    settings.setValue("Width", 640);      // REG_DWORD
    quen::StdString colour;
    int width = 0;
    const bool found = settings.getValue("colour", colour) && settings.getValue("WIDTH", width);
    //! [registry]
    expect(found && colour == quen::StdString("blue") && width == 640, "registry");
}

void windows() {
    //! [windows]
    quen::Event ready("TourReady", false, true);  // the kernel event EVENT_TourReady, manual reset
    ready.set();
    const bool signalled = ready.wait(1000);  // true at once; false after a second otherwise
    ready.reset();
    //! [windows]
    expect(signalled && !ready.wait(0), "windows");
}

void platform() {
    //! [platform]
    // Win32 as Windows has it, on Linux too (quen's subset): error codes and their texts.
    SetLastError(ERROR_FILE_NOT_FOUND);
    const quen::WindowsError error;  // takes GetLastError()
    //! [platform]
    expect(error.code() == ERROR_FILE_NOT_FOUND, "platform");
}

}  // namespace

int main() {
    strings();
    errors();
    smart();
    streams();
    values();
    drives();
    parser();
    registry();
    windows();
    platform();
    std::remove("tour.bin");
    return failures == 0 ? 0 : 1;
}
