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

static int StatusEm() {
    testing::World& w = TheWorld();
    auto font = w.fonts.find(StatusBarId);
    int points = font != w.fonts.end() ? font->second.second : 14;
    return points * w.dpi / 72;
}

static int StatusLineTotal(int width) {
    int perLine = std::max(1, (width - 16) / std::max(1, StatusEm() * 3 / 5));
    return std::max(1, (Characters(TheWorld().statusText) + perLine - 1) / perLine);
}

int StatusBarTextHeight(int width) {
    return StatusLineTotal(width) * (StatusEm() * 4 / 3);
}

void SetStatusBarHeight(int height) {
    TheWorld().controls[StatusBarId].height = height;
}

// The bar spans the window; its lines start half a margin below its top.
StatusLineCount StatusBarLines() {
    testing::World& w = TheWorld();
    int room = w.controls[StatusBarId].height - 4;
    return {StatusLineTotal(w.clientWidth), std::max(0, room / std::max(1, StatusEm() * 4 / 3))};
}

void SetStatusBarFirstLine(int line) {
    TheWorld().statusFirstLine = line;
}

} // namespace platform
