#include "support/ChildProcess.h"

#include <cstdlib>

namespace support {

bool isChildProcess() {
    const char* flag = std::getenv("QUEN_TEST_CHILD");
    return flag != nullptr && flag[0] == '1';
}

}  // namespace support
