// Fonts and colours, recorded per control.
#include "platform/testing/testing.h"

#include "app/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void SetDefaultFont(const std::string& face, int points) {
    TheWorld().defaultFont = {face, points};
}

void SetControlFont(int id, const std::string& face, int points) {
    TheWorld().fonts[id] = {face, points};
}

void SetControlColors(int id, int foreground, int background) {
    TheWorld().colors[id] = {foreground, background};
}

} // namespace platform
