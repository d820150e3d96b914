// What the main window does for each command: the shortcut announcement, the
// beep, then the setting toggle or the handler the command list names.
#include "commands/dispatch.h"

#include "actions/copy_files.h"
#include "actions/open_files.h"
#include "actions/outside_programs.h"
#include "actions/update.h"
#include "app/layout.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "commands/catalogue.h"
#include "command_table/command_table.h"
#include "commands/help_lists.h"
#include "commands/help_mode.h"
#include "commands/toggles.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "printing/print_results.h"
#include "results/folder_expansion.h"
#include "results/navigation.h"
#include "results/result_list.h"
#include "search/run_search.h"
#include "searchbox/clipboard.h"
#include "searchbox/status.h"
#include "settings/settings.h"
#include "speech/beep.h"
#include "speech/speech.h"
#include "speech/spelling.h"
#include "speech/voice_controls.h"

namespace {

void Search(SearchType searchType) {
    Settings.SearchType = searchType;
    RunSearch();
}
void SearchFiles() {
    Search(Files);
}
void SearchFolders() {
    Search(Folders);
}
void SearchBoth() {
    Search(Both);
}
void SearchCustom() {
    Search(Custom);
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
    SearchFiles();
}

// Esc: silence first, then leave help mode, and only then close. It is
// announced by what it is about to do, so each of the three has its name.
enum class EscapeAct { StopSpeech, LeaveHelp, Close };
constexpr const char* EscapeShortcuts[] = {"Stop Speech :: Esc", "Back to Results :: Esc",
                                           "Exit Lumafind :: Esc"};

EscapeAct WhatEscapeDoes() {
    if (platform::VoiceIsSpeaking()) return EscapeAct::StopSpeech;
    if (InHelpMode()) return EscapeAct::LeaveHelp;
    return EscapeAct::Close;
}

void Escape() {
    switch (WhatEscapeDoes()) {
    case EscapeAct::StopSpeech:
        return StopSpeech();
    case EscapeAct::LeaveHelp:
        return ReturnToLastResult();
    case EscapeAct::Close:
        return platform::CloseMainWindow();
    }
}

void SpeakSearchTerm() {
    Settings.SearchTerm = CutToCharacters(platform::SearchBoxText(), SettingTextLimit);
    // A blank term would be silence, which the user cannot tell from a dead key.
    bool blank = TrimBlanks(Settings.SearchTerm).empty();
    SpeakText(blank ? std::string("Empty") : Settings.SearchTerm);
}

void ClearSearchTerm() {
    platform::SetSearchBoxText("");
    SpeakText("Search Term Cleared");
}

void SelectAllText() {
    platform::SearchBoxSetSelection(0, -1);
    SpeakText("Select All");
}

// Confirmed only when something reached the clipboard.
void CopyAndConfirm() {
    if (CopySearchTerm(InHelpMode()) == CopyOutcome::Copied) SpeakText("Selection Copied");
}

void SayLouder() {
    VolumeUp();
    SpeakText("Louder");
}
void SaySofter() {
    VolumeDown();
    SpeakText("Softer");
}

void ChangeIconSize() {
    CycleIconSize();
    LayoutWindow();
    SpeakText("Icon Size is " + NumberText(Settings.IconSize));
}

void ChangeColors() {
    CycleColorScheme();
    LayoutWindow();
}

void FitToContent() {
    FitColumns();
    SpeakText("Columns Resized");
}

void SpeakName() {
    SpeakColumn(1);
}
void SpeakFolder() {
    SpeakColumn(2);
}
void SpeakDate() {
    SpeakColumn(3);
}
void SpeakFileSize() {
    SpeakColumn(4);
}

void ResizeFont(int delta) {
    ChangeFontSize(delta);
    ApplyColors();
    LayoutWindow();
}
void IncreaseFontSize() {
    ResizeFont(+4);
}
void DecreaseFontSize() {
    ResizeFont(-4);
}

// A click on the pane flips whether small pictures are enlarged. The list
// speaks as it takes the focus back, so the new setting is said after that.
void ResizePreviewByClick() {
    TogglePreviewResize();
    LayoutWindow();
    platform::SetFocusTo(platform::ResultListId);
    SpeakText(std::string("Preview Resize is ") + (Settings.PreviewResize ? "ON" : "OFF"));
}

struct Handler {
    int id;
    void (*run)();
};

const Handler kHandlers[] = {
#define LUMAFIND_COMMAND_HANDLER(name, id, shortcut, flags, key, beep, handler, ...)               \
    {Cmd##name, handler},
    LUMAFIND_COMMANDS(LUMAFIND_COMMAND_HANDLER)
#undef LUMAFIND_COMMAND_HANDLER
};

} // namespace

CommandHandler HandlerOf(int id) {
    for (const Handler& h : kHandlers)
        if (h.id == id) return h.run;
    return nullptr;
}

namespace {

void RunCommandById(int id) {
    if (RunSettingToggle(id) || RunSettingCycle(id)) return;
    const CommandRow* row = FindCommand(id);
    CommandHandler handler = HandlerOf(id);
    if (!row || !handler) return;
    if (row->beep) CommandBeep();
    handler();
}

} // namespace

void DispatchCommand(int id, int code) {
    // The preview control also reports other notifications under its id; its
    // double click comes as code 1, which must not read as a shortcut.
    if (id == CmdPreviewClick && code != 0) return;
    if (code == 1) {
        if (id == CmdEscape)
            KeepShortcut(EscapeShortcuts[int(WhatEscapeDoes())]);
        else
            ShortcutText(id);
        if (Settings.SpeakShortcuts > 0) AnnounceLastShortcut();
    }
    RunCommandById(id);
    // A shortcut pressed in the settings list may change a value it shows.
    RefreshSettingsRows();
}

void OnCommand(int id, int code) {
    DispatchCommand(id, code);
}
