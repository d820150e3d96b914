#pragma once

#include "settings/window_fit.h"

#include <string>

// Places the five controls for the current client size, font size and
// settings, and sets the list's column headers and widths.
void LayoutWindow();

struct ControlBox {
    int x, y, width, height;
};
struct LayoutResult {
    ControlBox searchBox, list, preview;
    std::string headers[4];
    int widths[4];
};
// The arithmetic alone: W, H client size, S status bar, T toolbar height,
// n rows with row 1 named firstName.
LayoutResult ComputeLayout(int W, int H, int S, int T, int fontSize, bool showPreview,
                           int searchType, int n, const std::string& firstName);
