// The toolbar, its image list, and the big tooltip window that shows the
// program's own tooltip texts.
#include "backends/win32/win32.h"

#include "platform/events.h"
#include "platform/platform.h"

#include <uxtheme.h>

#include <iterator>
#include <vector>

namespace platform::win32 {

// Image numbers 1 to 20, in this order.
static const wchar_t* const ToolbarIconNames[] = {
    L"ZEXIT",    L"ZSEARCH",  L"ZOPEN",     L"ZFILE",  L"ZFOLDER",  L"ZCOLOR",   L"ZNEW",
    L"ZCOPY",    L"ZSFILES",  L"ZSFOLDERS", L"ZSBOTH", L"ZSCUSTOM", L"ZEXPAND",  L"ZHELP",
    L"ZPRINTER", L"ZPREVIEW", L"Z1",        L"Z2",     L"Z3",       L"ZSETTINGS"};

static HWND Toolbar() {
    return ControlWindow(ToolbarId);
}

// A missing picture must not shift the numbers of the ones after it.
static void AddToolbarIcon(HIMAGELIST images, const wchar_t* name, int size) {
    HICON icon = HICON(LoadImageW(Win.instance, name, IMAGE_ICON, size, size, 0));
    if (!icon) {
        ImageList_AddIcon(images, LoadIconW(nullptr, IDI_APPLICATION));
        return;
    }
    ImageList_AddIcon(images, icon);
    DestroyIcon(icon);
}

static TBBUTTON ButtonFor(const ToolbarButton& b, const std::wstring& caption) {
    TBBUTTON tb{};
    if (b.image == 0) {
        tb.iBitmap = b.separatorWidth;
        tb.fsStyle = BTNS_SEP;
        return tb;
    }
    tb.iBitmap = b.image - 1;
    tb.idCommand = b.command;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = BTNS_BUTTON;
    tb.iString = caption.empty() ? -1 : INT_PTR(caption.c_str());
    return tb;
}

static void AddButtons(HWND toolbar, const ToolbarButton* buttons, int count) {
    std::vector<std::wstring> captions;
    std::vector<TBBUTTON> table;
    captions.reserve(size_t(count)); // the table points into these
    for (int i = 0; i < count; ++i) {
        captions.push_back(Widen(buttons[i].caption));
        table.push_back(ButtonFor(buttons[i], captions.back()));
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, WPARAM(count), LPARAM(table.data()));
}

LRESULT CALLBACK ToolbarKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS) ::OnToolbarSetFocus();
    return CallWindowProcW(Win.toolbarProc, window, message, wParam, lParam);
}

static TOOLINFOW ToolFor(HWND toolbar) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Win.main;
    ti.uId = UINT_PTR(toolbar);
    ti.lpszText = Win.tooltipText.data();
    return ti;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

void ToolbarImagesCreate(int iconSize) {
    HIMAGELIST old = Win.toolbarImages;
    Win.toolbarImages = ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 20, 0);
    for (const wchar_t* name : ToolbarIconNames)
        AddToolbarIcon(Win.toolbarImages, name, iconSize);
    if (HWND toolbar = Toolbar())
        SendMessageW(toolbar, TB_SETIMAGELIST, 0, LPARAM(Win.toolbarImages));
    if (old) ImageList_Destroy(old);
}

void ToolbarCreate(const ToolbarButton* buttons, int count) {
    ToolbarDestroy();
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, Win.main,
                                   HMENU(INT_PTR(ToolbarId)), Win.instance, nullptr);
    if (!toolbar) return;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Before the buttons, so that they are measured with it from the first paint.
    GiveDefaultFont(toolbar);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, LPARAM(Win.toolbarImages));
    AddButtons(toolbar, buttons, count);
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    Win.toolbarProc =
        WNDPROC(SetWindowLongPtrW(toolbar, GWLP_WNDPROC, LONG_PTR(ToolbarKeyHandler)));
    RedrawWindow(toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ToolbarDestroy() {
    HWND toolbar = Toolbar();
    if (!toolbar) return;
    if (Win.tooltip && Win.toolWindow == toolbar) {
        TOOLINFOW ti = ToolFor(toolbar);
        SendMessageW(Win.tooltip, TTM_DELTOOLW, 0, LPARAM(&ti));
    }
    Win.toolWindow = nullptr;
    DestroyWindow(toolbar);
}

bool ToolbarExists() {
    return Toolbar() != nullptr;
}

int ToolbarRightEdge() {
    HWND toolbar = Toolbar();
    int count = toolbar ? int(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0)) : 0;
    RECT r{};
    if (count <= 0 || !SendMessageW(toolbar, TB_GETITEMRECT, WPARAM(count - 1), LPARAM(&r)))
        return 0;
    return r.right;
}

void ToolbarSetFont(const std::string& face, int points) {
    HFONT old = Win.toolbarFont;
    Win.toolbarFont = CreateBoldFont(face, points);
    if (HWND toolbar = Toolbar()) {
        SendMessageW(toolbar, WM_SETFONT, WPARAM(Win.toolbarFont), TRUE);
        SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    }
    if (old) DeleteObject(old);
}

// 72 pixels high at 100 %, at the window's scale.
static void MakeTooltipFont() {
    int dpi = WindowDpi();
    LOGFONTW lf{};
    GetObjectW(GetStockObject(ANSI_FIXED_FONT), sizeof lf, &lf);
    lf.lfHeight = -MulDiv(72, dpi, 96);
    lf.lfWidth = -MulDiv(35, dpi, 96);
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = FALSE;
    lstrcpynW(lf.lfFaceName, L"Arial Black", LF_FACESIZE);
    HFONT old = Win.tooltipFont;
    Win.tooltipFont = CreateFontIndirectW(&lf);
    SendMessageW(Win.tooltip, WM_SETFONT, WPARAM(Win.tooltipFont), TRUE);
    if (old) DeleteObject(old);
}

// Black on white in a very large font, whatever the visual style says.
void TooltipCreate() {
    if (Win.tooltip) return MakeTooltipFont();
    Win.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", TTS_ALWAYSTIP, 0, 0, 0, 0, Win.main,
                                  nullptr, Win.instance, nullptr);
    if (!Win.tooltip) return;
    SetWindowTheme(Win.tooltip, L" ", L" ");
    MakeTooltipFont();
    SendMessageW(Win.tooltip, TTM_SETTIPTEXTCOLOR, 0, 0);
    SendMessageW(Win.tooltip, TTM_SETTIPBKCOLOR, RGB(255, 255, 255), 0);
    SendMessageW(Win.tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
}

// The whole toolbar is one tool of the big tooltip, showing the latest text.
void TooltipShowText(const std::string& text) {
    Win.tooltipText = Widen(text);
    HWND toolbar = Toolbar();
    if (!Win.tooltip || !toolbar) return;
    TOOLINFOW ti = ToolFor(toolbar);
    UINT message = Win.toolWindow == toolbar ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW;
    SendMessageW(Win.tooltip, message, 0, LPARAM(&ti));
    Win.toolWindow = toolbar;
}

void TooltipPop() {
    if (Win.tooltip) SendMessageW(Win.tooltip, TTM_POP, 0, 0);
}

} // namespace platform
