// The commands that flip an on-off setting or step a setting through its
// values, and say the new value.
#pragma once

#include <string>

// Each returns false, doing nothing, for an id that is not one of its commands.
bool RunSettingToggle(int id);
bool RunSettingCycle(int id);
// Whether the id is one of those commands (nothing is run).
bool IsSettingToggleOrCycle(int id);
// The value the settings list shows beside the command's setting: its state
// word, step name or number; empty for a value the command never sets.
std::string SettingValueText(int id);
// F9: heard in both directions, bypassing the disabled-speech rule.
void ToggleDisableSpeech();
