// The controls: place, visibility, redraws, the focus and the status bar.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void MoveControl(int id, int x, int y, int width, int height) {
    testing::Control& c = TheWorld().controls[id];
    c.x = x, c.y = y, c.width = width, c.height = height;
}

void ShowControl(int id, bool visible) {
    TheWorld().controls[id].visible = visible;
}

int ControlHeight(int id) {
    return TheWorld().controls[id].height;
}

void RedrawControl(int id) {
    ++TheWorld().controls[id].redraws;
}

// As SetFocus: the control that gains the focus hears of it at once (its
// WM_SETFOCUS is sent, not posted); giving the focus it has changes nothing.
void SetFocusTo(int id) {
    if (TheWorld().focus == id) return;
    TheWorld().focus = id;
    TheWorld().events.push_back("focus: " + std::to_string(id));
    testing::FireFocus(id);
}

int FocusedControl() {
    return TheWorld().focus;
}

void SetStatusBarText(const std::string& text) {
    TheWorld().statusText = text;
    TheWorld().events.push_back("status: " + text);
}

static int Characters(const std::string& text) {
    return int(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

int StatusBarTextHeight(int width) {
    testing::World& w = TheWorld();
    auto font = w.fonts.find(StatusBarId);
    int points = font != w.fonts.end() ? font->second.second : 14;
    int em = points * w.dpi / 72;
    int perLine = std::max(1, (width - 16) / std::max(1, em * 3 / 5));
    int lines = std::max(1, (Characters(w.statusText) + perLine - 1) / perLine);
    return lines * (em * 4 / 3);
}

void SetStatusBarHeight(int height) {
    TheWorld().controls[StatusBarId].height = height;
}

} // namespace platform
