// The facts of every command, read from the one command list: what the user
// hears for its shortcut, its key, whether it beeps, and its toolbar button.
// The accelerator table, the spoken shortcut names and the toolbar read it; the
// dispatcher takes the handlers from the same list.
#pragma once

#include "command_table/command_ids.h"

#include <cstdint>
#include <span>
#include <string>

enum Beeping : bool { NoBeep = false, Beeps = true };

// Accelerator flags as the table takes them: 1 virtual key, 4 Shift, 8 Control.
constexpr uint8_t PlainKey = 1, CtrlKey = 1 | 8, CtrlShiftKey = 1 | 8 | 4;

struct ToolbarFace {
    int image = 0;                 // 1..20; 0 when the command has no button
    const char* caption = nullptr; // under the icon, blanks as shown
    const char* tooltip = nullptr; // the big tooltip's text, blanks as shown
};

struct CommandRow {
    CommandId id;
    const char* shortcut; // "Name :: key" as spoken; nullptr when unnamed
    uint8_t keyFlags;     // 0: no key sends it
    uint16_t key;         // virtual-key code
    Beeping beep;
    ToolbarFace face;
    const char* listName; // as the shortcut lists name it; nullptr when in neither
    const char* does;     // one line for the help page
};

// A key the window answers without a command: F1, Ctrl+F1 and the controls'
// own keys (command_table/command_list.h).
struct WindowKey {
    const char* key;      // as written: "F1", "Up, Down"
    const char* where;    // "In the list"; nullptr: anywhere
    const char* listName; // as the shortcut lists name it; nullptr when in neither
    const char* does;     // one line for the help page
};
#define LUMAFIND_WINDOW_KEY(name, key, where, listName, does)                                      \
    inline constexpr WindowKey name{key, where, listName, does};
LUMAFIND_WINDOW_KEYS(LUMAFIND_WINDOW_KEY)
#undef LUMAFIND_WINDOW_KEY

// In the order of the accelerator table, then the commands no key sends.
std::span<const CommandRow> CommandTable();
// The row of the id, or nullptr.
const CommandRow* FindCommand(int id);
// The key as the shortcut lists and the help page write it ("F3", "Ctrl+D",
// "Ctrl+Shift+C", "Esc"); empty for a command no key sends.
std::string KeyLabel(const CommandRow& row);
