// A point with floating-point coordinates, compared exactly.
#ifndef QUEN_VALUES_POINTFP_H
#define QUEN_VALUES_POINTFP_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"
#include "quen/values/PointBase.h"

namespace quen {

class QUEN_API PointFP : public PointBase<double> {
public:
    static StdString version();

    PointFP();
    PointFP(const double& first, const double& second);
    PointFP(const PointFP& other);
    PointFP& operator=(const PointFP& other);
    ~PointFP() override;

    bool operator==(const PointFP& other) const;
    bool operator!=(const PointFP& other) const { return !(*this == other); }
    bool operator<(const PointFP& other) const;
};

}  // namespace quen

#endif
