#include "appearance/toolbar.h"

#include "platform/platform.h"
#include "settings/settings.h"

void CreateToolbar() {}

int ToolbarHeight() {
    return Settings.ShowToolbar != 0 ? platform::ControlHeight(platform::ToolbarId) : 0;
}
