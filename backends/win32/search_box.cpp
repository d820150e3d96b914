// The search box: a one-line rich edit control with the program's key handler
// in front of it. Its character positions are UTF-16 units of its text.
#include "backends/win32/win32.h"

#include "platform/events.h"
#include "platform/platform.h"

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>

namespace platform::win32 {

static HWND Box() {
    return ControlWindow(SearchBoxId);
}

static std::wstring BoxText() {
    HWND box = Box();
    std::wstring text(size_t(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(box, text.data(), int(text.size()))));
    return text;
}

static bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A rich edit's select-all reaches past the text, over its final paragraph
// mark; the program counts only the characters of the text.
static void BoxSelection(HWND box, int& start, int& end) {
    DWORD first = 0, last = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&first), LPARAM(&last));
    int size = GetWindowTextLengthW(box);
    start = std::min(int(first), size);
    end = std::min(int(last), size);
}

static bool richBox = false;

struct PaintedSelection {
    int start = 0, end = 0;
    bool focused = false;
    bool operator==(const PaintedSelection&) const = default;
};
static PaintedSelection painted;

static PaintedSelection ShownSelection(HWND box) {
    PaintedSelection now;
    DWORD first = 0, last = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&first), LPARAM(&last));
    now.start = int(first);
    now.end = int(last);
    now.focused = GetFocus() == box;
    return now;
}

static int CharLeft(HWND box, int index) {
    POINTL at{};
    SendMessageW(box, EM_POSFROMCHAR, WPARAM(&at), LPARAM(index));
    return int(at.x);
}

static void FillBox(HDC dc, RECT box, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

// The rich edit has no selection colours and paints the system's highlight
// (about 3:1 against white text): the selected text is painted again over it,
// in the box's font, as a block of the program's colours as high as the box's
// text area. The box is one line, so the selection is one run.
static void PaintSelection(HWND box) {
    painted = ShownSelection(box);
    if (!richBox || !Win.boxSelectionColorsSet || !painted.focused) return;
    std::wstring text = BoxText();
    int size = int(text.size());
    int start = std::min(painted.start, size), end = std::min(painted.end, size);
    if (start == end && painted.end <= size) return;
    std::wstring_view part = std::wstring_view(text).substr(size_t(start), size_t(end - start));
    RECT area{};
    SendMessageW(box, EM_GETRECT, 0, LPARAM(&area));
    POINTL at{};
    SendMessageW(box, EM_POSFROMCHAR, WPARAM(&at), LPARAM(start));
    HDC dc = GetDC(box);
    // The font given to the box: a rich edit may answer WM_GETFONT with the system's.
    HFONT font = Win.fonts[0] ? Win.fonts[0] : Win.defaultFont;
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, part.data(), int(part.size()), &extent);
    int right = end < size ? CharLeft(box, end) : at.x + extent.cx;
    // A selection past the text holds the paragraph mark, which the control
    // highlights about a blank wide.
    if (painted.end > size) {
        SIZE blanks{};
        GetTextExtentPoint32W(dc, L"  ", 2, &blanks);
        right += blanks.cx;
    }
    RECT block{std::max(area.left, at.x), area.top, std::min(area.right, LONG(right)), area.bottom};
    if (block.right > block.left) {
        HideCaret(box);
        FillBox(dc, block, Win.boxSelectionBackground);
        SetTextColor(dc, Win.boxSelectionText);
        SetBkMode(dc, TRANSPARENT);
        ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &block, part.data(), UINT(part.size()), nullptr);
        ShowCaret(box);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(box, dc);
}

// The control repaints only what it changed; the block reaches past that, so
// a changed selection repaints the whole box.
static LRESULT Paint(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!(ShownSelection(box) == painted)) InvalidateRect(box, nullptr, FALSE);
    LRESULT result = CallWindowProcW(Win.searchBoxProc, box, message, wParam, lParam);
    PaintSelection(box);
    return result;
}

// True when the program's handler consumed the message.
static bool Consumed(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SETFOCUS:
        return ::OnSearchBoxSetFocus();
    case WM_CHAR:
        return ::OnSearchBoxChar(unsigned(wParam));
    case WM_KEYDOWN:
        return ::OnSearchBoxKeyDown(int(wParam));
    case WM_KEYUP:
        return ::OnSearchBoxKeyUp(int(wParam));
    case WM_MOUSEWHEEL:
        return ::OnSearchBoxMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    }
    return false;
}

LRESULT CALLBACK SearchBoxKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Consumed(message, wParam)) return 0;
    if (message == WM_PAINT && !wParam) return Paint(window, message, wParam, lParam);
    LRESULT result = CallWindowProcW(Win.searchBoxProc, window, message, wParam, lParam);
    // Tab moves to the next control, as in any one-line box; some rich edits
    // ask for it and would type it into the search term.
    if (message == WM_GETDLGCODE) result &= ~LRESULT(DLGC_WANTTAB);
    return result;
}

static HWND CreateBox(const wchar_t* className) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL;
    return CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", style, 0, 0, 100, 40, Win.main,
                           HMENU(INT_PTR(SearchBoxId)), Win.instance, nullptr);
}

} // namespace platform::win32

namespace platform {

using namespace win32;

// A system without the newer rich edit still gets a box to type into.
void CreateSearchBox() {
    LoadLibraryW(L"msftedit.dll");
    HWND box = CreateBox(MSFTEDIT_CLASS);
    if (!box && LoadLibraryW(L"riched20.dll")) box = CreateBox(RICHEDIT_CLASSW);
    richBox = box != nullptr;
    if (!box) box = CreateBox(L"EDIT");
    GiveDefaultFont(box);
    Win.searchBoxProc =
        WNDPROC(SetWindowLongPtrW(box, GWLP_WNDPROC, LONG_PTR(SearchBoxKeyHandler)));
}

std::string SearchBoxText() {
    return Narrow(BoxText());
}

void SetSearchBoxText(const std::string& text) {
    SetWindowTextW(Box(), Widen(text).c_str());
}

void SearchBoxSetSelection(int start, int end) {
    SendMessageW(Box(), EM_SETSEL, WPARAM(start), LPARAM(end));
}

void SearchBoxPostSelectAll() {
    PostMessageW(Box(), EM_SETSEL, 0, -1);
}

void SearchBoxGetSelection(int& start, int& end) {
    BoxSelection(Box(), start, end);
}

void SearchBoxSetSelectionColors(int foreground, int background) {
    Win.boxSelectionColorsSet = true;
    Win.boxSelectionText = COLORREF(foreground);
    Win.boxSelectionBackground = COLORREF(background);
    if (HWND box = Box()) InvalidateRect(box, nullptr, FALSE);
}

void SearchBoxReplaceSelection(const std::string& text) {
    SendMessageW(Box(), EM_REPLACESEL, TRUE, LPARAM(Widen(text).c_str()));
}

// Never splits a character made of two UTF-16 units.
std::string SearchBoxRange(int start, int end) {
    std::wstring text = BoxText();
    int size = int(text.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    if (start > 0 && start < size && IsLowSurrogate(text[size_t(start)])) --start;
    if (end > start && end < size && IsLowSurrogate(text[size_t(end)])) ++end;
    return Narrow(std::wstring_view(text).substr(size_t(start), size_t(end - start)));
}

} // namespace platform
