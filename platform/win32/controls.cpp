// The main window's children by id, and the two simple ones: the preview
// surface and the status bar.
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <algorithm>

namespace platform::win32 {

HWND ControlWindow(int id) {
    if (!Win.main) return nullptr;
    if (id == MainWindowId) return Win.main;
    return GetDlgItem(Win.main, id);
}

// The direct child of the main window that holds `window`, or null.
static HWND ChildOfMain(HWND window) {
    while (window && GetParent(window) != Win.main)
        window = GetParent(window);
    return window;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

void CreatePreviewControl(int background) {
    Win.previewBackground = COLORREF(background);
    Win.previewBrush = CreateSolidBrush(Win.previewBackground);
    GiveDefaultFont(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOTIFY | WS_BORDER, 0, 0, 100,
                                    100, Win.main, HMENU(INT_PTR(PreviewId)), Win.instance,
                                    nullptr));
}

void CreateStatusBar(const std::string& text) {
    HWND bar =
        CreateWindowExW(0, STATUSCLASSNAMEW, Widen(text).c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                        Win.main, HMENU(INT_PTR(StatusBarId)), Win.instance, nullptr);
    GiveDefaultFont(bar);
}

void SetStatusBarText(const std::string& text) {
    SendMessageW(ControlWindow(StatusBarId), SB_SETTEXTW, 0, LPARAM(Widen(text).c_str()));
}

void MoveControl(int id, int x, int y, int width, int height) {
    if (HWND control = ControlWindow(id))
        MoveWindow(control, x, y, std::max(width, 0), std::max(height, 0), TRUE);
}

void ShowControl(int id, bool visible) {
    if (HWND control = ControlWindow(id)) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

// Some toolbars sit a divider's width below the top edge; the controls placed
// under the toolbar need its bottom edge, so that is its height here.
int ControlHeight(int id) {
    RECT r{};
    HWND control = ControlWindow(id);
    if (!control || !GetWindowRect(control, &r)) return 0;
    if (id != ToolbarId) return r.bottom - r.top;
    MapWindowPoints(nullptr, Win.main, reinterpret_cast<POINT*>(&r), 2);
    return std::max(0L, r.bottom);
}

void RedrawControl(int id) {
    if (HWND control = ControlWindow(id))
        RedrawWindow(control, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SetFocusTo(int id) {
    if (HWND control = ControlWindow(id)) SetFocus(control);
}

int FocusedControl() {
    HWND focus = GetFocus();
    if (!focus || !Win.main) return -1;
    if (focus == Win.main) return MainWindowId;
    HWND child = ChildOfMain(focus);
    return child ? GetDlgCtrlID(child) : -1;
}

} // namespace platform
