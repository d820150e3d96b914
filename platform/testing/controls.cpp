// The controls: place, visibility, redraws, the focus and the status bar.
#include "platform/testing/testing.h"

#include "app/events.h"

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

} // namespace platform
