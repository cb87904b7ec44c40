#include "quen/windows/ProgressMeter.h"

namespace quen {

const char* ProgressMeter::version() {
    return "ProgressMeter 1.0, 23.09.1999";
}

ProgressMeter::ProgressMeter() = default;

ProgressMeter::~ProgressMeter() = default;

bool ProgressMeter::cancelled() const {
    return false;
}

}  // namespace quen
