#include "app/layout.h"

#include "app/text.h"
#include "appearance/toolbar.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "search/result_rows.h"
#include "settings/search_type.h"
#include "settings/settings.h"

static int R(double value) {
    return int(RoundHalfEven(value));
}

std::string FirstColumnHeader(int searchType, int n, std::string_view firstName) {
    if (searchType == SettingsListType) return "Settings Shortcuts";
    if (searchType == ActionListType) return "Action Shortcuts";
    if (firstName == LoadingRowName) return "Name";
    return " Name  (" + (firstName == EmptyRowName ? std::string("0") : GroupedNumber(n)) + ")";
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

static void Place(int id, const ControlBox& box) {
    platform::MoveControl(id, box.x, box.y, box.width, box.height);
}

void LayoutWindow() {
    platform::ShowControl(platform::PreviewId, Settings.ShowPreview != 0);
    platform::ShowControl(platform::ToolbarId, Settings.ShowToolbar != 0);
    int n = ResultRows.Count();
    std::string first = n > 0 ? std::string(ResultRows.Name(1)) : std::string();
    LayoutResult l = ComputeLayout(platform::ClientWidth(), platform::ClientHeight(),
                                   platform::ControlHeight(platform::StatusBarId), ToolbarHeight(),
                                   Settings.FontSize, Settings.ShowPreview != 0,
                                   Settings.SearchType, n, first, platform::WindowDpi());
    Place(platform::SearchBoxId, l.searchBox);
    Place(platform::ResultListId, l.list);
    Place(platform::PreviewId, l.preview);
    for (int c = 0; c < 4; ++c)
        platform::ListSetColumn(c, l.headers[c], l.widths[c]);
    platform::RedrawControl(platform::ResultListId);
    platform::RedrawControl(platform::SearchBoxId);
    RefreshPreview();
}
