// The performance counter and the beep.
#include "backends/win32/win32.h"

#include "platform/platform.h"

namespace platform {

int64_t PerformanceCounter() {
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

int64_t PerformanceFrequency() {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

void Beep(int hertz, int milliseconds) {
    ::Beep(DWORD(hertz), DWORD(milliseconds));
}

} // namespace platform
