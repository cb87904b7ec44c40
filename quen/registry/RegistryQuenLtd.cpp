#include "quen/registry/RegistryQuenLtd.h"

#include <typeinfo>

namespace quen {

const char* RegistryQuenLtd::version() {
    return "RegistryQuenLtd 1.0, 10.11.1999";
}

RegistryQuenLtd::RegistryQuenLtd(RegistryFlags flags)
    : Registry(StdString("HKEY_CURRENT_USER\\Software\\QUEN Ltd."), flags, true) {}

RegistryQuenLtd::RegistryQuenLtd(const RegistryQuenLtd& other) : Registry(other) {}

RegistryQuenLtd& RegistryQuenLtd::operator=(const RegistryQuenLtd& other) {
    if (this != &other) {
        Registry::operator=(other);
    }
    return *this;
}

RegistryQuenLtd::~RegistryQuenLtd() {}

bool RegistryQuenLtd::operator==(const RegistryQuenLtd& other) const {
    return typeid(*this) == typeid(other) && Registry::operator==(other);
}

}  // namespace quen
