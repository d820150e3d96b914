#include "base/display_scale.h"

#include "platform/platform.h"

#include <cmath>

double ScaleFactor(int dpi) {
    return dpi > 0 ? double(dpi) / StandardDpi : 1.0;
}

int ScaledPixels(int pixels, int dpi) {
    return int(std::lround(pixels * ScaleFactor(dpi)));
}

int WindowPixels(int pixels) {
    return ScaledPixels(pixels, platform::WindowDpi());
}
