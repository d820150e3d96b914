#include "app/layout.h"

#include "app/main_window.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "searchbox/status.h"
#include "settings/search_type.h"
#include "settings/settings.h"

#include <algorithm>

static int R(double value) {
    return int(RoundHalfEven(value));
}

LayoutResult ComputeLayout(int W, int H, int S, int T, int fontSize, bool showPreview,
                           int searchType, int n, const std::string& firstName, int dpi) {
    LayoutResult out;
    auto px = [dpi](int pixels) { return ScaledPixels(pixels, dpi); };
    double h = SearchBoxPixelsPerPoint * fontSize * ScaleFactor(dpi);
    double listHeight = H - T - h - S - px(10);
    double listTop = T + h + px(5);
    out.searchBox = {px(10), T, W - px(20), R(h)};
    out.list = {px(10), R(listTop), showPreview ? R(0.6 * W) : W - px(20), R(listHeight)};
    out.preview = {R(0.6 * W + px(20)), R(listTop), R(0.4 * W - px(30)), R(listHeight)};
    out.headers[0] = FirstColumnHeader(searchType, n, firstName);
    if (searchType == SettingsListType || searchType == ActionListType) {
        out.widths[0] = W;
        out.widths[1] = out.widths[2] = out.widths[3] = 0;
        return out;
    }
    out.headers[1] = " Path";
    out.headers[2] = " Date";
    out.headers[3] = " Size";
    out.widths[0] = R(W / 3.0 - px(30));
    out.widths[1] = R(W / 3.0 - px(30));
    out.widths[2] = R(2.0 * W / 9.0);
    out.widths[3] = R(W / 9.0 + px(60));
    return out;
}

// The room below the search box for the list and the status bar, less the
// list's borders and a horizontal scroll bar, which a vertical one brings.
static int ListAndStatusRoom(int H, int T, int fontSize, int dpi) {
    int searchBox = R(SearchBoxPixelsPerPoint * fontSize * ScaleFactor(dpi));
    return H - T - searchBox - ScaledPixels(10, dpi) - ScaledPixels(30, dpi);
}

bool ListKeepsHeader(int textHeight, int H, int T, int fontSize, int rowHeight, int dpi) {
    int room = ListAndStatusRoom(H, T, fontSize, dpi);
    return textHeight + ScaledPixels(8, dpi) <= room - 2 * rowHeight;
}

int StatusAreaHeight(int textHeight, int H, int T, int fontSize, int rowHeight, int dpi) {
    int room = ListAndStatusRoom(H, T, fontSize, dpi);
    // The header and two whole rows show where the row being read stands
    // among its neighbours; a text too long for the room they leave (a long
    // name, a very large font) takes the second row's room, then the
    // header's: reading the row whole matters more than its neighbour or a
    // header the spoken row already names.
    bool header = ListKeepsHeader(textHeight, H, T, fontSize, rowHeight, dpi);
    int most = room - (header ? 2 : 1) * rowHeight;
    return std::max(0, std::min(textHeight + ScaledPixels(8, dpi), most));
}

// Before the list has a row its height is not known; a bold line of the font
// is about this much of its size.
static int RowHeight(int dpi) {
    int measured = platform::ListItemHeight();
    return measured > 0 ? measured : R(1.4 * Settings.FontSize * dpi / 72.0);
}

static int WantedStatusHeight(int W, int H, int T, int dpi) {
    return StatusAreaHeight(platform::StatusBarTextHeight(W), H, T, Settings.FontSize,
                            RowHeight(dpi), dpi);
}

static bool WantedHeader(int W, int H, int T, int dpi) {
    return ListKeepsHeader(platform::StatusBarTextHeight(W), H, T, Settings.FontSize,
                           RowHeight(dpi), dpi);
}

// Before the first layout there is nothing to fit: that layout does it.
void FitStatusArea() {
    if (MainWindow.StatusHeight < 0) return;
    int dpi = platform::WindowDpi();
    int wanted =
        WantedStatusHeight(platform::ClientWidth(), platform::ClientHeight(), ToolbarHeight(), dpi);
    if (wanted != MainWindow.StatusHeight) LayoutWindow();
}

static void Place(int id, const ControlBox& box) {
    platform::MoveControl(id, box.x, box.y, box.width, box.height);
}

void LayoutWindow() {
    platform::ShowControl(platform::PreviewId, Settings.ShowPreview != 0);
    platform::ShowControl(platform::ToolbarId, Settings.ShowToolbar != 0);
    int n = ResultRows.Count();
    std::string first = n > 0 ? std::string(ResultRows.Name(1)) : std::string();
    int W = platform::ClientWidth(), H = platform::ClientHeight(), T = ToolbarHeight();
    int dpi = platform::WindowDpi();
    auto layout = [&] {
        LayoutResult l = ComputeLayout(W, H, platform::ControlHeight(platform::StatusBarId), T,
                                       Settings.FontSize, Settings.ShowPreview != 0,
                                       Settings.SearchType, n, first, dpi);
        Place(platform::SearchBoxId, l.searchBox);
        Place(platform::ResultListId, l.list);
        Place(platform::PreviewId, l.preview);
        for (int c = 0; c < 4; ++c)
            platform::ListSetColumn(c, l.headers[c], l.widths[c]);
    };
    // The columns' widths decide what the status bar repeats of the row, and
    // its text its height, which the list's height then follows.
    layout();
    int s = SelectedRow();
    if (MainWindow.StatusHeight >= 0 && s >= 1 && s <= n) PutStatusText(StatusTextFor(s));
    MainWindow.StatusHeight = WantedStatusHeight(W, H, T, dpi);
    platform::SetStatusBarHeight(MainWindow.StatusHeight);
    // Lines break elsewhere in a new width or font: the reader starts over.
    ShowStatusFromStart();
    platform::ListShowHeader(WantedHeader(W, H, T, dpi));
    layout();
    // A list grown shorter, or a font grown larger, may have pushed the row
    // being read past the list's edge.
    if (s >= 1) platform::ListEnsureVisible(s - 1);
    platform::RedrawControl(platform::ResultListId);
    platform::RedrawControl(platform::SearchBoxId);
    RefreshPreview();
}
