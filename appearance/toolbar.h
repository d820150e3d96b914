#pragma once

// Rebuilds the toolbar from the settings; none while `ShowToolbar` is 0.
void CreateToolbar();
// Height of the toolbar control, 0 when there is none.
int ToolbarHeight();

void CreateToolbarImages();
void CreateTooltip();
// Background of the preview surface for `ImageBG`: white, black or blue.
int PreviewBackground();

#include <string>

std::string ToolbarButtonText(const std::string& caption);
void NextToolbarPage();
void PreviousToolbarPage();
void CycleIconSize();
void CycleTooltipMode();
std::string TooltipTextFor(int command);
void ShowTooltipText();
