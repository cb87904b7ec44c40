// Reads a sectioned settings file and keeps its values in the registry,
// under the company key:
//
//     HKEY_CURRENT_USER\Software\QUEN Ltd.\APPLICATION\SECTION\LINE  FIELD = value
//
// A field whose value is a decimal number is stored as a number (REG_DWORD),
// any other as a string (REG_SZ). The program then reads every value back
// through keys opened for reading and prints it, one line a value; it exits
// 1 if anything reads back differently.
//
//     settings_to_registry samples/settings.txt [APPLICATION]
//
// On Linux the registry is quen's SQLite file: set QUEN_REGISTRY to try it on
// a scratch file.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "quen/quen.h"

namespace {

// "[Copy]" names the key Copy.
std::string sectionName(const quen::Parser& section) {
    std::string title = section.title().c_str();
    if (title.size() >= 2 && title.front() == '[' && title.back() == ']') {
        title = title.substr(1, title.size() - 2);
    }
    return title;
}

bool isNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Stores one line's fields under its own key; true when every value was written.
bool storeLine(quen::Registry& sectionKey, const quen::Parser& line) {
    quen::Registry lineKey(sectionKey, line.title(), quen::Registry::registryWrite, true);
    if (!lineKey.isValid()) {
        return false;
    }
    bool stored = true;
    for (const quen::Parser* field : line) {
        const quen::StdString name = field->title();
        const std::string value = field->value().c_str();
        if (name.length() == 0) {
            continue;  // a piece without '=' has no name to store it under
        }
        stored = (isNumber(value) ? lineKey.setValue(name, std::atoi(value.c_str()))
                                  : lineKey.setValue(name, value.c_str())) &&
                 stored;
    }
    return stored;
}

// Prints what the registry now holds for one line, read through keys opened
// for reading only; false when a value is missing or differs from the file.
bool printLine(const quen::Registry& sectionKey, const std::string& section, const quen::Parser& line) {
    quen::Registry lineKey(sectionKey, line.title(), quen::Registry::registryRead, false);
    bool same = true;
    for (const quen::Parser* field : line) {
        const quen::StdString name = field->title();
        const std::string value = field->value().c_str();
        if (name.length() == 0) {
            continue;
        }
        std::cout << section << "\\" << line.title().c_str() << "\t" << name.c_str() << "\t";
        int number = 0;
        quen::StdString text;
        if (isNumber(value) && lineKey.getValue(name, number)) {
            std::cout << number << "\n";
            same = same && number == std::atoi(value.c_str());
        } else if (!isNumber(value) && lineKey.getValue(name, text)) {
            std::cout << "\"" << text.c_str() << "\"\n";
            same = same && value == text.c_str();
        } else {
            std::cout << "(missing)\n";
            same = false;
        }
    }
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: settings_to_registry FILE [APPLICATION]\n";
        return 2;
    }
    const std::string application = argc == 3 ? argv[2] : "Settings example";

    // The parser works in place over writable text with a NUL behind it.
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<char> text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad()) {
        std::cerr << "settings_to_registry: cannot read " << argv[1] << "\n";
        return 1;
    }
    text.push_back('\0');

    try {
        const quen::ParserBuf root(text.data(), static_cast<unsigned long>(text.size() - 1),
                                   new quen::ParserSection(nullptr, nullptr, nullptr));

        // HKEY_CURRENT_USER\Software\QUEN Ltd., made when missing.
        quen::RegistryQuenLtd company(quen::Registry::registryWrite);
        quen::Registry applicationKey(company, application.c_str(), quen::Registry::registryWrite, true);
        if (!applicationKey.isValid()) {
            std::cerr << "settings_to_registry: cannot create the key " << application << "\n";
            return 1;
        }
        for (const quen::Parser* section : root) {
            quen::Registry sectionKey(applicationKey, sectionName(*section).c_str(), quen::Registry::registryWrite,
                                      true);
            for (const quen::Parser* line : *section) {
                if (!sectionKey.isValid() || !storeLine(sectionKey, *line)) {
                    std::cerr << "settings_to_registry: cannot store " << sectionName(*section) << "\\"
                              << line->title().c_str() << "\n";
                    return 1;
                }
            }
        }

        const std::string path = "HKEY_CURRENT_USER\\Software\\QUEN Ltd.\\" + application;
        const quen::Registry reading(path.c_str(), quen::Registry::registryRead, false);
        for (const quen::Parser* section : root) {
            const quen::Registry sectionKey(reading, sectionName(*section).c_str(), quen::Registry::registryRead,
                                            false);
            for (const quen::Parser* line : *section) {
                if (!printLine(sectionKey, sectionName(*section), *line)) {
                    std::cerr << "settings_to_registry: the registry does not hold what was stored\n";
                    return 1;
                }
            }
        }
    } catch (const quen::QuenException& error) {
        // A file that does not parse: the parser's own text.
        std::cerr << "settings_to_registry: " << argv[1] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
