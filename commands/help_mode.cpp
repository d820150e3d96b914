#include "commands/help_mode.h"

#include "app/layout.h"
#include "commands/help_lists.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "search/run_search.h"
#include "settings/settings.h"
#include "speech/speech.h"

bool InHelpMode() {
    return Settings.SearchType == SettingsListType || Settings.SearchType == ActionListType;
}

static void EnterHelpMode(int searchType, const char* announcement) {
    Settings.SearchType = searchType;
    LayoutWindow();
    ShowLoading();
    SpeechPrefix = announcement;
}

void OpenSettingsListByKey() {
    EnterHelpMode(SettingsListType, "Opening Settings List : ");
    ShowSettingsList();
}

void OpenSettingsList() {
    Settings.SearchType = SettingsListType;
    LayoutWindow();
    ShowSettingsList();
}

void OpenActionList() {
    EnterHelpMode(ActionListType, "Opening Action Shortcuts : ");
    ShowActionList();
}

void ReturnToLastResult() {
    // A hand-edited LastSearchType of 5 or 6 would otherwise keep Esc in help
    // mode for ever, and Esc could never close the window.
    int last = Settings.LastSearchType;
    Settings.SearchType = last >= 1 && last <= 4 ? last : 1;
    LayoutWindow();
    ShowLoading();
    SpeakTextAndWait("Returning to Last Search Result");
    LoadResultFile();
}
