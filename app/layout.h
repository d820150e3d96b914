#pragma once

#include "base/display_scale.h"
#include "settings/window_fit.h"

#include <string>
#include <string_view>

// Places the five controls for the current client size, font size and
// settings, sets the list's column headers and widths, and scrolls the
// selected row wholly into view.
void LayoutWindow();
// Lays the window out again when the status bar's text needs another height.
void FitStatusArea();

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

// The status bar's height for its text `textHeight` pixels high: the whole
// text with a margin, but never so high that the list, below a search box of
// `fontSize` points, loses room for its header and the selected row; where
// even that cuts the text (a very large font), the header gives way too.
int StatusAreaHeight(int textHeight, int H, int T, int fontSize, int rowHeight,
                     int dpi = StandardDpi);
// Whether the list keeps its column headers beside that status bar.
bool ListKeepsHeader(int textHeight, int H, int T, int fontSize, int rowHeight,
                     int dpi = StandardDpi);
