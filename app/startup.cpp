// Start-up and shutdown of the main window, in the order the user relies on:
// the previous result and position come back before the first word is spoken.
#include "app/layout.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/stale_temporaries.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "base/version.h"
#include "commands/catalogue.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "results/result_list.h"
#include "search/filter_groups.h"
#include "search/history.h"
#include "search/index_start.h"
#include "search/result_rows.h"
#include "search/run_search.h"
#include "settings/settings.h"
#include "speech/speech.h"
#include "speech/voice_controls.h"

constexpr const char* FolderUnusableWarning =
    " The program folder cannot be used: settings will not be kept. ";
// Said with the welcome, which nothing interrupts.
constexpr const char* SettingsUnreadableWarning =
    "Settings Could Not Be Read : They Will Not Be Saved";
constexpr const char* HistoryUnreadableWarning =
    "Search History Could Not Be Read : It Will Not Be Saved";

void CreateProgramState() {
    HoldSpeechUntilWelcome();
    MainWindow.FolderUnusable = !platform::SetCurrentFolder(platform::ProgramFolder());
    RemoveStaleTemporaries();
    StartEngineIndex(); // its first walk runs while the window comes up
    platform::VoiceCreate();
    LoadOrSaveSettings("get");
    // The window has just gone to its saved monitor, maybe of another scale
    // than the one the default font was made at, and hears of no change yet.
    platform::SetDefaultFont(WindowFontName, WindowFontSize);
    ApplySpeechRate();
}

void OnInitDialog() {
    platform::StartImageLibrary();
    MainWindow.PerfFrequency = platform::PerformanceFrequency();
    LoadOrSaveSettings("get");
    Settings.SearchType = Settings.LastSearchType;
    CreateToolbar();
    BuildAccelerators();
    ReadSearchHistory();
    ApplyFonts();
    platform::SetSearchBoxText(Settings.SearchTerm);
    ApplyColors();
    // Never minimised: someone who cannot see the taskbar would not know it started.
    if (Settings.Maximized != 0) platform::ShowMainMaximized();
    LoadResultFile();
}

void OnDeferredStart() {
    platform::RedrawControl(platform::MainWindowId);
    RestoreListPosition(Settings.TopRow, Settings.LastRow);
    RefreshPreview();
    LayoutWindow();
    std::string welcome = std::string("Welcome to Lumafind, version ") + ProgramVersion + "!";
    if (MainWindow.FolderUnusable) welcome += FolderUnusableWarning;
    std::string unread;
    if (SettingsUnreadable()) unread += std::string(" ") + SettingsUnreadableWarning + ".";
    if (SearchHistoryUnreadable()) unread += std::string(" ") + HistoryUnreadableWarning + ".";
    if (!unread.empty()) welcome += unread + " ";
    Welcome(welcome);
    platform::ShowMainInFront();
    platform::SearchBoxPostSelectAll();
    // Loading the last result may have left the focus there already (FocusOnRE),
    // and then no focus message would carry the welcome.
    if (platform::FocusedControl() == platform::SearchBoxId)
        OnSearchBoxSetFocus();
    else
        platform::SetFocusTo(platform::SearchBoxId);
}

void OnDestroy() {
    Settings.SearchTerm = CutToCharacters(platform::SearchBoxText(), SettingTextLimit);
    Settings.TopRow = platform::ListTopIndex();
    Settings.LastRow = SelectedRow() > 0 ? SelectedRow() : 0;
    if (!MainWindow.FolderUnusable) LoadOrSaveSettings("save");
    SayGoodbye("Exiting Lumafind");
}

void RestoreListPosition(int topRow, int lastRow) {
    SetTopRow(topRow);
    if (lastRow < 1 || lastRow > RowCount()) return;
    SelectRow(lastRow);
}
