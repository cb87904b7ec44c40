// The company's own key, HKEY_CURRENT_USER\Software\QUEN Ltd.
#ifndef QUEN_REGISTRY_REGISTRYQUENLTD_H
#define QUEN_REGISTRY_REGISTRYQUENLTD_H

#include "quen/platform/Export.h"
#include "quen/registry/Registry.h"

namespace quen {

// The company key, created when it is missing.
class QUEN_API RegistryQuenLtd : public Registry {
public:
    static const char* version();

    explicit RegistryQuenLtd(RegistryFlags flags);
    RegistryQuenLtd(const RegistryQuenLtd& other);
    RegistryQuenLtd& operator=(const RegistryQuenLtd& other);
    ~RegistryQuenLtd() override;

    // False unless both are company keys; then as Registry's.
    bool operator==(const RegistryQuenLtd& other) const;
    using Registry::operator==;
};

}  // namespace quen

#endif
