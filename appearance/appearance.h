// The large content font and the colour schemes.
#pragma once

#include <string>

// Grows or shrinks the content font by `delta` points, never below 8.
void ChangeFontSize(int delta);
void CycleColorScheme();
// Named by the background alone; empty for a colour outside the schemes.
std::string ColorSchemeName();
void ApplyColors();
// The start-up fonts: the status bar's own and the content font.
void ApplyFonts();

constexpr int SmallestFontSize = 8;
constexpr int StatusFontSize = 14;
