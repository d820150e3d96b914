// The toolbar with its pages, icons and tooltips.
#pragma once

#include <string>

// Rebuilds the toolbar from the settings; none while `ShowToolbar` is 0.
void CreateToolbar();
// Height of the toolbar control, 0 when there is none.
int ToolbarHeight();

// The pictures at `IconSize`, a size at 100 % that is scaled to the window's
// scale, so a saved size looks the same on every monitor.
void CreateToolbarImages();
void CreateTooltip();
// Pictures, buttons, captions and tooltip made again at the window's new scale.
void ScaleToolbar();
// Background of the preview surface for `ImageBG`: white, black or blue.
int PreviewBackground();

// The toolbar's own state.
struct ToolbarRecord {
    int ToolbarPage = 0;       // 0..2: which of the three pages the buttons show
    int LastTooltipButton = 0; // the button whose tooltip was last spoken
    std::string TooltipText;   // what the big tooltip shows, at most 259 characters
    // The captions' own size after an icon size change; 0 while they have the
    // window's font.
    int CaptionPoints = 0;
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
