// The two shortcut lists of help mode: their rows, and what a row does.
#pragma once

#include <string>
#include <vector>

void ShowSettingsList();
void ShowActionList();
void ActivateSettingsRow();
void ActivateActionRow();
// Rewrites row n of the settings list with its setting's value now, silently.
void RefreshSettingsRow(int n);
// Every row of the settings list shown again, after a shortcut changed a value.
void RefreshSettingsRows();

// The rows' texts as the lists show them, from the settings now.
std::vector<std::string> SettingsListRows();
std::vector<std::string> ActionListRows();
