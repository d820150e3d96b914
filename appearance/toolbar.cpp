#include "appearance/toolbar.h"

#include "base/display_scale.h"
#include "command_table/command_table.h"
#include "platform/platform.h"
#include "settings/settings.h"

#include <vector>

ToolbarRecord Toolbar;

namespace {

using Buttons = std::vector<platform::ToolbarButton>;

// A command's button, as the command table draws it.
void Add(Buttons& b, int command) {
    const ToolbarFace& face = FindCommand(command)->face;
    b.push_back({face.image, command, ToolbarButtonText(face.caption), 0});
}
void Separator(Buttons& b, int width) {
    b.push_back({0, 0, std::string(), WindowPixels(width)});
}

void AddSearchButtons(Buttons& b) {
    Add(b, CmdSearchForFiles);
    Add(b, CmdSearchForFolders);
    Add(b, CmdSearchAll);
    Add(b, CmdCustomSearch);
}
void AddFileButtons(Buttons& b) {
    Add(b, CmdCopyFile);
    Add(b, CmdOpenFile);
    Separator(b, 40);
    Add(b, CmdOpenFolder);
    Add(b, CmdExpandFolder);
}
void AddLastButtons(Buttons& b) {
    Add(b, CmdChangeColors);
    Add(b, CmdPrint);
    Add(b, CmdPreview);
    Add(b, CmdSettingsList);
}

Buttons WideButtons() {
    Buttons b;
    Add(b, CmdExit);
    Separator(b, 60);
    AddSearchButtons(b);
    Separator(b, 30);
    AddFileButtons(b);
    Separator(b, 40);
    AddLastButtons(b);
    return b;
}

// The narrow layout: Exit, one page of buttons, then the page button,
// whose picture (z1, z2, z3) tells which page is shown.
Buttons PageButtons(int page) {
    Buttons b;
    Add(b, CmdExit);
    Separator(b, 30);
    if (page == 1)
        AddFileButtons(b);
    else if (page == 2)
        AddLastButtons(b);
    else
        AddSearchButtons(b);
    Separator(b, page == 2 ? 50 : 105);
    // Its picture (z1, z2, z3) tells which page is shown.
    b.push_back({page == 1 || page == 2 ? 17 + page : 17, CmdNextMenu, ToolbarButtonText(" "), 0});
    return b;
}

} // namespace

std::string ToolbarButtonText(const std::string& caption) {
    return Settings.HideToolbarText != 0 ? std::string() : caption;
}

constexpr const char* CaptionFontName = "Arial Black";

void CreateToolbar() {
    Toolbar.CaptionPoints = 0; // a new toolbar starts with the window's font
    platform::ToolbarDestroy();
    if (Settings.ShowToolbar == 0) return;
    Buttons b = Settings.WideToolbar != 0 ? WideButtons() : PageButtons(Toolbar.ToolbarPage);
    platform::ToolbarCreate(b.data(), int(b.size()));
}

int ToolbarHeight() {
    if (Settings.ShowToolbar == 0 || !platform::ToolbarExists()) return 0;
    return platform::ControlHeight(platform::ToolbarId);
}

void NextToolbarPage() {
    Toolbar.ToolbarPage = Toolbar.ToolbarPage >= 2 ? 0 : Toolbar.ToolbarPage + 1;
    CreateToolbar();
}

void PreviousToolbarPage() {
    Toolbar.ToolbarPage = Toolbar.ToolbarPage <= 0 ? 2 : Toolbar.ToolbarPage - 1;
    CreateToolbar();
}

void CreateToolbarImages() {
    platform::ToolbarImagesCreate(WindowPixels(Settings.IconSize));
}

void ScaleToolbar() {
    int captionPoints = Toolbar.CaptionPoints;
    CreateToolbarImages();
    CreateToolbar();
    if (captionPoints != 0) platform::ToolbarSetFont(CaptionFontName, captionPoints);
    Toolbar.CaptionPoints = captionPoints;
    CreateTooltip();
}

void CycleIconSize() {
    struct Step {
        int from, to, fontSize;
    };
    static constexpr Step Steps[] = {{48, 64, 18}, {64, 96, 20}, {96, 128, 24}, {128, 48, 16}};
    Step next = {0, 48, 16};
    for (const Step& s : Steps)
        if (s.from == Settings.IconSize) next = s;
    Settings.IconSize = next.to;
    CreateToolbarImages();
    CreateToolbar();
    platform::ToolbarSetFont(CaptionFontName, next.fontSize);
    Toolbar.CaptionPoints = next.fontSize;
}

void CreateTooltip() {
    platform::TooltipCreate();
}

int PreviewBackground() {
    switch (Settings.ImageBG) {
    case 1:
        return 0;
    case 2:
        return 16711680;
    default:
        return 16777215;
    }
}

void ResetToolbarState() {
    Toolbar = ToolbarRecord();
}
