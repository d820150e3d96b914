#include "appearance/toolbar.h"

#include "platform/platform.h"
#include "settings/settings.h"

void CreateToolbar() {}

int ToolbarHeight() {
    return Settings.ShowToolbar != 0 ? platform::ControlHeight(platform::ToolbarId) : 0;
}

void CreateToolbarImages() {
    platform::ToolbarImagesCreate(Settings.IconSize);
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
