// WM_NOTIFY of the main window: tooltip requests, the toolbar's right click and
// the result list's notifications.
#include "backends/win32/win32.h"

#include "platform/events.h"
#include "platform/platform.h"

namespace platform::win32 {

// The program never fills the request: it shows or speaks through its own
// big tooltip instead, so the toolbar's built-in one stays empty.
static LRESULT OnTooltipRequestNote(const NMHDR& header) {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(const_cast<NMHDR&>(header));
    info.szText[0] = L'\0';
    info.lpszText = info.szText;
    ::OnTooltipRequest(int(header.idFrom));
    return 0;
}

static void AnswerCellText(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    int row = item.iItem + 1;
    if (item.mask & LVIF_TEXT) {
        Win.cellText = Widen(CellText(row, item.iSubItem + 1));
        item.pszText = Win.cellText.data();
    }
    // The one icon marks folder rows.
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
        item.iImage = RowIsFolder(row) ? 0 : I_IMAGENONE;
}

static LRESULT OnListNote(const NMHDR& header) {
    auto& h = const_cast<NMHDR&>(header);
    switch (header.code) {
    case LVN_GETDISPINFOW:
        AnswerCellText(reinterpret_cast<NMLVDISPINFOW&>(h));
        return 0;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (!(change.uChanged & LVIF_STATE) || !(change.uNewState & LVIS_SELECTED)) return 0;
        if (change.iItem >= 0) Win.selectedItem = change.iItem;
        OnListSelectionChanged();
        return 0;
    }
    case NM_CUSTOMDRAW:
        return OnListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(h));
    case LVN_KEYDOWN:
        return ::OnListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey) ? 1 : 0;
    case NM_DBLCLK:
        ::OnListDoubleClick();
        return 0;
    case LVN_COLUMNCLICK:
        ::OnListColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1);
        return 0;
    // The control's own type-ahead would move the selection again after the
    // program's first-letter jump; "not found" keeps it out of the way.
    case LVN_ODFINDITEMW:
        return -1;
    }
    return 0;
}

LRESULT OnNotify(const NMHDR& header) {
    if (header.code == TTN_GETDISPINFOW) return OnTooltipRequestNote(header);
    // Handled: otherwise the click goes on as a context menu request, which
    // would open the settings list while the search box has the focus.
    if (header.idFrom == UINT_PTR(ToolbarId) && header.code == NM_RCLICK) {
        ::OnToolbarRightClick(int(reinterpret_cast<const NMMOUSE&>(header).dwItemSpec));
        return 1;
    }
    if (header.idFrom == UINT_PTR(ResultListId)) return OnListNote(header);
    return 0;
}

} // namespace platform::win32
