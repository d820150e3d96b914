#pragma once

#include "app/display_scale.h"
#include "settings/window_fit.h"

#include <string>
#include <string_view>

// Places the five controls for the current client size, font size and
// settings, and sets the list's column headers and widths.
void LayoutWindow();

// What the list's first column is headed: the help list's title, or "Name"
// with the count of the n rows shown (none for "<empty>", no count yet while
// the "Loading ..." row stands in for them).
std::string FirstColumnHeader(int searchType, int n, std::string_view firstName);

struct ControlBox {
    int x, y, width, height;
};
struct LayoutResult {
    ControlBox searchBox, list, preview;
    std::string headers[4];
    int widths[4];
};
// The arithmetic alone: W, H client size, S status bar, T toolbar height
// (all in pixels at `dpi`), n rows with row 1 named firstName. The margins
// and the search box's height per point grow with the scale.
LayoutResult ComputeLayout(int W, int H, int S, int T, int fontSize, bool showPreview,
                           int searchType, int n, const std::string& firstName,
                           int dpi = StandardDpi);
