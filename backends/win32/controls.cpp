// The main window's children by id, and the two simple ones: the preview
// surface and the status bar.
#include "backends/win32/win32.h"

#include "base/wrap.h"
#include "platform/platform.h"

#include <algorithm>
#include <vector>

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

static HWND StatusBar() {
    return ControlWindow(StatusBarId);
}

// Room left and right of the status text, and above it.
static int StatusMargin() {
    return MulDiv(8, WindowDpi(), 96);
}

static std::wstring StatusText(HWND bar) {
    int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, LPARAM(text.data()));
    text.resize(size_t(length));
    return text;
}

// The status text in lines as wide as the bar less its margins, measured in
// the font selected into `dc`. DrawText's word break would move a name longer
// than a line whole to the next line, leaving the first line nearly empty.
static std::vector<std::wstring> StatusLines(HDC dc, HWND bar, int width) {
    std::vector<std::wstring> lines;
    auto measure = [dc](std::string_view piece) {
        std::wstring wide = Widen(piece);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
        return int(size.cx);
    };
    for (const std::string& line :
         WrapText(Narrow(StatusText(bar)), std::max(1, width - 2 * StatusMargin()), measure))
        lines.push_back(Widen(line));
    return lines;
}

static int LineHeight(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return int(metrics.tmHeight);
}

// The bar itself draws its text on one line, cut at its right edge; it keeps
// the text (a screen reader reads it there) and is drawn here instead.
static void PaintStatusBar(HWND bar) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    RECT client{};
    GetClientRect(bar, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageW(bar, WM_GETFONT, 0, 0)));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, TRANSPARENT);
    int margin = StatusMargin(), height = LineHeight(dc);
    int y = client.top + margin / 2;
    std::vector<std::wstring> lines = StatusLines(dc, bar, client.right - client.left);
    // Only whole lines: half a line cut at the bottom reads as something else.
    for (size_t n = size_t(std::max(Win.statusFirstLine, 0)); n < lines.size(); ++n) {
        const std::wstring& line = lines[n];
        if (y + height > client.bottom) break;
        TextOutW(dc, client.left + margin, y, line.c_str(), int(line.size()));
        y += height;
    }
    SelectObject(dc, oldFont);
    EndPaint(bar, &paint);
}

static LRESULT CALLBACK StatusBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintStatusBar(bar);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return CallWindowProcW(Win.statusBarProc, bar, message, wParam, lParam);
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
    Win.statusBarProc = WNDPROC(SetWindowLongPtrW(bar, GWLP_WNDPROC, LONG_PTR(StatusBarProc)));
}

void SetStatusBarText(const std::string& text) {
    SendMessageW(StatusBar(), SB_SETTEXTW, 0, LPARAM(Widen(text).c_str()));
    InvalidateRect(StatusBar(), nullptr, TRUE);
}

int StatusBarTextHeight(int width) {
    HWND bar = StatusBar();
    if (!bar) return 0;
    HDC dc = GetDC(bar);
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageW(bar, WM_GETFONT, 0, 0)));
    int lines = std::max(1, int(StatusLines(dc, bar, width).size()));
    int height = lines * LineHeight(dc);
    SelectObject(dc, oldFont);
    ReleaseDC(bar, dc);
    return height;
}

StatusLineCount StatusBarLines() {
    HWND bar = StatusBar();
    if (!bar) return {0, 0};
    RECT client{};
    GetClientRect(bar, &client);
    HDC dc = GetDC(bar);
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageW(bar, WM_GETFONT, 0, 0)));
    int total = int(StatusLines(dc, bar, client.right - client.left).size());
    int room = client.bottom - client.top - StatusMargin() / 2;
    int shown = std::max(0, room / std::max(1, LineHeight(dc)));
    SelectObject(dc, oldFont);
    ReleaseDC(bar, dc);
    return {total, shown};
}

void SetStatusBarFirstLine(int line) {
    if (Win.statusFirstLine == line) return;
    Win.statusFirstLine = line;
    InvalidateRect(StatusBar(), nullptr, TRUE);
}

// The bar adds its borders to the least height it is given; they are taken
// off again so that it is as high as asked, unless its font needs more.
void SetStatusBarHeight(int height) {
    HWND bar = StatusBar();
    if (!bar) return;
    SendMessageW(bar, SB_SETMINHEIGHT, WPARAM(std::max(height, 0)), 0);
    SendMessageW(bar, WM_SIZE, 0, 0);
    int over = ControlHeight(StatusBarId) - height;
    if (over <= 0) return;
    SendMessageW(bar, SB_SETMINHEIGHT, WPARAM(std::max(height - over, 0)), 0);
    SendMessageW(bar, WM_SIZE, 0, 0);
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
