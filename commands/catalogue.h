// The keyboard map: which key sends which command, and the name the user
// hears when a shortcut is pressed.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

// The keys of the command table, in its order.
std::vector<platform::Accelerator> AcceleratorTable();

// Name and key code of the most recent shortcut, trimmed of blanks.
extern std::string LastShortcutName;
extern std::string LastShortcutKey;
void ResetShortcutState();

// Builds the table and attaches it to the main window.
void BuildAccelerators();
// "Name :: key code", or "Unknown Shortcut :: "; sets LastShortcutName/Key.
std::string ShortcutText(int id);
// Sets LastShortcutName/Key from a "Name :: key code" text.
void KeepShortcut(std::string_view text);
// Puts "Shortcut Pressed: ..." in front of the command's next message.
void AnnounceShortcut(int id);
// The same for the shortcut kept last.
void AnnounceLastShortcut();
// Rewrites LastShortcutKey in words: "C-5" becomes "Control 5".
void ExpandKeyName();
