// Typed access to one key of the registry.
#ifndef QUEN_REGISTRY_REGISTRY_H
#define QUEN_REGISTRY_REGISTRY_H

#include <list>
#include <string>

#include "quen/platform/Export.h"
#include "quen/platform/Win32.h"
#include "quen/strings/StdString.h"

namespace quen {

// One open key, made from a full path ("HKEY_CURRENT_USER\Software\..."), a
// parent object or a parent key handle. Nothing throws: a key that cannot be
// opened or created gives an invalid object, and the operations on it answer
// false or null.
//
// Copies share the key handle and the handles opened on the way down the
// path; the last of them to go closes each handle once.
class QUEN_API Registry {
public:
    // The access asked for; only the two lowest bits count.
    enum RegistryFlags { registryRead = 1, registryWrite = 2 };
    // How a value is stored: boolValue as 4 bytes of REG_BINARY (0 or 1,
    // least significant byte first), intValue as REG_DWORD, stringValue as
    // REG_SZ with its terminating zero; any other as REG_NONE.
    enum RegistryValueType { boolValue = 1, intValue = 2, stringValue = 3 };

    static const char* version();

    // The path's root is one of the five predefined keys, named in full;
    // backslashes at its ends and doubled ones are skipped. Every key on the
    // way is opened; the last is created when `create` is true.
    Registry(const StdString& path, RegistryFlags flags, bool create);
    // The sub-key `name` of the parent (invalid when the parent is).
    Registry(const Registry& parent, const StdString& name, RegistryFlags flags, bool create);
    Registry(HKEY parent, const StdString& name, RegistryFlags flags, bool create);
    Registry(const Registry& other);
    Registry& operator=(const Registry& other);
    virtual ~Registry();

    // Same class, same key handle and the same handles on the way down.
    bool operator==(const Registry& other) const;
    bool operator!=(const Registry& other) const { return !(*this == other); }

    bool isValid() const;

    // The typed getters read within the data stored: a bool needs one byte
    // (non-zero is true), an int four; a string ends at its first zero byte
    // or with the data. Data too short leaves the target as it was and
    // answers false. The stored type is not compared.
    bool getValue(const StdString& name, bool& value);
    bool getValue(const StdString& name, int& value);
    bool getValue(const StdString& name, StdString& value);
    bool setValue(const StdString& name, bool value);
    bool setValue(const StdString& name, int value);
    bool setValue(const StdString& name, const StdString& value);
    // A string literal is a string, not a bool.
    bool setValue(const StdString& name, const char* value) { return setValue(name, StdString(value)); }

    // Whether a direct sub-key, or a value, of that name exists (ignoring
    // case, whole names only).
    bool hasKey(const StdString& name);
    bool hasValue(const StdString& name);
    bool deleteValue(const StdString& name);

    // A new object (created if missing) for the sub-key `name`, which the
    // caller deletes; null when this object is invalid or memory is short.
    // The new object may itself be invalid.
    Registry* createKey(const StdString& name, RegistryFlags flags);

protected:
    HKEY openKey(HKEY parent, const StdString& name, RegistryFlags flags) const;
    HKEY createKey(HKEY parent, const StdString& name, RegistryFlags flags) const;
    // The value's data in a new array that the caller deletes with
    // delete[]; null on failure. The type is not used.
    unsigned char* getValue(const StdString& name, RegistryValueType type);
    bool setValue(const StdString& name, RegistryValueType type, const void* data, unsigned int size) const;

    // The key this object stands for (null when invalid).
    HKEY key() const { return key_; }

private:
    // The value's data and its size; false on failure.
    bool readValue(const StdString& name, unsigned char*& data, DWORD& size);
    // Starts the count for handles this object opened.
    void adopt();
    void closeHandles();
    // Gives up this object's share of the handles, closing them when it was
    // the last.
    void release();

    HKEY key_;
    std::list<HKEY> intermediateKeys_;
    // How many objects share the handles above; null when there is nothing
    // to close.
    unsigned int* shareCount_;
};

inline Registry::RegistryFlags operator|(Registry::RegistryFlags a, Registry::RegistryFlags b) {
    return static_cast<Registry::RegistryFlags>(static_cast<int>(a) | static_cast<int>(b));
}

}  // namespace quen

#endif
