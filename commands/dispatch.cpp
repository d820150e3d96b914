// What the main window does for each command: whether it beeps, who does the
// work and what the user hears.
#include "commands/dispatch.h"

#include "app/events.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "app/text.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "commands/catalogue.h"
#include "commands/command_ids.h"
#include "commands/help_mode.h"
#include "actions/copy_files.h"
#include "actions/open_files.h"
#include "actions/outside_programs.h"
#include "actions/update.h"
#include "commands/help_lists.h"
#include "preview/preview.h"
#include "printing/print_results.h"
#include "results/folder_expansion.h"
#include "searchbox/clipboard.h"
#include "speech/spelling.h"
#include "commands/toggles.h"
#include "platform/platform.h"
#include "results/navigation.h"
#include "search/run_search.h"
#include "settings/settings.h"
#include "speech/speech.h"
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
    Search(1);
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

enum Beeping : bool { NoBeep = false, Beeps = true };

struct HandOver {
    int id;
    Beeping beep;
    void (*action)();
};

const HandOver kHandOvers[] = {
    {CmdEnter, NoBeep, Activate},
    {CmdEscape, NoBeep, Escape},
    {CmdSearchForFiles, Beeps, [] { Search(1); }},
    {CmdSearchForFolders, Beeps, [] { Search(2); }},
    {CmdSearchAll, Beeps, [] { Search(3); }},
    {CmdCustomSearch, Beeps, [] { Search(4); }},
    {CmdChangeColors, Beeps,
     [] {
         CycleColorScheme();
         LayoutWindow();
     }},
    {CmdCopyFile, NoBeep, CopySelectedFile},
    {CmdOpenFile, Beeps, OpenSelectedFile},
    {CmdOpenFolder, Beeps, OpenSelectedFolder},
    {CmdExpandFolder, Beeps, ExpandFolder},
    {CmdExpandParentFolder, Beeps, ExpandParentFolder},
    {CmdSettingsList, Beeps, OpenSettingsList},
    {CmdPrint, Beeps, PrintResultList},
    {CmdPrintResults, Beeps, PrintResultList},
    {CmdExit, Beeps, platform::CloseMainWindow},
    {CmdNextMenu, NoBeep, NextToolbarPage},
    {CmdSelectAll, Beeps,
     [] {
         platform::SearchBoxSetSelection(0, -1);
         SpeakText("Select All");
     }},
    {CmdCopySearchTerm, Beeps, CopySearchTerm},
    {CmdCut, Beeps, CutSearchTerm},
    {CmdPaste, Beeps, PasteIntoSearchBox},
    {CmdClearSearchTerm, Beeps,
     [] {
         platform::SetSearchBoxText("");
         SpeakText("Search Term Cleared");
     }},
    {CmdSpeakName, NoBeep, [] { SpeakColumn(1); }},
    {CmdSpeakFolder, NoBeep, [] { SpeakColumn(2); }},
    {CmdSpeakDate, NoBeep, [] { SpeakColumn(3); }},
    {CmdSpeakFileSize, NoBeep, [] { SpeakColumn(4); }},
    {CmdSpeakSearchTerm, NoBeep, SpeakSearchTerm},
    {CmdSpellSearchTerm, NoBeep, SpellSearchTerm},
    {CmdSpellName, NoBeep, SpellFileName},
    {CmdIconSize, Beeps,
     [] {
         CycleIconSize();
         SpeakText("Icon Size is " + NumberText(Settings.IconSize));
     }},
    {CmdFitToContent, Beeps,
     [] {
         FitColumns();
         SpeakText("Columns Resized");
     }},
    {CmdExternalTool, Beeps, CycleExternalTool},
    {CmdDisplayActionsList, NoBeep, OpenActionList},
    {CmdOpenEverything, Beeps, OpenSearchEngineWindow},
    {CmdEnableToolTips, Beeps, CycleTooltipMode},
    {CmdUpdateLumafind, NoBeep, UpdateProgram},
    {CmdSpeechSpeed, NoBeep, CycleSpeechRate},
    {CmdJumpToFolders, NoBeep, JumpToNextFolder},
    {CmdSpeakLocation, NoBeep, SpeakLocation},
    {CmdIncreaseFontSize, NoBeep, [] { ResizeFont(+4); }},
    {CmdDecreaseFontSize, NoBeep, [] { ResizeFont(-4); }},
    {CmdCopyResults, NoBeep, CopyResultList},
    {CmdShowSettings, Beeps, ShowSettingsSummary},
    {CmdScrollSelectionToTop, Beeps, ScrollSelectionToTop},
    {CmdImageBGColor, Beeps, CycleImageBackground},
    {CmdMuteSpeakers, NoBeep, MuteSpeakers},
    {CmdLouder, NoBeep,
     [] {
         VolumeUp();
         SpeakText("Louder");
     }},
    {CmdSofter, NoBeep,
     [] {
         VolumeDown();
         SpeakText("Softer");
     }},
    {CmdDisableSpeech, NoBeep, ToggleDisableSpeech},
};

bool RunHandOver(int id) {
    for (const HandOver& command : kHandOvers) {
        if (command.id != id) continue;
        if (command.beep) CommandBeep();
        command.action();
        return true;
    }
    return false;
}

} // namespace

void DispatchCommand(int id, int code) {
    if (code == 1) {
        ShortcutText(id);
        if (Settings.SpeakShortcuts > 0) AnnounceShortcut(id);
    }
    // The preview control also reports other notifications under its id.
    if (id == CmdPreviewClick) {
        if (code == 0) TogglePreviewResize();
        return;
    }
    if (RunSettingToggle(id) || RunSettingCycle(id)) return;
    RunHandOver(id);
}

void OnCommand(int id, int code) {
    DispatchCommand(id, code);
}
