// Fonts and colours, recorded per control.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void SetDefaultFont(const std::string& face, int points) {
    testing::World& w = TheWorld();
    std::pair<std::string, int> old = w.defaultFont;
    w.defaultFont = {face, points};
    w.defaultFontDpi = w.dpi;
    for (auto& [id, font] : w.fonts)
        if (font == old) font = w.defaultFont, w.fontDpis[id] = w.dpi;
    if (w.toolbarExists && w.toolbarFont == old)
        w.toolbarFont = w.defaultFont, w.toolbarFontDpi = w.dpi;
}

void SetControlFont(int id, const std::string& face, int points) {
    TheWorld().fonts[id] = {face, points};
    TheWorld().fontDpis[id] = TheWorld().dpi;
}

void SetControlColors(int id, int foreground, int background) {
    TheWorld().colors[id] = {foreground, background};
}

} // namespace platform
