// The large content font and the colour schemes.
#pragma once

#include "settings/window_fit.h"

#include <string>

// Grows or shrinks the content font by `delta` points, never below 8.
void ChangeFontSize(int delta);
void CycleColorScheme();
// Named by the background alone; empty for a colour outside the schemes.
std::string ColorSchemeName();
void ApplyColors();
// The start-up fonts: the content font, the status bar's too.
void ApplyFonts();

// The font of the window and of the controls created with it, the toolbar's
// captions included, until one is given its own.
constexpr const char* WindowFontName = "Arial Black";
constexpr int WindowFontSize = 24;
