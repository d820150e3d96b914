#include "commands/help_mode.h"

#include "actions/outside_programs.h"
#include "app/layout.h"
#include "commands/help_lists.h"
#include "platform/platform.h"
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

// The page is made from the command list when the program is built and ships
// beside it, so it always describes this very program. The shell wants a full
// path: the current folder is not the program's when the folder is too long.
void OpenHelpPage() {
    std::string page = platform::ProgramFolder() + HelpPageName;
    if (!platform::FileExists(page)) return SpeakText("Help Page Not Found");
    platform::OpenWebPage(page);
}

void OpenOnlineHelp() {
    OpenHelpPage();
    StartExternalTool();
}

void ActivateActionRow() {
    switch (UseActionRow()) {
    case ActionRowUse::Run:
    case ActionRowUse::Refuse:
        return;
    case ActionRowUse::SettingsList:
        return OpenSettingsList();
    case ActionRowUse::ActionList:
        Settings.SearchType = ActionListType;
        LayoutWindow();
        return ShowActionList();
    case ActionRowUse::OnlineHelp:
        return OpenOnlineHelp();
    }
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
