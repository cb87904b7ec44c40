#include "quen/registry/Registry.h"

#include <cctype>
#include <iterator>
#include <string>
#include <cstring>
#include <new>
#include <typeinfo>

namespace quen {
namespace {

// The longest names the registry has: 255 characters for a key, 16,383 for
// a value. Searches use buffers of these sizes so that every name is seen.
const DWORD maxKeyNameLength = 255;
const DWORD maxValueNameLength = 16383;
// The first read's buffer; larger data takes a second read.
const DWORD firstReadSize = 64;

REGSAM accessMask(Registry::RegistryFlags flags) {
    REGSAM mask = 0;
    if (flags & Registry::registryRead) {
        mask |= KEY_READ;
    }
    if (flags & Registry::registryWrite) {
        mask |= KEY_WRITE;
    }
    return mask;
}

struct RootName {
    const char* name;
    HKEY key;
};

// The root that a path's first component names (in full, ignoring case);
// null for none.
HKEY rootKey(const StdString& name) {
    const RootName roots[] = {
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}, {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
    };
    for (const RootName& root : roots) {
        if (name == StdString(root.name)) {
            return root.key;
        }
    }
    return nullptr;
}

bool isPredefined(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_CONFIG || key == HKEY_CURRENT_USER ||
           key == HKEY_LOCAL_MACHINE || key == HKEY_USERS;
}

// Compares two names as the registry does for the caller: upper case by the
// runtime's toupper, equal lengths.
bool sameName(const char* found, DWORD foundLength, const StdString& wanted) {
    if (foundLength != wanted.size()) {
        return false;
    }
    for (DWORD i = 0; i < foundLength; ++i) {
        if (std::toupper(static_cast<unsigned char>(found[i])) !=
            std::toupper(static_cast<unsigned char>(wanted[i]))) {
            return false;
        }
    }
    return true;
}

void putLittleEndian(unsigned char* bytes, unsigned int value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

}  // namespace

const char* Registry::version() {
    return "Registry 1.0, 10.11.1999";
}

Registry::Registry(const StdString& path, RegistryFlags flags, bool create)
    : key_(nullptr), shareCount_(nullptr) {
    // The components between backslashes, empty ones skipped.
    std::list<StdString> components;
    const char* const text = path.c_str();
    const std::size_t length = std::strlen(text);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        if (i == length || text[i] == '\\') {
            if (i > start) {
                components.push_back(StdString(std::string(text + start, i - start).c_str()));
            }
            start = i + 1;
        }
    }
    // A root alone names no key to open.
    if (components.size() < 2) {
        return;
    }
    const std::list<StdString>::const_iterator last = std::prev(components.end());
    HKEY current = nullptr;
    for (std::list<StdString>::const_iterator it = components.begin(); it != last; ++it) {
        if (current == nullptr) {
            // The first component, and the one after a key that could not
            // be opened, name a root; without one the walk ends here.
            current = rootKey(*it);
            if (current == nullptr) {
                break;
            }
            continue;
        }
        current = openKey(current, *it, flags);
        intermediateKeys_.push_back(current);
    }
    key_ = create ? createKey(current, *last, flags) : openKey(current, *last, flags);
    adopt();
}

Registry::Registry(const Registry& parent, const StdString& name, RegistryFlags flags, bool create)
    : key_(create ? createKey(parent.key_, name, flags) : openKey(parent.key_, name, flags)),
      shareCount_(nullptr) {
    adopt();
}

Registry::Registry(HKEY parent, const StdString& name, RegistryFlags flags, bool create)
    : key_(create ? createKey(parent, name, flags) : openKey(parent, name, flags)), shareCount_(nullptr) {
    adopt();
}

Registry::Registry(const Registry& other)
    : key_(other.key_), intermediateKeys_(other.intermediateKeys_), shareCount_(other.shareCount_) {
    if (shareCount_ != nullptr) {
        ++*shareCount_;
    }
}

Registry& Registry::operator=(const Registry& other) {
    if (this != &other) {
        // Take a share of the other's handles before giving up ours: they
        // may be the same handles.
        unsigned int* const count = other.shareCount_;
        if (count != nullptr) {
            ++*count;
        }
        std::list<HKEY> keys(other.intermediateKeys_);
        const HKEY key = other.key_;
        release();
        key_ = key;
        intermediateKeys_.swap(keys);
        shareCount_ = count;
    }
    return *this;
}

Registry::~Registry() {
    release();
}

bool Registry::operator==(const Registry& other) const {
    return typeid(*this) == typeid(other) && key_ == other.key_ && intermediateKeys_ == other.intermediateKeys_;
}

bool Registry::isValid() const {
    return key_ != nullptr;
}

void Registry::adopt() {
    bool opened = key_ != nullptr;
    for (HKEY key : intermediateKeys_) {
        opened = opened || key != nullptr;
    }
    if (opened) {
        shareCount_ = new (std::nothrow) unsigned int(1);
        if (shareCount_ == nullptr) {
            // Handles that no count guards could not be shared: give them
            // back now, leaving an invalid object.
            closeHandles();
        }
    }
}

void Registry::closeHandles() {
    if (key_ != nullptr && !isPredefined(key_)) {
        RegCloseKey(key_);
    }
    for (HKEY key : intermediateKeys_) {
        if (key != nullptr && !isPredefined(key)) {
            RegCloseKey(key);
        }
    }
    key_ = nullptr;
    intermediateKeys_.clear();
}

void Registry::release() {
    if (shareCount_ != nullptr && --*shareCount_ == 0) {
        delete shareCount_;
        closeHandles();
    }
    shareCount_ = nullptr;
    key_ = nullptr;
    intermediateKeys_.clear();
}

bool Registry::readValue(const StdString& name, unsigned char*& data, DWORD& size) {
    data = nullptr;
    size = 0;
    if (key_ == nullptr) {
        return false;
    }
    DWORD capacity = firstReadSize;
    // The data may grow between the calls (another process writing): ask
    // again, a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        unsigned char* buffer = new (std::nothrow) unsigned char[capacity > 0 ? capacity : 1];
        if (buffer == nullptr) {
            return false;
        }
        DWORD type = 0;
        DWORD answered = capacity;
        const LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type, buffer, &answered);
        if (result == ERROR_SUCCESS) {
            data = buffer;
            size = answered;
            return true;
        }
        delete[] buffer;
        if (result != ERROR_MORE_DATA) {
            return false;
        }
        capacity = answered;
    }
    return false;
}

bool Registry::getValue(const StdString& name, bool& value) {
    unsigned char* data = nullptr;
    DWORD size = 0;
    if (!readValue(name, data, size)) {
        return false;
    }
    const bool enough = size >= 1;
    if (enough) {
        value = data[0] != 0;
    }
    delete[] data;
    return enough;
}

bool Registry::getValue(const StdString& name, int& value) {
    unsigned char* data = nullptr;
    DWORD size = 0;
    if (!readValue(name, data, size)) {
        return false;
    }
    const bool enough = size >= 4;
    if (enough) {
        const unsigned int bits = static_cast<unsigned int>(data[0]) | (static_cast<unsigned int>(data[1]) << 8) |
                                  (static_cast<unsigned int>(data[2]) << 16) |
                                  (static_cast<unsigned int>(data[3]) << 24);
        std::memcpy(&value, &bits, sizeof value);
    }
    delete[] data;
    return enough;
}

bool Registry::getValue(const StdString& name, StdString& value) {
    unsigned char* data = nullptr;
    DWORD size = 0;
    if (!readValue(name, data, size)) {
        return false;
    }
    const void* const zero = std::memchr(data, 0, size);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - data) : size;
    value = StdString(std::string(reinterpret_cast<const char*>(data), length).c_str());
    delete[] data;
    return true;
}

bool Registry::setValue(const StdString& name, bool value) {
    if (key_ == nullptr) {
        return false;
    }
    unsigned char data[4];
    putLittleEndian(data, value ? 1u : 0u);
    return setValue(name, boolValue, data, sizeof data);
}

bool Registry::setValue(const StdString& name, int value) {
    if (key_ == nullptr) {
        return false;
    }
    unsigned int bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char data[4];
    putLittleEndian(data, bits);
    return setValue(name, intValue, data, sizeof data);
}

bool Registry::setValue(const StdString& name, const StdString& value) {
    if (key_ == nullptr) {
        return false;
    }
    return setValue(name, stringValue, value.c_str(), static_cast<unsigned int>(value.size() + 1));
}

bool Registry::hasKey(const StdString& name) {
    if (key_ == nullptr) {
        return false;
    }
    char found[maxKeyNameLength + 1];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof found;
        const LONG result = RegEnumKeyExA(key_, index, found, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            continue;  // longer than any name can be: not the one asked for
        }
        if (result != ERROR_SUCCESS) {
            return false;
        }
        if (sameName(found, length, name)) {
            return true;
        }
    }
}

bool Registry::hasValue(const StdString& name) {
    if (key_ == nullptr) {
        return false;
    }
    char* const found = new (std::nothrow) char[maxValueNameLength + 1];
    if (found == nullptr) {
        return false;
    }
    bool matched = false;
    for (DWORD index = 0;; ++index) {
        DWORD length = maxValueNameLength + 1;
        const LONG result = RegEnumValueA(key_, index, found, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        if (sameName(found, length, name)) {
            matched = true;
            break;
        }
    }
    delete[] found;
    return matched;
}

bool Registry::deleteValue(const StdString& name) {
    if (key_ == nullptr) {
        return false;
    }
    return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

Registry* Registry::createKey(const StdString& name, RegistryFlags flags) {
    if (key_ == nullptr) {
        return nullptr;
    }
    return new (std::nothrow) Registry(key_, name, flags, true);
}

HKEY Registry::openKey(HKEY parent, const StdString& name, RegistryFlags flags) const {
    if (parent == nullptr) {
        return nullptr;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, accessMask(flags), &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

HKEY Registry::createKey(HKEY parent, const StdString& name, RegistryFlags flags) const {
    if (parent == nullptr) {
        return nullptr;
    }
    HKEY key = nullptr;
    char noClass[] = "";
    if (RegCreateKeyExA(parent, name.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, accessMask(flags), nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

unsigned char* Registry::getValue(const StdString& name, RegistryValueType) {
    unsigned char* data = nullptr;
    DWORD size = 0;
    return readValue(name, data, size) ? data : nullptr;
}

bool Registry::setValue(const StdString& name, RegistryValueType type, const void* data, unsigned int size) const {
    if (key_ == nullptr) {
        return false;
    }
    DWORD registryType = REG_NONE;
    switch (type) {
    case boolValue: registryType = REG_BINARY; break;
    case intValue: registryType = REG_DWORD; break;
    case stringValue: registryType = REG_SZ; break;
    default: break;
    }
    return RegSetValueExA(key_, name.c_str(), 0, registryType, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

}  // namespace quen
