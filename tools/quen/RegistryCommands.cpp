// quen reg get|set|delete|has PATH NAME: one value of the registry, through
// the library's Registry class.
#include <cstdio>
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
        throw Failure(path, "no such key");
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.key(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        throw Failure(path, "no value '" + name + "'");
    }
    std::vector<unsigned char> data(size + 1);
    DWORD read = size;
    if (RegQueryValueExA(key.key(), name.c_str(), nullptr, &type, data.data(), &read) != ERROR_SUCCESS) {
        throw Failure(path, "cannot read value '" + name + "'");
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

// The type that --int, --bool or --string asks for; --string by default.
std::string valueKind(const Options& options) {
    if (options.size() > 1) {
        throw UsageError("give one of --int, --bool and --string");
    }
    return options.empty() ? "--string" : options.begin()->first;
}

int set(const Arguments& arguments, const Options& options) {
    if (arguments.size() != 4) {
        throw UsageError("set takes PATH NAME VALUE [--int|--bool|--string]");
    }
    const std::string kind = valueKind(options);
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
    }
    Registry key(StdString(path.c_str()), Registry::registryRead | Registry::registryWrite, true);
    if (!key.isValid()) {
        throw Failure(path, "cannot open or create the key");
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
        throw Failure(path, "cannot write value '" + arguments[2] + "'");
    }
    return exitOk;
}

}  // namespace

int runReg(const Arguments& arguments, const Options& options, std::ostream& out) {
    if (arguments.empty()) {
        throw UsageError("needs get, set, delete or has");
    }
    const std::string& action = arguments[0];
    if (action == "set") {
        return set(arguments, options);
    }
    if (action != "get" && action != "delete" && action != "has") {
        throw UsageError("unknown action '" + action + "'");
    }
    if (!options.empty()) {
        throw UsageError(options.begin()->first + " is only for set");
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
            throw Failure(path, "no such key");
        }
        if (!key.deleteValue(StdString(name.c_str()))) {
            throw Failure(path, "no value '" + name + "'");
        }
        return exitOk;
    }
    Registry key(StdString(path.c_str()), Registry::registryRead, false);
    const bool found = key.isValid() && key.hasValue(StdString(name.c_str()));
    out << (found ? "yes" : "no") << "\n";
    return found ? exitOk : exitFailure;
}

}  // namespace tool
