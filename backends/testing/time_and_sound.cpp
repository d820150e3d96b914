// A clock that advances by a fixed step at each reading, and beeps recorded.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

int64_t PerformanceCounter() {
    return TheWorld().counter += TheWorld().counterStep;
}

int64_t PerformanceFrequency() {
    return 10000;
}

void Beep(int hertz, int milliseconds) {
    TheWorld().beeps.emplace_back(hertz, milliseconds);
}

} // namespace platform
