// The progress interface with a sub-task and a percentage.
#ifndef QUEN_WINDOWS_PROGRESSMETER2_H
#define QUEN_WINDOWS_PROGRESSMETER2_H

#include "quen/platform/Export.h"
#include "quen/windows/ProgressMeter.h"

namespace quen {

class QUEN_API ProgressMeter2 : public ProgressMeter {
public:
    static const char* version();

    ProgressMeter2();
    ~ProgressMeter2() override;

    // The title of the part of the operation now running.
    virtual void subTitle(const char* text) = 0;
    // How much of the whole is done, from 0 to 100.
    virtual void percentage(int percent) = 0;
};

}  // namespace quen

#endif
