#include "results/result_list.h"

#include "base/text.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "search/result_rows.h"
#include "settings/search_type.h"
#include "searchbox/status.h"
#include "settings/settings.h"
#include "speech/speech.h"
#include "speech/spelling.h"

std::string CurrentFile;

int SelectedRow() {
    return platform::ListSelectedIndex() + 1;
}
int RowCount() {
    return platform::ListItemCount();
}

void SelectRow(int row) {
    platform::ListSelectItem(row - 1);
    platform::ListEnsureVisible(row - 1);
}

std::string FirstColumnHeader(int searchType, int n, std::string_view firstName) {
    if (searchType == SettingsListType) return "Settings Shortcuts";
    if (searchType == ActionListType) return "Action Shortcuts";
    if (firstName == LoadingRowName) return "Name";
    return " Name  (" + (firstName == EmptyRowName ? std::string("0") : GroupedNumber(n)) + ")";
}

void ShowRowCount() {
    int n = ResultRows.Count();
    platform::ListSetItemCount(n);
    std::string first = n > 0 ? std::string(ResultRows.Name(1)) : std::string();
    platform::ListSetColumnHeader(0, FirstColumnHeader(Settings.SearchType, n, first));
}

void ShowResultRows() {
    platform::ListSetExtendedStyles();
    ShowRowCount();
    SelectRow(1);
    platform::SetFocusTo(platform::ResultListId);
}

void ShowLoading() {
    ResultRows.Clear();
    ResultRows.Add("", "", "", LoadingRowName, false);
    ShowRowCount();
    SelectRow(1);
    platform::RedrawControl(platform::ResultListId);
}

static bool IsPlaceholder(std::string_view name) {
    return name == EmptyRowName || name == LoadingRowName;
}

bool RowIsFolder(int row) {
    return row >= 1 && row <= ResultRows.Count() && ResultRows.IsFolder(row);
}

std::string CellText(int row, int column) {
    if (row < 1 || row > ResultRows.Count()) return {};
    bool folder = ResultRows.IsFolder(row);
    switch (column) {
    case 1:
        return (folder ? "(f) " : "") + std::string(ResultRows.Name(row));
    case 2:
        return Settings.ShortPath != 0 ? ShortFolderPath(std::string(ResultRows.Path(row)))
                                       : std::string(ResultRows.Path(row));
    case 3: {
        std::string_view date = ResultRows.Date(row);
        return std::string(Settings.EnableTime != 0 ? date : date.substr(0, date.find(' ')));
    }
    case 4:
        if (folder || IsPlaceholder(ResultRows.Name(row))) return {};
        return FormatSize(row);
    }
    return {};
}

std::string ListEdgePrefix() {
    int s = SelectedRow();
    std::string prefix;
    if (s == 1) prefix = "Top of List : ";
    if (s == RowCount()) prefix = "Bottom of List : ";
    return prefix;
}

std::string RowSpeech(int row) {
    if (row < 1 || row > ResultRows.Count()) return {};
    return (ResultRows.IsFolder(row) ? "Folder : " : "") + std::string(ResultRows.Name(row));
}

// The date or size the list's column already shows whole is left out: the
// status bar's lines are taken from the list's rows.
static bool ShownWholeInList(int row, int column, std::string_view value) {
    std::string cell = CellText(row, column + 1);
    return !cell.empty() && cell == value && platform::ListCellShownWhole(row - 1, column, cell);
}

std::string StatusTextFor(int row) {
    if (row < 1 || row > ResultRows.Count()) return {};
    std::string date(TrimBlanks(ResultRows.Date(row))), size(TrimBlanks(ResultRows.Size(row)));
    std::string text = "  " + std::to_string(row) + "  " + std::string(ResultRows.Name(row));
    if (!ShownWholeInList(row, 2, date)) text += "  " + date;
    if (!ShownWholeInList(row, 3, FormatSize(row))) text += "  " + size;
    return text + "  " + std::string(ResultRows.Path(row));
}

void ShowSelectedRow() {
    int s = SelectedRow();
    if (s < 1 || s > ResultRows.Count()) return;
    SetStatusText(StatusTextFor(s));
    CurrentFile = ResultRows.FullName(s); // whole: a cut path would name another file
    RefreshPreview();
}

// The row is spoken before the preview pane is cleared and painted, which
// under load takes a share of the time from key to speech.
void OnListSelectionChanged() {
    int s = SelectedRow();
    if (s < 1 || s > ResultRows.Count()) return;
    SetStatusText(StatusTextFor(s));
    CurrentFile = ResultRows.FullName(s);
    SpeakEcho(ListEdgePrefix() + RowSpeech(s));
    RefreshPreview();
}

void SetTopRow(int n) {
    int h = platform::ListItemHeight();
    int t = platform::ListTopIndex();
    platform::ListScrollBy(0, (n - t) * h);
}

void ResetResultRows() {
    ResultRows.Clear();
    ResultRows.Add("", "", "", EmptyRowName, false);
    ShowRowCount();
    SelectRow(1);
}

void SpellFileName() {
    SpeakText("Spelling File Name: " + SpellingOf(CellText(SelectedRow(), 1)));
}
