#include "support/RealDrives.h"

namespace support {

std::string knownHardDisks() {
    return "CZ";
}

}  // namespace support
