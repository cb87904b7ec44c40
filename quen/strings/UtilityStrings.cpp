#include "quen/strings/UtilityStrings.h"

namespace quen {

void* UtilityStrings::instance_ = nullptr;
unsigned int UtilityStrings::instCount_ = 0;

UtilityStrings::UtilityStrings() {
    ++instCount_;
}

UtilityStrings::~UtilityStrings() {
    --instCount_;
}

void* UtilityStrings::instance() const {
    return instance_;
}

void UtilityStrings::instance(void* module) {
    instance_ = module;
}

}  // namespace quen
