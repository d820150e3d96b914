#include "results/navigation.h"

#include "app/events.h"
#include "app/text.h"
#include "actions/open_files.h"
#include "commands/help_lists.h"
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

void OnListRawKeyDown(int virtualKey) {
    if (virtualKey == VkShift) SpeakEcho("Shift");
    if (virtualKey == VkControl) SpeakEcho("Control");
}

bool OnListKeyDown(int virtualKey) {
    if (virtualKey == VkSpace && Settings.SearchType == SettingsListType) {
        ActivateSettingsRow();
        return true;
    }
    if (virtualKey == VkSpace && Settings.SearchType == ActionListType) {
        ActivateActionRow();
        return true;
    }
    // A key held with Control is a shortcut, not a letter typed.
    if ((platform::KeyState(VkControl) & 0x8000) != 0) return false;
    return FirstLetterJump(virtualKey);
}

void OnListDoubleClick() {
    OpenSelectedFile();
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
