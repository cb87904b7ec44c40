#include "support/RealDrives.h"

namespace support {

std::string knownHardDisks() { return "C"; }

bool namesIgnoreCase() { return false; }

}  // namespace support
