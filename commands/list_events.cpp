// The result list's keys and clicks that act: Space on a shortcut list's row,
// a first letter, a double click.
#include "actions/open_files.h"
#include "commands/help_lists.h"
#include "commands/help_mode.h"
#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "results/navigation.h"
#include "settings/search_type.h"
#include "settings/settings.h"

bool OnListKeyDown(int virtualKey) {
    if (virtualKey == VkSpace && Settings.SearchType == SettingsListType) {
        ActivateSettingsRow();
        return true;
    }
    if (virtualKey == VkSpace && Settings.SearchType == ActionListType) {
        ActivateActionRow();
        return true;
    }
    // A key held with Control is a shortcut, not a letter typed.
    if ((platform::KeyState(VkControl) & 0x8000) != 0) return false;
    return FirstLetterJump(virtualKey);
}

void OnListDoubleClick() {
    OpenSelectedFile();
}
