// What the main window does for each command: the shortcut announcement, the
// beep, then the setting toggle or the handler of the command table.
#include "commands/dispatch.h"

#include "app/events.h"
#include "app/main_window.h"
#include "commands/catalogue.h"
#include "commands/command_table.h"
#include "commands/toggles.h"
#include "settings/settings.h"

void DispatchCommand(int id, int code) {
    if (code == 1) {
        ShortcutText(id);
        if (Settings.SpeakShortcuts > 0) AnnounceShortcut(id);
    }
    // The preview control also reports other notifications under its id.
    if (id == CmdPreviewClick && code != 0) return;
    if (RunSettingToggle(id) || RunSettingCycle(id)) return;
    const CommandRow* row = FindCommand(id);
    if (!row || !row->handler) return;
    if (row->beep) CommandBeep();
    row->handler();
}

void OnCommand(int id, int code) {
    DispatchCommand(id, code);
}
