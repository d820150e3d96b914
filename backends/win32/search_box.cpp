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

// A rich edit's select-all reaches past the text, over its final paragraph
// mark; the program counts only the characters of the text.
void SearchBoxGetSelection(int& start, int& end) {
    DWORD first = 0, last = 0;
    SendMessageW(Box(), EM_GETSEL, WPARAM(&first), LPARAM(&last));
    int size = GetWindowTextLengthW(Box());
    start = std::min(int(first), size);
    end = std::min(int(last), size);
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
