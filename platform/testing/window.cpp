#include "platform/testing/testing.h"

#include "app/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void SetCaption(const std::string& text) {
    TheWorld().caption = text;
    TheWorld().events.push_back("caption: " + text);
}
std::string Caption() {
    return TheWorld().caption;
}
Placement GetMainPlacement() {
    return TheWorld().placement;
}

static int64_t Overlap(const Rect& a, const Rect& b) {
    int64_t width = int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
    int64_t height = int64_t(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

static int64_t SquaredGap(const Rect& a, const Rect& b) {
    int64_t dx = std::max<int64_t>({0, int64_t(b.left) - a.right, int64_t(a.left) - b.right});
    int64_t dy = std::max<int64_t>({0, int64_t(b.top) - a.bottom, int64_t(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

// As MonitorFromRect documents it: the monitor with the largest intersection,
// or, when none intersects, the one nearest to the rectangle.
Rect WorkAreaNear(const Rect& window) {
    const std::vector<testing::Monitor>& monitors = TheWorld().monitors;
    if (monitors.empty()) return {};
    const testing::Monitor* best = &monitors[0];
    for (const testing::Monitor& m : monitors)
        if (Overlap(window, m.bounds) > Overlap(window, best->bounds)) best = &m;
    if (Overlap(window, best->bounds) > 0) return best->work;
    for (const testing::Monitor& m : monitors)
        if (SquaredGap(window, m.bounds) < SquaredGap(window, best->bounds)) best = &m;
    return best->work;
}

void SetMainSize(int width, int height) {
    Rect& r = TheWorld().placement.normal;
    r.right = r.left + width;
    r.bottom = r.top + height;
}

void MoveMain(int left, int top) {
    Rect& r = TheWorld().placement.normal;
    r = {left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
}

void ShowMainMaximized() {
    TheWorld().placement.maximized = true;
    TheWorld().placement.minimized = false;
}
void ShowMainMinimized() {
    TheWorld().placement.minimized = true;
    TheWorld().placement.maximized = false;
}
bool MainWindowExists() {
    return TheWorld().mainExists;
}

void CloseMainWindow() {
    if (!TheWorld().mainExists) return;
    OnDestroy();
    TheWorld().mainExists = false;
}

void SendCommand(int commandId) {
    TheWorld().sentCommands.push_back(commandId);
    OnCommand(commandId, 0);
}

int ClientWidth() {
    return TheWorld().clientWidth;
}
int ClientHeight() {
    return TheWorld().clientHeight;
}

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

// ---- Search box: positions are bytes here; tests use ASCII terms.
std::string SearchBoxText() {
    return TheWorld().searchText;
}
void SetSearchBoxText(const std::string& text) {
    TheWorld().searchText = text;
    TheWorld().selStart = TheWorld().selEnd = int(text.size());
}
void SearchBoxSetSelection(int start, int end) {
    int size = int(TheWorld().searchText.size());
    TheWorld().selStart = std::clamp(start, 0, size);
    TheWorld().selEnd = end < 0 ? size : std::clamp(end, 0, size);
}
void SearchBoxPostSelectAll() {
    ++TheWorld().postedSelectAlls;
    SearchBoxSetSelection(0, -1);
}
void SearchBoxGetSelection(int& start, int& end) {
    start = TheWorld().selStart;
    end = TheWorld().selEnd;
}
std::string SearchBoxRange(int start, int end) {
    const std::string& t = TheWorld().searchText;
    start = std::clamp(start, 0, int(t.size()));
    end = std::clamp(end, start, int(t.size()));
    return t.substr(start, end - start);
}

// ---- Result list
void ListSetItemCount(int count) {
    TheWorld().itemCount = count;
    TheWorld().events.push_back("count: " + std::to_string(count));
    if (TheWorld().selected >= count) TheWorld().selected = -1;
}
int ListItemCount() {
    return TheWorld().itemCount;
}
void ListDeleteAllItems() {
    TheWorld().itemCount = 0;
    TheWorld().selected = -1;
    TheWorld().topIndex = 0;
}
int ListSelectedIndex() {
    return TheWorld().selected;
}

void ListSelectItem(int index) {
    testing::World& w = TheWorld();
    if (index < 0 || index >= w.itemCount || index == w.selected) return;
    w.selected = index;
    OnListSelectionChanged();
}

void ListEnsureVisible(int index) {
    testing::World& w = TheWorld();
    int visible = std::max(1, w.controls[ResultListId].height / w.itemHeight);
    if (index < w.topIndex)
        w.topIndex = index;
    else if (index >= w.topIndex + visible)
        w.topIndex = index - visible + 1;
}
int ListTopIndex() {
    return TheWorld().topIndex;
}
void ListScrollBy(int, int dy) {
    testing::World& w = TheWorld();
    w.topIndex = std::clamp(w.topIndex + dy / w.itemHeight, 0, std::max(0, w.itemCount - 1));
}
int ListItemHeight() {
    return TheWorld().itemHeight;
}
void ListSetColumn(int column, const std::string& header, int width) {
    TheWorld().columns[column] = {header, width};
}
void ListSetColumnHeader(int column, const std::string& header) {
    TheWorld().columns[column].header = header;
    TheWorld().events.push_back("header: " + header);
}
void ListAutoSizeColumn(int) {}
void ListSetExtendedStyles() {
    TheWorld().extendedStyles = true;
}

void SetStatusBarText(const std::string& text) {
    TheWorld().statusText = text;
    TheWorld().events.push_back("status: " + text);
}

} // namespace platform
