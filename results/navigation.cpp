#include "results/navigation.h"

#include "base/text.h"
#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "settings/search_type.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <algorithm>

namespace {

constexpr const char* NoSelection = "No Selection";

// The rows the list shows and the rows we hold agree, except for an instant
// while a new result is being put in; never read past either.
int LastRow() {
    return std::min(RowCount(), ResultRows.Count());
}

// Keys whose virtual-key code is the very character they type: letters,
// digits and Space. Any other code (arrows, F-keys, the number pad) would
// otherwise read as a punctuation mark or letter and move the selection.
bool TypesItsOwnCode(int virtualKey) {
    return virtualKey == VkSpace || (virtualKey >= '0' && virtualKey <= '9') ||
           (virtualKey >= 'A' && virtualKey <= 'Z');
}

bool StartsWith(std::string_view name, int virtualKey) {
    size_t pos = 0;
    if (name.empty()) return false;
    return LowerCodePoint(NextCodePoint(name, pos)) == LowerCodePoint(char32_t(virtualKey));
}

} // namespace

void SpeakColumn(int column) {
    int s = SelectedRow();
    if (s < 1) return SpeakText(NoSelection);
    std::string text = CellText(s, column);
    SpeakText(text == EmptyRowName ? "List is Empty" : text);
}

void SpeakLocation() {
    int s = SelectedRow();
    if (s < 1 || s > ResultRows.Count()) return SpeakText(NoSelection);
    std::string text = "Line" + NumberText(s) + " of " + NumberText(RowCount()) + " : ";
    if (Settings.SearchType != SettingsListType)
        text += ResultRows.IsFolder(s) ? "Folder : " : "File : ";
    SpeakText(text + std::string(ResultRows.Name(s)));
}

void JumpToNextFolder() {
    int s = SelectedRow();
    if (s < 1) return SpeakText(NoSelection);
    for (int row = s + 1; row <= LastRow(); ++row) {
        if (!ResultRows.IsFolder(row)) continue;
        SpeakTextAndWait("Folder Found");
        SelectRow(row);
        return;
    }
    SpeakText("Folder Not Found in List");
}

void FitColumns() {
    for (int column = 0; column < 4; ++column)
        platform::ListAutoSizeColumn(column);
}

void ScrollSelectionToTop() {
    int s = SelectedRow();
    if (s < 1) return SpeakText(NoSelection);
    SetTopRow(s - 1);
    platform::SetFocusTo(platform::ResultListId);
}

bool FirstLetterJump(int virtualKey) {
    if (!TypesItsOwnCode(virtualKey)) return false;
    for (int row = SelectedRow() + 1; row <= LastRow(); ++row) {
        if (!StartsWith(ResultRows.Name(row), virtualKey)) continue;
        SelectRow(row);
        return true;
    }
    return false;
}

void OnListSetFocus() {
    SpeakEcho("Results List has focus. " + ListEdgePrefix() + RowSpeech(SelectedRow()));
}

// Where the list control itself moves the selection for each of its keys
// (0-based items; -1 when it stays). Shift and Ctrl change nothing in a
// single-selection list. A page key stops at the edge of the rows shown
// first, then goes a page on, one row of the old page kept in view.
int ListMoveTarget(int virtualKey, int at, int count, int top, int perPage) {
    if (count <= 0) return -1;
    int to = -1;
    switch (virtualKey) {
    case VkUp:
        to = at - 1;
        break;
    case VkDown:
        to = at + 1;
        break;
    case VkHome:
        to = 0;
        break;
    case VkEnd:
        to = count - 1;
        break;
    case VkPrior:
        to = std::max(0, at == top ? top - perPage + 1 : top);
        break;
    case VkNext:
        to = std::min(count - 1, at == top + perPage - 1 ? at + perPage - 1 : top + perPage - 1);
        break;
    default:
        return -1;
    }
    return to >= 0 && to < count && to != at ? to : -1;
}

// The control's own moves take one to two seconds each in a million rows under
// Wine; the program's selection, as in the first-letter jump, a few
// milliseconds. What is selected, scrolled and spoken stays the same.
bool OnListRawKeyDown(int virtualKey) {
    if (virtualKey == VkShift) SpeakEcho("Shift");
    if (virtualKey == VkControl) SpeakEcho("Control");
    bool moveKey = virtualKey == VkUp || virtualKey == VkDown || virtualKey == VkHome ||
                   virtualKey == VkEnd || virtualKey == VkPrior || virtualKey == VkNext;
    if (!moveKey) return false;
    int to = ListMoveTarget(virtualKey, SelectedRow() - 1, RowCount(), platform::ListTopIndex(),
                            platform::ListRowsPerPage());
    if (to >= 0) SelectRow(to + 1);
    return true;
}

int SortDescending = 0;

void SortRows(int column) {
    SortDescending = SortDescending ? 0 : 1;
    SortResultRows(ResultRows, column, SortDescending != 0);
    SelectRow(1);
}

// Sorting selects row 1; when row 1 was selected already the control reports
// no change, so the status bar and the preview are brought up to date here,
// silently.
void OnListColumnClick(int column) {
    bool firstWasSelected = SelectedRow() == 1;
    SortRows(column);
    platform::RedrawControl(platform::ResultListId);
    if (firstWasSelected) ShowSelectedRow();
}

void ResetResultsState() {
    SortDescending = 0;
    CurrentFile.clear();
}
