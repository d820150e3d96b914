// The two shortcut lists of help mode: their rows, and what a row does.
#pragma once

void ShowSettingsList();
void ShowActionList();
void ActivateSettingsRow();
void ActivateActionRow();
