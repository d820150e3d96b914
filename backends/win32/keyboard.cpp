// Keyboard state, synthetic key presses and the accelerator table.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <vector>

namespace platform {

using namespace win32;

int KeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

bool AsyncKeyDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) != 0;
}

void SendKeyPress(int virtualKey) {
    keybd_event(BYTE(virtualKey), 0, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(BYTE(virtualKey), 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void SendKeyEvent(int virtualKey, int scanCode, bool up) {
    keybd_event(BYTE(virtualKey), BYTE(scanCode), up ? KEYEVENTF_KEYUP : 0, 0);
}

// The table lives as long as the window; a new one replaces the old.
void AttachAccelerators(const Accelerator* entries, int count) {
    std::vector<ACCEL> table;
    for (int i = 0; i < count; ++i)
        table.push_back({entries[i].flags, entries[i].key, entries[i].command});
    HACCEL accelerators = CreateAcceleratorTableW(table.data(), count);
    if (!accelerators) return;
    if (Win.accelerators) DestroyAcceleratorTable(Win.accelerators);
    Win.accelerators = accelerators;
}

} // namespace platform
