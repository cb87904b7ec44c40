// quen reg get|set|delete|has PATH NAME: one value of the registry, through
// the library's Registry class.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "quen/quen.h"

namespace tool {
namespace {

using quen::Registry;
using quen::StdString;

// Reaches the key handle, to learn a value's stored type.
class ToolRegistry : public Registry {
public:
    using Registry::Registry;
    using Registry::key;
};

void missing(const std::string& what) {
    std::cout.flush();
    std::cerr << "quen reg: " << what << "\n";
}

bool parseBool(const std::string& text, bool& value) {
    if (text == "true" || text == "1" || text == "yes") {
        value = true;
        return true;
    }
    if (text == "false" || text == "0" || text == "no") {
        value = false;
        return true;
    }
    return false;
}

// Prints the value as its type suggests: strings as they are, REG_DWORD as a
// decimal number, the 4-byte REG_BINARY of a bool as true or false, anything
// else as hexadecimal bytes.
int get(const std::string& path, const std::string& name, std::ostream& out) {
    ToolRegistry key(StdString(path.c_str()), Registry::registryRead, false);
    if (!key.isValid()) {
        missing("no key " + path);
        return exitFailure;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.key(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        missing("no value '" + name + "' under " + path);
        return exitFailure;
    }
    std::vector<unsigned char> data(size + 1);
    DWORD read = size;
    if (RegQueryValueExA(key.key(), name.c_str(), nullptr, &type, data.data(), &read) != ERROR_SUCCESS) {
        missing("cannot read value '" + name + "' under " + path);
        return exitFailure;
    }
    data.resize(read);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        StdString text;
        key.getValue(StdString(name.c_str()), text);
        out << text.c_str() << "\n";
    } else if (type == REG_DWORD && read == 4) {
        int number = 0;
        key.getValue(StdString(name.c_str()), number);
        out << number << "\n";
    } else if (type == REG_BINARY && read == 4 && data[0] <= 1 && data[1] == 0 && data[2] == 0 && data[3] == 0) {
        out << (data[0] != 0 ? "true" : "false") << "\n";
    } else {
        std::string hex;
        for (const unsigned char byte : data) {
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02x", byte);
            hex += hex.empty() ? "" : " ";
            hex += digits;
        }
        out << "hex(" << type << "):" << hex << "\n";
    }
    return exitOk;
}

int set(const Arguments& arguments, std::ostream&) {
    if (arguments.size() != 4 && arguments.size() != 5) {
        throw UsageError("set takes PATH NAME VALUE [--int|--bool|--string]");
    }
    const std::string kind = arguments.size() == 5 ? arguments[4] : "--string";
    const std::string& path = arguments[1];
    const StdString name(arguments[2].c_str());
    const std::string& text = arguments[3];
    bool flag = false;
    long long number = 0;
    if (kind == "--int") {
        number = parseNumber(text, "--int");
        if (number < -2147483648LL || number > 4294967295LL) {
            throw UsageError("not a 32-bit number for --int: '" + text + "'");
        }
    } else if (kind == "--bool") {
        if (!parseBool(text, flag)) {
            throw UsageError("not true or false for --bool: '" + text + "'");
        }
    } else if (kind != "--string") {
        throw UsageError("unknown option '" + kind + "'");
    }
    Registry key(StdString(path.c_str()), Registry::registryRead | Registry::registryWrite, true);
    if (!key.isValid()) {
        missing("cannot open or create key " + path);
        return exitFailure;
    }
    bool written = false;
    if (kind == "--int") {
        written = key.setValue(name, static_cast<int>(static_cast<unsigned int>(number)));
    } else if (kind == "--bool") {
        written = key.setValue(name, flag);
    } else {
        written = key.setValue(name, StdString(text.c_str()));
    }
    if (!written) {
        missing("cannot write value '" + arguments[2] + "' under " + path);
        return exitFailure;
    }
    return exitOk;
}

}  // namespace

int runReg(const Arguments& arguments, std::ostream& out) {
    if (arguments.empty()) {
        throw UsageError("needs get, set, delete or has");
    }
    const std::string& action = arguments[0];
    if (action == "set") {
        return set(arguments, out);
    }
    if (action != "get" && action != "delete" && action != "has") {
        throw UsageError("unknown action '" + action + "'");
    }
    if (arguments.size() != 3) {
        throw UsageError(action + " takes PATH NAME");
    }
    const std::string& path = arguments[1];
    const std::string& name = arguments[2];
    if (action == "get") {
        return get(path, name, out);
    }
    if (action == "delete") {
        Registry key(StdString(path.c_str()), Registry::registryWrite, false);
        if (!key.isValid()) {
            missing("no key " + path);
            return exitFailure;
        }
        if (!key.deleteValue(StdString(name.c_str()))) {
            missing("no value '" + name + "' under " + path);
            return exitFailure;
        }
        return exitOk;
    }
    Registry key(StdString(path.c_str()), Registry::registryRead, false);
    const bool found = key.isValid() && key.hasValue(StdString(name.c_str()));
    out << (found ? "yes" : "no") << "\n";
    return found ? exitOk : exitFailure;
}

}  // namespace tool
