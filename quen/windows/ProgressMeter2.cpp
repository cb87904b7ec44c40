#include "quen/windows/ProgressMeter2.h"

namespace quen {

const char* ProgressMeter2::version() {
    return "ProgressMeter2 1.0, 17.Mar.2000";
}

ProgressMeter2::ProgressMeter2() = default;

ProgressMeter2::~ProgressMeter2() = default;

}  // namespace quen
