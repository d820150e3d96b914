// How well two colours read against each other, and the colours the selected
// row is drawn in.
#pragma once

// The least contrast the row being read may have.
constexpr double ReadableContrast = 7.0;

// WCAG 2 relative luminance (0 black .. 1 white) of a Windows colour value
// (red in the lowest byte), and the contrast ratio (1 .. 21) of two of them.
double RelativeLuminance(int colour);
double ContrastRatio(int a, int b);

struct SelectionColors {
    int foreground, background;
    bool operator==(const SelectionColors&) const = default;
};
// The scheme's own two colours swapped, so the row stands out as a block of
// the text colour. Where the pair itself is too faint, black or white on the
// text colour; where neither reaches 7:1 there, or the row would not stand
// out 3:1 from the others, black on white or white on black, whichever block
// stands further from the list's background.
SelectionColors SelectionColorsFor(int foreground, int background);
