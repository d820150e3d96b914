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

// The mark that says more lines follow stands at the right of the last line,
// a margin from the text.
static int MarkWidth(HDC dc) {
    return LineHeight(dc) * 2 / 3;
}

// The lines the bar shows its text in, and how many whole ones its height
// holds. A text longer than that is broken narrower, leaving the mark's room.
static std::vector<std::wstring> ShownStatusLines(HDC dc, HWND bar, const RECT& client,
                                                  int& shown) {
    int room = client.bottom - client.top - StatusMargin() / 2;
    shown = std::max(0, room / std::max(1, LineHeight(dc)));
    int width = client.right - client.left;
    std::vector<std::wstring> lines = StatusLines(dc, bar, width);
    if (int(lines.size()) > shown)
        lines = StatusLines(dc, bar, width - MarkWidth(dc) - StatusMargin());
    return lines;
}

// A solid triangle pointing down at the right of the line at `y`.
static void DrawMoreMark(HDC dc, const RECT& client, int y) {
    int width = MarkWidth(dc), height = LineHeight(dc);
    int right = client.right - StatusMargin();
    POINT corners[] = {{right - width, y + height / 4},
                       {right, y + height / 4},
                       {right - width / 2, y + height * 3 / 4}};
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
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
    int margin = StatusMargin(), height = LineHeight(dc), shown = 0;
    int y = client.top + margin / 2;
    std::vector<std::wstring> lines = ShownStatusLines(dc, bar, client, shown);
    // Only whole lines: half a line cut at the bottom reads as something else.
    size_t first = size_t(std::max(Win.statusFirstLine, 0)), end = first + size_t(shown);
    for (size_t n = first; n < lines.size() && n < end; ++n) {
        TextOutW(dc, client.left + margin, y, lines[n].c_str(), int(lines[n].size()));
        y += height;
    }
    if (shown > 0 && end < lines.size()) DrawMoreMark(dc, client, y - height);
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
    int shown = 0;
    int total = int(ShownStatusLines(dc, bar, client, shown).size());
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
