#include "commands/command_table.h"

#include "actions/copy_files.h"
#include "actions/open_files.h"
#include "actions/outside_programs.h"
#include "actions/update.h"
#include "app/layout.h"
#include "app/text.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "commands/help_lists.h"
#include "commands/help_mode.h"
#include "commands/toggles.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "printing/print_results.h"
#include "results/folder_expansion.h"
#include "results/navigation.h"
#include "search/run_search.h"
#include "searchbox/clipboard.h"
#include "settings/settings.h"
#include "speech/speech.h"
#include "speech/spelling.h"
#include "speech/voice_controls.h"

namespace {

void Search(int searchType) {
    Settings.SearchType = searchType;
    RunSearch();
}

// Enter: act on the list's row when the list has the focus, otherwise search
// for files whatever the list shows.
void Activate() {
    if (platform::FocusedControl() == platform::ResultListId) {
        if (Settings.SearchType == SettingsListType)
            ActivateSettingsRow();
        else if (Settings.SearchType == ActionListType)
            ActivateActionRow();
        else
            OpenSelectedFile();
        return;
    }
    platform::SetFocusTo(platform::SearchBoxId);
    Search(Files);
}

// Esc: silence first, then leave help mode, and only then close.
void Escape() {
    if (platform::VoiceIsSpeaking())
        StopSpeech();
    else if (InHelpMode())
        ReturnToLastResult();
    else
        platform::CloseMainWindow();
}

void SpeakSearchTerm() {
    Settings.SearchTerm = CutToCharacters(platform::SearchBoxText(), SettingTextLimit);
    // A blank term would be silence, which the user cannot tell from a dead key.
    bool blank = TrimBlanks(Settings.SearchTerm).empty();
    SpeakText(blank ? std::string("Empty") : Settings.SearchTerm);
}

void ResizeFont(int delta) {
    ChangeFontSize(delta);
    ApplyColors();
    LayoutWindow();
}

constexpr uint16_t F(int n) {
    return uint16_t(VkF1 + n - 1);
}

// Some shortcut texts carry a double blank beside "::"; they are stored as they
// are spoken and trimmed when split.
const CommandRow kCommands[] = {
    {CmdEscape, nullptr, PlainKey, VkEscape, NoBeep, Escape},
    {CmdDisplayActionsList, "Display Actions List :: F2", PlainKey, F(2), NoBeep, OpenActionList},
    {CmdOpenEverything, "Open Everything :: F3", PlainKey, F(3), Beeps, OpenSearchEngineWindow},
    {CmdClearSearchTerm, "Clear Search Term :: F4", PlainKey, F(4), Beeps,
     [] {
         platform::SetSearchBoxText("");
         SpeakText("Search Term Cleared");
     }},
    {CmdExpandParentFolder, "Expand Parent Folder :: F5", PlainKey, F(5), Beeps,
     ExpandParentFolder},
    {CmdLouder, "Louder :: F6", PlainKey, F(6), NoBeep,
     [] {
         VolumeUp();
         SpeakText("Louder");
     }},
    {CmdSofter, "Softer :: F7", PlainKey, F(7), NoBeep,
     [] {
         VolumeDown();
         SpeakText("Softer");
     }},
    {CmdMuteSpeakers, "Mute Speakers :: F8", PlainKey, F(8), NoBeep, MuteSpeakers},
    {CmdDisableSpeech, "Disable Speech :: F9", PlainKey, F(9), NoBeep, ToggleDisableSpeech},
    {CmdUseIgnoreList, "Use Ignore List :: F10", PlainKey, F(10), NoBeep, nullptr},
    {CmdSelectAll, "Select All  :: C-A", CtrlKey, 'A', Beeps,
     [] {
         platform::SearchBoxSetSelection(0, -1);
         SpeakText("Select All");
     }},
    {CmdHideToolbarText, "Hide Toolbar Text :: C-B", CtrlKey, 'B', NoBeep, nullptr},
    {CmdCopySearchTerm, "Copy Search Term :: C-C", CtrlKey, 'C', Beeps, CopySearchTerm},
    {CmdCopyFile,
     "Copy File :: C-D",
     CtrlKey,
     'D',
     NoBeep,
     CopySelectedFile,
     {8, " Copy ", " Copy File "}},
    {CmdIconSize, "Icon Size :: C-E", CtrlKey, 'E', Beeps,
     [] {
         CycleIconSize();
         LayoutWindow();
         SpeakText("Icon Size is " + NumberText(Settings.IconSize));
     }},
    {CmdSearchForFiles,
     "Search for Files :: C-F",
     CtrlKey,
     'F',
     Beeps,
     [] { Search(Files); },
     {9, " Files ", " Search Files "}},
    {CmdSearchForFolders,
     "Search for Folders :: C-G",
     CtrlKey,
     'G',
     Beeps,
     [] { Search(Folders); },
     {10, " Folders ", " Search Folders "}},
    {CmdSearchAll,
     "Search All :: C-H",
     CtrlKey,
     'H',
     Beeps,
     [] { Search(Both); },
     {11, " Both ", " Search Both "}},
    {CmdCustomSearch,
     "Custom Search ::  C-I",
     CtrlKey,
     'I',
     Beeps,
     [] { Search(Custom); },
     {12, " Custom ", " Search Custom "}},
    {CmdOpenFile,
     "Open File :: C-J",
     CtrlKey,
     'J',
     Beeps,
     OpenSelectedFile,
     {4, " Open ", " Open Name "}},
    {CmdOpenFolder,
     "Open Folder :: C-K",
     CtrlKey,
     'K',
     Beeps,
     OpenSelectedFolder,
     {5, " Open ", " Open Folder "}},
    {CmdSpeakSearchTerm, "Speak Search Term :: C-L", CtrlKey, 'L', NoBeep, SpeakSearchTerm},
    {CmdSpellSearchTerm, "Spell Search Term :: C-M", CtrlKey, 'M', NoBeep, SpellSearchTerm},
    {CmdSpeakLetters, "Speak Letters :: C-N", CtrlKey, 'N', NoBeep, nullptr},
    {CmdUpdateLumafind, "Update Lumafind :: C-O", CtrlKey, 'O', NoBeep, UpdateProgram},
    {CmdPrintResults, "Print Results ::  C-P", CtrlKey, 'P', Beeps, PrintResultList},
    {CmdExcludeSystemFolders, "Exclude System Folders :: C-Q", CtrlKey, 'Q', NoBeep, nullptr},
    {CmdFitToContent, "Fit To Content :: C-R", CtrlKey, 'R', Beeps,
     [] {
         FitColumns();
         SpeakText("Columns Resized");
     }},
    {CmdExpandFolder,
     "Expand Folder :: C-S",
     CtrlKey,
     'S',
     Beeps,
     ExpandFolder,
     {13, " Expand ", " Expand Folder "}},
    {CmdMaxResults, "Max Results :: C-T", CtrlKey, 'T', NoBeep, nullptr},
    {CmdSearchSortType, "Search Sort Type :: C-U", CtrlKey, 'U', NoBeep, nullptr},
    {CmdPaste, "Paste :: C-V", CtrlKey, 'V', Beeps, PasteIntoSearchBox},
    {CmdShowToolbar, "Show Toolbar :: C-W", CtrlKey, 'W', NoBeep, nullptr},
    {CmdCut, "Cut :: C-X", CtrlKey, 'X', Beeps, CutSearchTerm},
    {CmdChangeColors,
     "Change Colors :: C-Y",
     CtrlKey,
     'Y',
     Beeps,
     [] {
         CycleColorScheme();
         LayoutWindow();
     },
     {6, " Color ", " Color "}},
    {CmdSpellName, "Spell Name :: C-Z", CtrlKey, 'Z', NoBeep, SpellFileName},
    {CmdSpeakName, "Speak Name :: C-1", CtrlKey, '1', NoBeep, [] { SpeakColumn(1); }},
    {CmdSpeakFolder, "Speak Folder :: C-2", CtrlKey, '2', NoBeep, [] { SpeakColumn(2); }},
    {CmdSpeakDate, "Speak Date :: C-3", CtrlKey, '3', NoBeep, [] { SpeakColumn(3); }},
    {CmdSpeakFileSize, "Speak File Size :: C-4", CtrlKey, '4', NoBeep, [] { SpeakColumn(4); }},
    {CmdFolderShortPath, "Folder Short Path :: C-5", CtrlKey, '5', NoBeep, nullptr},
    {CmdEnableToolTips, "Enable Tool Tips :: C-6", CtrlKey, '6', Beeps, CycleTooltipMode},
    {CmdShowTimeInDate, "Show Time in Date :: C-7", CtrlKey, '7', NoBeep, nullptr},
    {CmdSpeechSpeed, "Speech Speed :: C-8", CtrlKey, '8', NoBeep, CycleSpeechRate},
    {CmdJumpToFolders, "Jump To Folders in List :: C-9", CtrlKey, '9', NoBeep, JumpToNextFolder},
    {CmdSpeakLocation, "Speak Location :: C-0", CtrlKey, '0', NoBeep, SpeakLocation},
    {CmdPreview,
     "Preview :: CS-A",
     CtrlShiftKey,
     'A',
     NoBeep,
     nullptr,
     {16, " Preview ", " Preview Images "}},
    {CmdExternalTool, "External Tool :: CS-B", CtrlShiftKey, 'B', Beeps, CycleExternalTool},
    {CmdCopyResults, "Copy Results :: CS-C", CtrlShiftKey, 'C', NoBeep, CopyResultList},
    {CmdShowSettings, "Show Settings :: CS-D", CtrlShiftKey, 'D', Beeps, ShowSettingsSummary},
    {CmdMaxPrintLines, "MaxPrintLines :: CS-E", CtrlShiftKey, 'E', NoBeep, nullptr},
    {CmdFocusOnSearchTerm, "Focus On Search Term :: CS-F", CtrlShiftKey, 'F', NoBeep, nullptr},
    {CmdToolbarHover, "Toolbar Hover :: CS-H", CtrlShiftKey, 'H', NoBeep, nullptr},
    {CmdImageBGColor, "Image BG Color :: CS-I", CtrlShiftKey, 'I', Beeps, CycleImageBackground},
    {CmdFormatAsKB, "Format as KB :: CS-K", CtrlShiftKey, 'K', NoBeep, nullptr},
    {CmdIncreaseFontSize, "Increase Font Size :: CS-L", CtrlShiftKey, 'L', NoBeep,
     [] { ResizeFont(+4); }},
    {CmdDecreaseFontSize, "Decrease Font Size :: CS-M", CtrlShiftKey, 'M', NoBeep,
     [] { ResizeFont(-4); }},
    {CmdNextMenu, "Next Menu :: CS-N", CtrlShiftKey, 'N', NoBeep, NextToolbarPage},
    {CmdVisualPrintFont, "Visual Print Font :: CS-P", CtrlShiftKey, 'P', NoBeep, nullptr},
    {CmdPreviewResize, "Preview Resize :: CS-R", CtrlShiftKey, 'R', NoBeep, nullptr},
    {CmdSpeakShortcuts, "Speak Shortcuts :: CS-S", CtrlShiftKey, 'S', NoBeep, nullptr},
    {CmdIncludeShortcutKey, "Include Shortcut Key :: CS-T", CtrlShiftKey, 'T', NoBeep, nullptr},
    {CmdSpeakMinimalKey, "Speak Minimal Key :: CS-U", CtrlShiftKey, 'U', NoBeep, nullptr},
    {CmdWideToolbar, "Wide Toolbar ::  CS-W", CtrlShiftKey, 'W', NoBeep, nullptr},
    {CmdScrollSelectionToTop, nullptr, CtrlShiftKey, 'Y', Beeps, ScrollSelectionToTop},
    // Sent by the dialog manager, buttons, the preview and the lists only.
    {CmdEnter, nullptr, 0, 0, NoBeep, Activate},
    {CmdPreviewClick, nullptr, 0, 0, NoBeep, TogglePreviewResize},
    {CmdSettingsList, nullptr, 0, 0, Beeps, OpenSettingsList, {20, " Settings ", " Help "}},
    {CmdPrint, nullptr, 0, 0, Beeps, PrintResultList, {15, " Print ", " Print Result List "}},
    {CmdExit, nullptr, 0, 0, Beeps, platform::CloseMainWindow, {1, " Exit ", " Exit "}},
};

} // namespace

std::span<const CommandRow> CommandTable() {
    return kCommands;
}

const CommandRow* FindCommand(int id) {
    for (const CommandRow& row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}
