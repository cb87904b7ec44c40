#include "support/RealDrives.h"

namespace support {

std::string knownHardDisks() {
    return "C";
}

}  // namespace support
