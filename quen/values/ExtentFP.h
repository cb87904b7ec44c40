// A size with floating-point values, compared exactly.
#ifndef QUEN_VALUES_EXTENTFP_H
#define QUEN_VALUES_EXTENTFP_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"
#include "quen/values/ExtentBase.h"

namespace quen {

class QUEN_API ExtentFP : public ExtentBase<double> {
public:
    static StdString version();

    ExtentFP();
    ExtentFP(const double& first, const double& second);
    ExtentFP(const ExtentFP& other);
    ExtentFP& operator=(const ExtentFP& other);
    ~ExtentFP() override;

    bool operator==(const ExtentFP& other) const;
    bool operator!=(const ExtentFP& other) const { return !(*this == other); }
};

}  // namespace quen

#endif
