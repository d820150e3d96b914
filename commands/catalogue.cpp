// The accelerator table and the spoken shortcut names.
#include "commands/catalogue.h"

#include "base/text.h"
#include "command_table/command_table.h"
#include "settings/settings.h"
#include "speech/speech.h"

std::string LastShortcutName;
std::string LastShortcutKey;

namespace {

constexpr const char* kUnknownShortcut = "Unknown Shortcut :: ";
constexpr const char* kShortcutPressed = "Shortcut Pressed: ";

} // namespace

std::vector<platform::Accelerator> AcceleratorTable() {
    std::vector<platform::Accelerator> keys;
    for (const CommandRow& row : CommandTable())
        if (row.keyFlags != 0) keys.push_back({row.keyFlags, row.key, uint16_t(row.id)});
    return keys;
}

void BuildAccelerators() {
    std::vector<platform::Accelerator> keys = AcceleratorTable();
    platform::AttachAccelerators(keys.data(), int(keys.size()));
}

void KeepShortcut(std::string_view text) {
    size_t split = text.find("::");
    LastShortcutName = std::string(TrimBlanks(text.substr(0, split)));
    LastShortcutKey = split == std::string_view::npos
                          ? std::string()
                          : std::string(TrimBlanks(text.substr(split + 2)));
}

std::string ShortcutText(int id) {
    const CommandRow* row = FindCommand(id);
    std::string text = row && row->shortcut ? row->shortcut : kUnknownShortcut;
    KeepShortcut(text);
    return text;
}

void ExpandKeyName() {
    const std::string& key = LastShortcutKey;
    std::string afterDash = key.substr(key.find('-') + 1);
    if (key.size() == 1)
        LastShortcutKey = "Letter " + key;
    else if (key.find("C-") != std::string::npos)
        LastShortcutKey = "Control " + afterDash;
    else if (key.find("CS-") != std::string::npos)
        LastShortcutKey = "Control Shift " + afterDash;
    else if (key.find("CA-") != std::string::npos)
        LastShortcutKey = "Control Alt " + afterDash;
    else if (key == "Esc")
        LastShortcutKey = "Escape";
    else if (!key.starts_with("F"))
        LastShortcutKey = "...";
}

void AnnounceShortcut(int id) {
    ShortcutText(id);
    AnnounceLastShortcut();
}

void AnnounceLastShortcut() {
    if (Settings.IncludeShortcutKey == 0) {
        SpeechPrefix = kShortcutPressed + LastShortcutName + " : ";
        return;
    }
    if (Settings.SpeakMinimalKey == 0) ExpandKeyName();
    SpeechPrefix = kShortcutPressed + LastShortcutName + " : " + LastShortcutKey + " : ";
}

void ResetShortcutState() {
    LastShortcutName.clear();
    LastShortcutKey.clear();
}
