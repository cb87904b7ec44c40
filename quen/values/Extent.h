// A size with whole-number (signed) values.
#ifndef QUEN_VALUES_EXTENT_H
#define QUEN_VALUES_EXTENT_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"
#include "quen/values/ExtentBase.h"

namespace quen {

class QUEN_API Extent : public ExtentBase<long> {
public:
    static StdString version();

    Extent();
    Extent(long first, long second);
    Extent(const Extent& other);
    Extent& operator=(const Extent& other);
    ~Extent() override;

    bool operator==(const Extent& other) const;
    bool operator!=(const Extent& other) const { return !(*this == other); }
};

}  // namespace quen

#endif
