#include "support/RealDrives.h"

namespace support {

std::string knownHardDisks() { return "CZ"; }

bool namesIgnoreCase() { return true; }

}  // namespace support
