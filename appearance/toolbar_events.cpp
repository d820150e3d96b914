#include "app/events.h"
#include "appearance/toolbar.h"

// Placeholders until the toolbar lands.
std::string ToolbarButtonText(const std::string& caption) { return caption; }
void NextToolbarPage() {}
void PreviousToolbarPage() {}
void CycleIconSize() {}
void CycleTooltipMode() {}
std::string TooltipTextFor(int) { return {}; }
void ShowTooltipText() {}
void OnToolbarSetFocus() {}
void OnToolbarRightClick(int) {}
void OnTooltipRequest(int) {}
