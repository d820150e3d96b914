// The two shortcut lists of help mode: their rows, and what a row does.
#pragma once

#include <string>
#include <vector>

// The lists' rows alone: help mode (help_mode.h) owns which list is shown and
// calls these, never the other way round.
void ShowSettingsList();
void ShowActionList();
void ActivateSettingsRow();

// What the selected row of the action list asks for. A command row has run and
// a refused or missing row has been spoken by the time this returns; the rest
// are for help mode to carry out.
enum class ActionRowUse { Run, Refuse, SettingsList, OnlineHelp, ActionList };
ActionRowUse UseActionRow();
// Rewrites row n of the settings list with its setting's value now, silently.
void RefreshSettingsRow(int n);
// Every row of the settings list shown again, after a shortcut changed a value.
void RefreshSettingsRows();

// The rows' texts as the lists show them, from the settings now.
std::vector<std::string> SettingsListRows();
std::vector<std::string> ActionListRows();
