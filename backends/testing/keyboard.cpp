// The key state, synthetic key presses and the accelerator table.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

int KeyState(int virtualKey) {
    auto it = TheWorld().keyStates.find(virtualKey);
    return it == TheWorld().keyStates.end() ? 0 : it->second;
}

bool AsyncKeyDown(int virtualKey) {
    return (KeyState(virtualKey) & 0x8000) != 0;
}

void SendKeyPress(int virtualKey) {
    TheWorld().syntheticKeys.push_back(virtualKey);
}

void SendKeyEvent(int virtualKey, int scanCode, bool up) {
    TheWorld().keyEvents.push_back({virtualKey, scanCode, up ? 2u : 0u});
}

void AttachAccelerators(const Accelerator* entries, int count) {
    TheWorld().accelerators.assign(entries, entries + count);
    TheWorld().events.push_back("accelerators: " + std::to_string(count));
}

} // namespace platform
