// The toolbar and the big tooltip, recorded.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void ToolbarImagesCreate(int iconSize) {
    TheWorld().toolbarIconSize = iconSize;
}

void ToolbarCreate(const ToolbarButton* buttons, int count) {
    TheWorld().toolbar.assign(buttons, buttons + count);
    TheWorld().toolbarExists = true;
    TheWorld().toolbarFont = TheWorld().defaultFont;
    TheWorld().toolbarFontDpi = TheWorld().defaultFontDpi;
    TheWorld().events.push_back("toolbar: " + std::to_string(count));
}

void ToolbarDestroy() {
    TheWorld().toolbar.clear();
    TheWorld().toolbarExists = false;
}

bool ToolbarExists() {
    return TheWorld().toolbarExists;
}

int ToolbarRightEdge() {
    return int(TheWorld().toolbar.size()) * 100;
}

void ToolbarSetFont(const std::string& face, int points) {
    TheWorld().toolbarFont = {face, points};
    TheWorld().toolbarFontDpi = TheWorld().dpi;
}

void TooltipCreate() {
    TheWorld().tooltipCreated = true;
    TheWorld().tooltipFontDpi = TheWorld().dpi;
}

void TooltipShowText(const std::string& text) {
    TheWorld().tooltipText = text;
}

void TooltipPop() {
    ++TheWorld().tooltipPops;
}

} // namespace platform
