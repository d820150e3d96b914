#include "commands/help_lists.h"

#include "command_table/command_table.h"
#include "commands/toggles.h"
#include "platform/platform.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "searchbox/status.h"
#include "settings/search_type.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <iterator>
#include <utility>

namespace {

constexpr const char* NoRowSelected = "No selection"; // lower-case s, as it has always been
constexpr const char* RefusedHere = "Not available when Shortcuts are displayed";

using Act = ActionRowUse;

struct ActionRow {
    int command; // its name and key come from the command list
    Act act = Act::Run;
};

// Rows 1 and 2 are the window's own help keys, F1 and Ctrl+F1, which are no
// commands of the list.
const ActionRow kActionRows[] = {
    {0, Act::SettingsList},
    {0, Act::OnlineHelp},
    {CmdDisplayActionsList, Act::ActionList},
    {CmdOpenEverything},
    {CmdCopyFile},
    {CmdSearchForFiles},
    {CmdSearchForFolders},
    {CmdSearchAll},
    {CmdCustomSearch},
    // The rows below act on a result row, and this list has none.
    {CmdOpenFile, Act::Refuse},
    {CmdOpenFolder, Act::Refuse},
    {CmdSpeakSearchTerm},
    {CmdSpellSearchTerm},
    {CmdUpdateLumafind},
    {CmdPrintResults},
    {CmdFitToContent},
    {CmdExpandFolder},
    {CmdSpellName, Act::Refuse},
    {CmdSpeakName, Act::Refuse},
    {CmdSpeakFolder, Act::Refuse},
    {CmdSpeakDate, Act::Refuse},
    {CmdSpeakFileSize, Act::Refuse},
    {CmdJumpToFolders, Act::Refuse},
    {CmdSpeakLocation},
    {CmdClearSearchTerm},
    {CmdExpandParentFolder},
    {CmdLouder},
    {CmdSofter},
    {CmdMuteSpeakers},
    {CmdDisableSpeech},
    {CmdCopyResults},
    {CmdShowSettings},
    {CmdNextMenu},
    {CmdScrollSelectionToTop},
    {CmdNextStatusPage},
};

const int kSettingsRows[] = {
    CmdHideToolbarText, CmdIconSize,       CmdSpeakLetters,       CmdExcludeSystemFolders,
    CmdMaxResults,      CmdSearchSortType, CmdShowToolbar,        CmdChangeColors,
    CmdFolderShortPath, CmdEnableToolTips, CmdShowTimeInDate,     CmdSpeechSpeed,
    CmdDisableSpeech,   CmdUseIgnoreList,  CmdExternalTool,       CmdFocusOnSearchTerm,
    CmdToolbarHover,    CmdFormatAsKB,     CmdVisualPrintFont,    CmdMaxPrintLines,
    CmdPreview,         CmdSpeakShortcuts, CmdIncreaseFontSize,   CmdDecreaseFontSize,
    CmdPreviewResize,   CmdImageBGColor,   CmdIncludeShortcutKey, CmdSpeakMinimalKey,
    CmdWideToolbar,
};

std::string Numbered(int n, const std::string& text) {
    return std::to_string(n) + " " + text;
}

std::string ActionRowText(int n) {
    const ActionRow& row = kActionRows[n - 1];
    if (row.act == Act::OnlineHelp || row.act == Act::SettingsList) {
        const WindowKey& key = row.act == Act::OnlineHelp ? HelpPageKey : SettingsListKey;
        return Numbered(n, std::string(key.listName) + " - " + key.key);
    }
    const CommandRow& command = *FindCommand(row.command);
    return Numbered(n, std::string(command.listName) + " - " + KeyLabel(command));
}

// The label ends in a blank so that the value follows it; the Ctrl+Shift keys
// are long enough without a second one.
std::string SettingsRowText(int n) {
    const CommandRow& command = *FindCommand(kSettingsRows[n - 1]);
    bool shifted = (command.keyFlags & CtrlShiftKey) == CtrlShiftKey;
    return Numbered(n, std::string(command.listName) + " - " + KeyLabel(command) +
                           (shifted ? " - " : "  - ") + SettingValueText(command.id));
}

void ShowRows(const std::vector<std::string>& texts) {
    platform::ListDeleteAllItems();
    ResultRows.Clear();
    for (const std::string& text : texts)
        ResultRows.Add("", "", "", text, false);
    ShowRowCount();
    // The list's focus words go first, so that the opening announcement rides
    // on the first row, the last thing said, and is not cut off by them.
    std::string announcement = std::exchange(SpeechPrefix, std::string());
    platform::SetFocusTo(platform::ResultListId);
    SpeechPrefix = announcement + SpeechPrefix;
    SelectRow(1);
}

// The selected row of the list now shown, or 0 when none is.
int SelectedListRow(int rows) {
    int s = SelectedRow();
    return s >= 1 && s <= rows && s <= ResultRows.Count() ? s : 0;
}

int RowOf(int command) {
    for (int n = 1; n <= int(std::size(kSettingsRows)); ++n)
        if (kSettingsRows[n - 1] == command) return n;
    return 0;
}

int TwinRow(int n) {
    int command = kSettingsRows[n - 1];
    return command == CmdIncreaseFontSize   ? RowOf(CmdDecreaseFontSize)
           : command == CmdDecreaseFontSize ? RowOf(CmdIncreaseFontSize)
                                            : 0;
}

void RewriteRow(int n, const std::string& text) {
    std::vector<std::string> names;
    for (int row = 1; row <= ResultRows.Count(); ++row)
        names.emplace_back(row == n ? text : std::string(ResultRows.Name(row)));
    ResultRows.Clear();
    for (const std::string& name : names)
        ResultRows.Add("", "", "", name, false);
}

} // namespace

std::vector<std::string> ActionListRows() {
    std::vector<std::string> rows;
    for (int n = 1; n <= int(std::size(kActionRows)); ++n)
        rows.push_back(ActionRowText(n));
    return rows;
}

std::vector<std::string> SettingsListRows() {
    std::vector<std::string> rows;
    for (int n = 1; n <= int(std::size(kSettingsRows)); ++n)
        rows.push_back(SettingsRowText(n));
    return rows;
}

void ShowSettingsList() {
    ShowRows(SettingsListRows());
}

void ShowActionList() {
    ShowRows(ActionListRows());
}

ActionRowUse UseActionRow() {
    int n = SelectedListRow(int(std::size(kActionRows)));
    if (n == 0) {
        SpeakText(NoRowSelected);
        return Act::Refuse;
    }
    const ActionRow& row = kActionRows[n - 1];
    if (row.act == Act::Run) RunCommand(row.command);
    if (row.act == Act::Refuse) SpeakText(RefusedHere);
    return row.act;
}

void ActivateSettingsRow() {
    int n = SelectedListRow(int(std::size(kSettingsRows)));
    if (n == 0) return SpeakText(NoRowSelected);
    RunCommand(kSettingsRows[n - 1]);
    RefreshSettingsRow(n);
    // Two rows show the font size: neither may be left showing the old one.
    int twin = TwinRow(n);
    if (twin != 0) RefreshSettingsRow(twin);
}

void RefreshSettingsRows() {
    if (Settings.SearchType != SettingsListType) return;
    int rows = std::min(int(std::size(kSettingsRows)), ResultRows.Count());
    for (int n = 1; n <= rows; ++n)
        RewriteRow(n, SettingsRowText(n));
    ShowSelectedRow();
    ShowSettingsSummary();
    platform::RedrawControl(platform::ResultListId);
}

void RefreshSettingsRow(int n) {
    if (Settings.SearchType != SettingsListType) return;
    if (n < 1 || n > int(std::size(kSettingsRows)) || n > ResultRows.Count()) return;
    RewriteRow(n, SettingsRowText(n));
    if (n == SelectedRow()) ShowSelectedRow(); // the status bar shows the row too
    ShowSettingsSummary();
    platform::RedrawControl(platform::ResultListId);
}
