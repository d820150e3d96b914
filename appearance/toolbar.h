// The toolbar with its pages, icons and tooltips.
#pragma once

#include <string>

// Rebuilds the toolbar from the settings; none while `ShowToolbar` is 0.
void CreateToolbar();
// Height of the toolbar control, 0 when there is none.
int ToolbarHeight();

void CreateToolbarImages();
void CreateTooltip();
// Background of the preview surface for `ImageBG`: white, black or blue.
int PreviewBackground();

// The toolbar's own state beside `ToolbarPage` and `LastTooltipButton`.
struct ToolbarRecord {
    std::string TooltipText; // what the big tooltip shows, at most 259 characters
};
extern ToolbarRecord Toolbar;
void ResetToolbarState();

// The empty text while `HideToolbarText` is on, else the caption.
std::string ToolbarButtonText(const std::string& caption);
void NextToolbarPage();
void PreviousToolbarPage();
void CycleIconSize();
void CycleTooltipMode();
// Sets `TooltipText` for a button; other ids leave it as it was.
std::string TooltipTextFor(int command);
void ShowTooltipText();
