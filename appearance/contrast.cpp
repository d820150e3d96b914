#include "appearance/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Black = 0;
constexpr int White = 0xFFFFFF;

double Linear(int channel) {
    double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int BetterOfBlackAndWhite(int against) {
    return ContrastRatio(Black, against) >= ContrastRatio(White, against) ? Black : White;
}

} // namespace

double RelativeLuminance(int colour) {
    return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear((colour >> 8) & 0xFF) +
           0.0722 * Linear((colour >> 16) & 0xFF);
}

double ContrastRatio(int a, int b) {
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The block, or the frame drawn in the row's text colour, must stand apart
// from the other rows' background as any other mark on screen must (3:1).
static bool StandsOut(SelectionColors s, int background) {
    return std::max(ContrastRatio(s.background, background),
                    ContrastRatio(s.foreground, background)) >= 3.0;
}

SelectionColors SelectionColorsFor(int foreground, int background) {
    if (ContrastRatio(foreground, background) >= ReadableContrast) return {background, foreground};
    SelectionColors onText{BetterOfBlackAndWhite(foreground), foreground};
    if (ContrastRatio(onText.foreground, foreground) >= ReadableContrast &&
        StandsOut(onText, background))
        return onText;
    int block = BetterOfBlackAndWhite(background);
    return {block == Black ? White : Black, block};
}
