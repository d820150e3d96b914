// Fonts and colours of the controls. A font or brush is released only after
// its replacement is in place.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <richedit.h>

#include <cwchar>

namespace platform::win32 {

HFONT CreateBoldFont(const std::string& face, int points) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, WindowDpi(), 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = ANSI_CHARSET;
    wcsncpy(lf.lfFaceName, Widen(face).c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

void GiveDefaultFont(HWND window) {
    if (window && Win.defaultFont) SendMessageW(window, WM_SETFONT, WPARAM(Win.defaultFont), FALSE);
}

static bool IsRichEdit(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return _wcsnicmp(name, L"RichEdit", 8) == 0;
}

static void SetCharFormat(HWND box, const CHARFORMAT2W& format) {
    SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, LPARAM(&format));
    SendMessageW(box, EM_SETCHARFORMAT, SCF_DEFAULT, LPARAM(&format));
}

// The rich edit turns twips into pixels at its DC's scale, which for a
// per-monitor aware program stays the system's when the window moves to a
// monitor of another scale; the size asked for makes up the difference.
static LONG RichEditTwips(HWND box, int points) {
    HDC dc = GetDC(box);
    int dcDpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(box, dc);
    int windowDpi = WindowDpi();
    return MulDiv(points * 20, windowDpi, dcDpi > 0 ? dcDpi : windowDpi);
}

// WM_SETFONT alone leaves the rich edit's text at its old size.
static void SetRichEditFont(HWND box, const std::string& face, int points) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_CHARSET;
    format.dwEffects = CFE_BOLD;
    format.yHeight = RichEditTwips(box, points);
    format.bCharSet = ANSI_CHARSET;
    wcsncpy(format.szFaceName, Widen(face).c_str(), LF_FACESIZE - 1);
    SetCharFormat(box, format);
}

static void SetRichEditColors(HWND box, COLORREF foreground, COLORREF background) {
    SendMessageW(box, EM_SETBKGNDCOLOR, 0, LPARAM(background));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = foreground;
    SetCharFormat(box, format);
}

static void SetListColors(HWND list, COLORREF foreground, COLORREF background) {
    SendMessageW(list, LVM_SETTEXTCOLOR, 0, LPARAM(foreground));
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, LPARAM(background));
    SendMessageW(list, LVM_SETBKCOLOR, 0, LPARAM(background));
}

static void ReplaceBrush(HBRUSH& brush, COLORREF color) {
    HBRUSH old = brush;
    brush = CreateSolidBrush(color);
    if (old) DeleteObject(old);
}

HBRUSH OnControlColor(HDC dc, HWND control) {
    if (control == ControlWindow(PreviewId)) {
        SetTextColor(dc, Win.previewText);
        SetBkColor(dc, Win.previewBackground);
        return Win.previewBrush;
    }
    if (control == Win.main && Win.mainBrush) return Win.mainBrush;
    return nullptr;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

static BOOL CALLBACK HandOverFont(HWND control, LPARAM old) {
    if (HFONT(SendMessageW(control, WM_GETFONT, 0, 0)) == HFONT(old))
        SendMessageW(control, WM_SETFONT, WPARAM(Win.defaultFont), TRUE);
    return TRUE;
}

void SetDefaultFont(const std::string& face, int points) {
    HFONT old = Win.defaultFont;
    Win.defaultFont = CreateBoldFont(face, points);
    if (!old) return;
    // Nothing may still draw with the old font when it goes.
    if (IsWindow(Win.main)) {
        if (Win.mainFont == old) SendMessageW(Win.main, WM_SETFONT, WPARAM(Win.defaultFont), TRUE);
        EnumChildWindows(Win.main, HandOverFont, LPARAM(old));
    }
    DeleteObject(old);
}

void SetControlFont(int id, const std::string& face, int points) {
    HWND control = ControlWindow(id);
    if (!control || id < SearchBoxId || id > PreviewId) return;
    HFONT font = CreateBoldFont(face, points);
    SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
    if (IsRichEdit(control)) SetRichEditFont(control, face, points);
    // The status bar takes its height from its font.
    if (id == StatusBarId) SendMessageW(control, WM_SIZE, 0, 0);
    HFONT& kept = Win.fonts[id - SearchBoxId];
    if (kept) DeleteObject(kept);
    kept = font;
}

void SetControlColors(int id, int foreground, int background) {
    HWND control = ControlWindow(id);
    if (!control) return;
    COLORREF fg = COLORREF(foreground), bg = COLORREF(background);
    if (IsRichEdit(control)) SetRichEditColors(control, fg, bg);
    if (id == ResultListId) SetListColors(control, fg, bg);
    if (id == StatusBarId) SendMessageW(control, SB_SETBKCOLOR, 0, LPARAM(bg));
    if (id == PreviewId) Win.previewText = fg, Win.previewBackground = bg;
    if (id == PreviewId) ReplaceBrush(Win.previewBrush, bg);
    if (id == MainWindowId) ReplaceBrush(Win.mainBrush, bg);
    InvalidateRect(control, nullptr, TRUE);
}

} // namespace platform
