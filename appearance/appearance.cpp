#include "appearance/appearance.h"

#include "app/events.h"

// Placeholders until fonts and colour schemes land.
void ChangeFontSize(int) {}
void CycleColorScheme() {}
std::string ColorSchemeName() { return {}; }
void ApplyColors() {}
void ApplyFonts() {}
void OnMouseWheel(int) {}
