// The large content font and the colour schemes.
#pragma once

#include <string>

void ChangeFontSize(int delta);
void CycleColorScheme();
std::string ColorSchemeName();
void ApplyColors();
void ApplyFonts();
