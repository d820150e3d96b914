// The owner-data result list: count, selection, top row and columns.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

// ---- Result list
void ListSetItemCount(int count) {
    TheWorld().itemCount = count;
    TheWorld().events.push_back("count: " + std::to_string(count));
    if (TheWorld().selected >= count) TheWorld().selected = -1;
}

int ListItemCount() {
    return TheWorld().itemCount;
}

void ListDeleteAllItems() {
    TheWorld().itemCount = 0;
    TheWorld().selected = -1;
    TheWorld().topIndex = 0;
}

int ListSelectedIndex() {
    return TheWorld().selected;
}

void ListSelectItem(int index) {
    testing::World& w = TheWorld();
    if (index < 0 || index >= w.itemCount || index == w.selected) return;
    w.selected = index;
    OnListSelectionChanged();
}

void ListEnsureVisible(int index) {
    testing::World& w = TheWorld();
    int visible = std::max(1, w.controls[ResultListId].height / w.itemHeight);
    if (index < w.topIndex)
        w.topIndex = index;
    else if (index >= w.topIndex + visible)
        w.topIndex = index - visible + 1;
}

int ListTopIndex() {
    return TheWorld().topIndex;
}

void ListScrollBy(int, int dy) {
    testing::World& w = TheWorld();
    w.topIndex = std::clamp(w.topIndex + dy / w.itemHeight, 0, std::max(0, w.itemCount - 1));
}

int ListItemHeight() {
    return TheWorld().itemHeight;
}

int ListRowsPerPage() {
    testing::World& w = TheWorld();
    return std::max(1, w.controls[ResultListId].height / w.itemHeight);
}

void ListSetColumn(int column, const std::string& header, int width) {
    TheWorld().columns[column] = {header, width};
}

void ListSetColumnHeader(int column, const std::string& header) {
    TheWorld().columns[column].header = header;
    TheWorld().events.push_back("header: " + header);
}

void ListAutoSizeColumn(int) {}

void ListSetExtendedStyles() {
    TheWorld().extendedStyles = true;
}

void ListShowHeader(bool shown) {
    TheWorld().headerShown = shown;
}

void ListSetSelectionColors(int foreground, int background) {
    TheWorld().selectionColors = {foreground, background};
}

// Characters 3/5 of the list font's size wide, as the status bar measures
// them, inside 6 pixels each side of the cell; the columns from the left edge.
bool ListCellShownWhole(int index, int column, const std::string& text) {
    testing::World& w = TheWorld();
    if (index < 0 || index >= w.itemCount || column < 0 || column > 3) return false;
    auto font = w.fonts.find(ResultListId);
    int points = font != w.fonts.end() ? font->second.second : 14;
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += w.columns[c].width;
    int right = std::min(left + w.columns[column].width, w.controls[ResultListId].width);
    int characters =
        int(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    return characters * (points * w.dpi / 72 * 3 / 5) <= right - left - 12;
}

} // namespace platform
