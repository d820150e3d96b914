// The result list: an owner-data report list view that holds no text of its
// own and asks the program for every cell.
#include "backends/win32/win32.h"

#include "platform/events.h"
#include "platform/platform.h"

#include <algorithm>
#include <cmath>

namespace platform::win32 {

static HWND List() {
    return ControlWindow(ResultListId);
}

static void InsertColumn(HWND list, int column, const wchar_t* header, int width) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = LVCFMT_LEFT;
    c.cx = width;
    c.pszText = const_cast<wchar_t*>(header);
    c.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(column), LPARAM(&c));
}

static bool IsSelected(int index) {
    if (index < 0) return false;
    return (SendMessageW(List(), LVM_GETITEMSTATE, WPARAM(index), LVIS_SELECTED) & LVIS_SELECTED) !=
           0;
}

// The folder mark, 24 pixels at 100 %, at the window's scale.
void ScaleListImages() {
    HWND list = List();
    if (!list) return;
    int size = MulDiv(24, platform::WindowDpi(), 96);
    HIMAGELIST old = Win.listImages;
    Win.listImages = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 5, 0);
    HICON icon = HICON(LoadImageW(Win.instance, L"XFOLDER", IMAGE_ICON, size, size, 0));
    if (icon) ImageList_AddIcon(Win.listImages, icon), DestroyIcon(icon);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(Win.listImages));
    if (old) ImageList_Destroy(old);
}

LRESULT CALLBACK ResultsListKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS) ::OnListSetFocus();
    // A movement key the program answered itself never reaches the control.
    if (message == WM_KEYDOWN && ::OnListRawKeyDown(int(wParam))) return 0;
    // A Space the program acted on stays here: the control would select the
    // focused row again and say it over the program's answer.
    if (message == WM_KEYDOWN && wParam == VK_SPACE && ::OnListKeyDown(VK_SPACE)) return 0;
    return CallWindowProcW(Win.listProc, window, message, wParam, lParam);
}

} // namespace platform::win32

namespace platform {

using namespace win32;

void CreateResultList() {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA;
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 100, 100,
                                Win.main, HMENU(INT_PTR(ResultListId)), Win.instance, nullptr);
    GiveDefaultFont(list);
    double w = ClientWidth();
    InsertColumn(list, 0, L" Files", int(std::nearbyint((w - 20) / 2)));
    InsertColumn(list, 1, L" Folders", int(std::nearbyint((w - 40) / 2)));
    InsertColumn(list, 2, L" Date", 600);
    InsertColumn(list, 3, L" Size", 600);
    Win.listProc = WNDPROC(SetWindowLongPtrW(list, GWLP_WNDPROC, LONG_PTR(ResultsListKeyHandler)));
    ScaleListImages();
}

void ListSetItemCount(int count) {
    SendMessageW(List(), LVM_SETITEMCOUNT, WPARAM(count), 0);
}

int ListItemCount() {
    return int(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
}

void ListDeleteAllItems() {
    SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);
}

// Some list views find the selected item by asking every item in turn, which
// takes a second in a million rows; the item the control last reported as
// selected is checked first, in one step.
int ListSelectedIndex() {
    if (IsSelected(Win.selectedItem)) return Win.selectedItem;
    Win.selectedItem = int(SendMessageW(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    return Win.selectedItem;
}

// The control reports the change back as LVN_ITEMCHANGED, as for a key. The
// old item is let go first: some list views search every item for it.
void ListSelectItem(int index) {
    // Index -1 would mean every item to the control.
    if (index < 0 || index >= ListItemCount()) return;
    if (Win.selectedItem != index && IsSelected(Win.selectedItem)) {
        LVITEMW old{};
        old.stateMask = LVIS_SELECTED;
        SendMessageW(List(), LVM_SETITEMSTATE, WPARAM(Win.selectedItem), LPARAM(&old));
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, WPARAM(index), LPARAM(&item));
}

void ListEnsureVisible(int index) {
    SendMessageW(List(), LVM_ENSUREVISIBLE, WPARAM(index), FALSE);
}

int ListTopIndex() {
    return int(SendMessageW(List(), LVM_GETTOPINDEX, 0, 0));
}

void ListScrollBy(int dx, int dy) {
    SendMessageW(List(), LVM_SCROLL, WPARAM(dx), LPARAM(dy));
}

int ListItemHeight() {
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(List(), LVM_GETITEMRECT, 0, LPARAM(&r))) return 0;
    return r.bottom - r.top;
}

int ListRowsPerPage() {
    return std::max(1, int(SendMessageW(List(), LVM_GETCOUNTPERPAGE, 0, 0)));
}

void ListSetColumn(int column, const std::string& header, int width) {
    std::wstring text = Widen(header);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = text.data();
    c.cx = width;
    SendMessageW(List(), LVM_SETCOLUMNW, WPARAM(column), LPARAM(&c));
}

void ListSetColumnHeader(int column, const std::string& header) {
    std::wstring text = Widen(header);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = text.data();
    SendMessageW(List(), LVM_SETCOLUMNW, WPARAM(column), LPARAM(&c));
}

void ListAutoSizeColumn(int column) {
    SendMessageW(List(), LVM_SETCOLUMNWIDTH, WPARAM(column), LVSCW_AUTOSIZE_USEHEADER);
}

void ListSetExtendedStyles() {
    DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageW(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
}

void ListShowHeader(bool shown) {
    HWND list = List();
    if (!list) return;
    LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    LONG_PTR wanted = shown ? style & ~LONG_PTR(LVS_NOCOLUMNHEADER) : style | LVS_NOCOLUMNHEADER;
    if (wanted == style) return;
    SetWindowLongPtrW(list, GWL_STYLE, wanted);
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

} // namespace platform

namespace platform::win32 {

static RECT SubItemRect(HWND list, int index, int column, int part) {
    RECT r{};
    r.top = column;
    r.left = part;
    SendMessageW(list, LVM_GETSUBITEMRECT, WPARAM(index), LPARAM(&r));
    return r;
}

static void FillBox(HDC dc, RECT box, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

// A frame inside the row's edge, as thick as a stroke of its bold type, so the
// row stands apart from its neighbours even where the colours alone do not.
static void DrawFrame(HDC dc, RECT row, COLORREF colour) {
    int t = std::max(2, int(row.bottom - row.top) / 14);
    FillBox(dc, {row.left, row.top, row.right, row.top + t}, colour);
    FillBox(dc, {row.left, row.bottom - t, row.right, row.bottom}, colour);
    FillBox(dc, {row.left, row.top, row.left + t, row.bottom}, colour);
    FillBox(dc, {row.right - t, row.top, row.right, row.bottom}, colour);
}

// The selected row is drawn whole here: the system's highlight colours reach
// only about 3:1 against white text, and a list view lets a program change
// them for a row only in some versions.
static void DrawSelectedRow(HDC dc, int index) {
    HWND list = List();
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, WPARAM(index), LPARAM(&row))) return;
    FillBox(dc, row, Win.selectionBackground);
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageW(list, WM_GETFONT, 0, 0)));
    SetTextColor(dc, Win.selectionText);
    SetBkMode(dc, TRANSPARENT);
    int padding = MulDiv(6, WindowDpi(), 96);
    HWND header = HWND(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (RowIsFolder(index + 1) && Win.listImages) {
        RECT icon = SubItemRect(list, index, 0, LVIR_ICON);
        int size = 0, unused = 0;
        ImageList_GetIconSize(Win.listImages, &size, &unused);
        ImageList_Draw(Win.listImages, 0, dc, icon.left,
                       icon.top + (icon.bottom - icon.top - size) / 2, ILD_TRANSPARENT);
    }
    for (int c = 0; c < columns; ++c) {
        RECT cell = SubItemRect(list, index, c, LVIR_LABEL);
        cell.left += padding;
        cell.right -= padding;
        if (cell.right <= cell.left) continue;
        std::wstring text = Widen(CellText(index + 1, c + 1));
        DrawTextW(dc, text.c_str(), -1, &cell,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, oldFont);
    DrawFrame(dc, row, Win.selectionText);
}

LRESULT OnListCustomDraw(NMLVCUSTOMDRAW& draw) {
    if (!Win.selectionColorsSet) return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    int index = int(draw.nmcd.dwItemSpec);
    if (!IsSelected(index)) return CDRF_DODEFAULT;
    DrawSelectedRow(draw.nmcd.hdc, index);
    return CDRF_SKIPDEFAULT;
}

} // namespace platform::win32

namespace platform {

void ListSetSelectionColors(int foreground, int background) {
    win32::Win.selectionColorsSet = true;
    win32::Win.selectionText = COLORREF(foreground);
    win32::Win.selectionBackground = COLORREF(background);
    if (HWND list = win32::List()) InvalidateRect(list, nullptr, TRUE);
}

// As the selected row draws it: the list's font, inside the same padding.
bool ListCellShownWhole(int index, int column, const std::string& text) {
    HWND list = win32::List();
    if (!list || index < 0) return false;
    RECT cell = win32::SubItemRect(list, index, column, LVIR_LABEL);
    RECT client{};
    GetClientRect(list, &client);
    int padding = MulDiv(6, WindowDpi(), 96);
    int room = int(std::min(cell.right, client.right) - cell.left) - 2 * padding;
    if (cell.left < client.left || room <= 0) return false;
    std::wstring wide = win32::Widen(text);
    HDC dc = GetDC(list);
    HGDIOBJ oldFont = SelectObject(dc, HFONT(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
    return size.cx <= room;
}

} // namespace platform
