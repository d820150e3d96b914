#include "settings/window_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// Saved coordinates beyond this are nonsense on any screen.
constexpr int CoordinateLimit = 1 << 24;

int Width(const platform::Rect& r) {
    return r.right - r.left;
}
int Height(const platform::Rect& r) {
    return r.bottom - r.top;
}

// The search box, and the list's header and first row allowed as much each.
double ContentHeight(int fontSize, int dpi) {
    return 3 * SearchBoxPixelsPerPoint * fontSize * ScaleFactor(dpi);
}

// `size` within [smallest, available]; the available room wins when it is less.
int FitSize(int size, int smallest, int available) {
    return std::clamp(size, std::min(smallest, available), available);
}

// The start coordinate that keeps [start, start + size) inside [low, high).
int FitStart(int start, int size, int low, int high) {
    return std::clamp(start, low, std::max(low, high - size));
}

} // namespace

int LargestFontSizeFor(int workHeight, int dpi) {
    int frame = ScaledPixels(WindowFrameHeight, dpi);
    int largest = int((workHeight - frame) / ContentHeight(1, dpi));
    return std::max(largest, SmallestFontSize);
}

int FitFontSize(int fontSize, const platform::Rect& work, int dpi) {
    if (Height(work) <= 0) return std::max(fontSize, SmallestFontSize);
    return std::clamp(fontSize, SmallestFontSize, LargestFontSizeFor(Height(work), dpi));
}

platform::Rect SavedWindowRect(int left, int top, int width, int height) {
    left = std::clamp(left, -CoordinateLimit, CoordinateLimit);
    top = std::clamp(top, -CoordinateLimit, CoordinateLimit);
    width = std::clamp(width, SmallestWindowWidth, CoordinateLimit);
    height = std::clamp(height, SmallestWindowHeight, CoordinateLimit);
    return {left, top, left + width, top + height};
}

platform::Rect FitWindowRect(const platform::Rect& wanted, const platform::Rect& work, int fontSize,
                             int dpi) {
    if (Width(work) <= 0 || Height(work) <= 0) return wanted;
    double content = std::min(std::ceil(ContentHeight(fontSize, dpi)), double(CoordinateLimit));
    int smallestHeight = std::max(ScaledPixels(SmallestWindowHeight, dpi),
                                  ScaledPixels(WindowFrameHeight, dpi) + int(content));
    int width = FitSize(Width(wanted), ScaledPixels(SmallestWindowWidth, dpi), Width(work));
    int height = FitSize(Height(wanted), smallestHeight, Height(work));
    int left = FitStart(wanted.left, width, work.left, work.right);
    int top = FitStart(wanted.top, height, work.top, work.bottom);
    return {left, top, left + width, top + height};
}
