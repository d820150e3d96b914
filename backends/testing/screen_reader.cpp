// The screen reader: a test says whether one runs; every notification handed
// to it is kept with its flags.
#include "backends/testing/testing.h"

namespace platform {

using testing::TheWorld;

bool ScreenReaderRunning() {
    return TheWorld().screenReaderRunning;
}

void RaiseNotification(const std::string& text, unsigned flags) {
    TheWorld().notifications.push_back({flags, text});
    TheWorld().events.push_back("notify: " + text);
}

} // namespace platform
