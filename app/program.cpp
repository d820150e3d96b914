#include "app/program.h"

#include "actions/outside_programs.h"
#include "actions/update.h"
#include "app/main_window.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "base/version.h"
#include "commands/catalogue.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "results/navigation.h"
#include "results/result_list.h"
#include "search/filter_groups.h"
#include "search/run_search.h"
#include "settings/settings.h"
#include "speech/key_names.h"
#include "speech/speech.h"

int ProgramMain() {
    platform::SetDefaultFont(WindowFontName, WindowFontSize);
    platform::CreateMainWindow(std::string(ProgramTitle) + BuildTimeText());
    CreateProgramState();
    platform::CreateResultList();
    ResetResultRows();
    platform::CreateSearchBox();
    platform::CreatePreviewControl(PreviewBackground());
    CreateToolbarImages();
    CreateTooltip();
    CreateFilterGroups();
    platform::CreateStatusBar("Welcome to Lumafind!");
    platform::RunMainWindow();
    if (MainWindow.RestartPending == 1)
        platform::StartProgramAfterExit(platform::ProgramFolder() + StarterFileName);
    return 0;
}

void ResetProgramState() {
    Settings = SettingsRecord();
    ResetSettingsState();
    ResetMainWindowState();
    ResetShortcutState();
    ResetSearchState();
    ResetResultsState();
    ResetSpeechState();
    ResetSilence();
    ResetToolbarState();
    ResetPreviewState();
}
