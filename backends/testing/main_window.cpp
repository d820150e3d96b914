// The main window: its creation, caption, placement and size, and the commands sent to it.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

// A new window starts with the default font, or with none while it is unset.
static void Created(int id) {
    testing::World& w = TheWorld();
    if (w.defaultFont.first.empty()) {
        w.fonts.erase(id);
        w.fontDpis.erase(id);
    } else {
        w.fonts[id] = w.defaultFont;
        w.fontDpis[id] = w.defaultFontDpi;
    }
}

void CreateMainWindow(const std::string& caption) {
    TheWorld().caption = caption;
    TheWorld().created = true;
    Created(MainWindowId);
}

void CreateResultList() {
    Created(ResultListId);
}

void CreateSearchBox() {
    Created(SearchBoxId);
}

void CreatePreviewControl(int background) {
    TheWorld().previewBackground = background;
    Created(PreviewId);
}

void CreateStatusBar(const std::string& text) {
    TheWorld().statusText = text;
    Created(StatusBarId);
}

// The loop itself is the test: it drives the program with keys afterwards.
void RunMainWindow() {
    TheWorld().events.push_back("message: init dialog");
    TheWorld().initialised = true;
    OnInitDialog();
    TheWorld().events.push_back("message: deferred start");
    OnDeferredStart();
}

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
static const testing::Monitor* MonitorNear(const Rect& window) {
    const std::vector<testing::Monitor>& monitors = TheWorld().monitors;
    if (monitors.empty()) return nullptr;
    const testing::Monitor* best = &monitors[0];
    for (const testing::Monitor& m : monitors)
        if (Overlap(window, m.bounds) > Overlap(window, best->bounds)) best = &m;
    if (Overlap(window, best->bounds) > 0) return best;
    for (const testing::Monitor& m : monitors)
        if (SquaredGap(window, m.bounds) < SquaredGap(window, best->bounds)) best = &m;
    return best;
}

Rect WorkAreaNear(const Rect& window) {
    const testing::Monitor* m = MonitorNear(window);
    return m ? m->work : Rect{};
}

// As Windows does for a per-monitor aware window: a move onto a monitor of
// another scale suggests the rectangle grown or shrunk by the change.
static void FollowMonitorScale() {
    testing::World& w = TheWorld();
    const Rect& r = w.placement.normal;
    const testing::Monitor* m = MonitorNear(r);
    if (!m || m->dpi == 0 || m->dpi == w.dpi) return;
    int width = (r.right - r.left) * m->dpi / w.dpi, height = (r.bottom - r.top) * m->dpi / w.dpi;
    testing::ChangeDpi(m->dpi, {r.left, r.top, r.left + width, r.top + height});
}

void SetMainSize(int width, int height) {
    Rect& r = TheWorld().placement.normal;
    r.right = r.left + width;
    r.bottom = r.top + height;
    FollowMonitorScale();
}

void MoveMain(int left, int top) {
    Rect& r = TheWorld().placement.normal;
    r = {left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
    FollowMonitorScale();
}

void ShowMainMaximized() {
    TheWorld().events.push_back("window: maximized");
    TheWorld().placement.maximized = true;
    TheWorld().placement.minimized = TheWorld().placement.restoresMaximized = false;
}

void ShowMainMinimized() {
    TheWorld().events.push_back("window: minimized");
    Placement& p = TheWorld().placement;
    p.restoresMaximized = p.maximized || (p.minimized && p.restoresMaximized);
    p.minimized = true;
    p.maximized = false;
}

void ShowMainInFront() {
    Placement& p = TheWorld().placement;
    if (p.minimized) p.maximized = p.restoresMaximized;
    p.minimized = p.restoresMaximized = false;
    TheWorld().foreground = true;
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

int WindowDpi() {
    return TheWorld().dpi;
}

namespace testing {

void ChangeDpi(int dpi, const Rect& suggested) {
    World& w = TheWorld();
    const Rect& now = w.placement.normal;
    int frameWidth = (now.right - now.left) - w.clientWidth;
    int frameHeight = (now.bottom - now.top) - w.clientHeight;
    w.placement.normal = suggested;
    w.clientWidth = suggested.right - suggested.left - frameWidth;
    w.clientHeight = suggested.bottom - suggested.top - frameHeight;
    w.dpi = dpi;
    if (!w.initialised) return;
    OnSize();
    OnDpiChanged();
}

} // namespace testing

} // namespace platform
