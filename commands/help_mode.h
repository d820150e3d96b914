// Help mode: the result list shows one of the two shortcut lists instead of
// a search result.
#pragma once

#include "settings/search_type.h"

bool InHelpMode();
// F1: the settings list, announced as it opens.
void OpenSettingsListByKey();
// The context-menu key and the Settings command: the settings list, with
// neither the loading row nor the announcement.
void OpenSettingsList();
// F2: the action list, announced as it opens.
void OpenActionList();
// The keyboard reference shipped beside the program.
constexpr const char* HelpPageName = "lumafind-help.html";
// Opens it in the user's browser; says so when it is missing.
void OpenHelpPage();
// Ctrl+F1 and its row in the action list: the page and the external tool.
void OpenOnlineHelp();
// Enter or Space on a row of the action list.
void ActivateActionRow();
// Leaves help mode and shows the last search result again.
void ReturnToLastResult();
