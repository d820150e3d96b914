// The commands that flip an on-off setting or step a setting through its
// values, and say the new value.
#pragma once

// Each returns false, doing nothing, for an id that is not one of its commands.
bool RunSettingToggle(int id);
bool RunSettingCycle(int id);
// Whether the id is one of those commands (nothing is run).
bool IsSettingToggleOrCycle(int id);
// F9: heard in both directions, bypassing the disabled-speech rule.
void ToggleDisableSpeech();
