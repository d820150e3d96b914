// Where the main window starts and how large its text may be: saved values
// that would hide the window or its text are fitted to the screen.
#pragma once

#include "base/display_scale.h"
#include "platform/platform.h"

// The smallest content font, and the search box's height for each point of it
// at 100 %. The pixel sizes here are at 100 % too; each function scales them
// to the `dpi` it is given, the scale the window is drawn at.
constexpr int SmallestFontSize = 8;
constexpr double SearchBoxPixelsPerPoint = 2.7;

// Caption, frame, toolbar at its usual icon size, status bar and the gaps.
constexpr int WindowFrameHeight = 240;
constexpr int SmallestWindowWidth = 640;
constexpr int SmallestWindowHeight = 400;

// The largest font whose search box, list header and one row fit into a work
// area this high; never below the smallest font size.
int LargestFontSizeFor(int workHeight, int dpi = StandardDpi);
int FitFontSize(int fontSize, const platform::Rect& work, int dpi = StandardDpi);

// The outer rectangle that saved values describe, no smaller than the
// smallest window and far enough from the integer limits to add to.
platform::Rect SavedWindowRect(int left, int top, int width, int height);
// At least the smallest usable size (high enough for the font's search box
// and one row), at most the work area, and moved onto it.
platform::Rect FitWindowRect(const platform::Rect& wanted, const platform::Rect& work, int fontSize,
                             int dpi = StandardDpi);
