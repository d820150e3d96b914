// The Windows entry: everything else starts in ProgramMain.
#include "backends/win32/win32.h"

#include "platform/events.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    platform::win32::Win.instance = instance;
    return ProgramMain();
}
