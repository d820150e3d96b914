#include "command_table/command_table.h"

#include "platform/key_codes.h"

namespace {

constexpr uint16_t F(int n) {
    return uint16_t(VkF1 + n - 1);
}

// The handler column belongs to the dispatcher and is left out here.
const CommandRow kCommands[] = {
#define LUMAFIND_COMMAND_ROW(name, id, shortcut, flags, key, beep, handler, image, caption,        \
                             tooltip, listName, does)                                              \
    {Cmd##name, shortcut, flags, uint16_t(key), beep, {image, caption, tooltip}, listName, does},
    LUMAFIND_COMMANDS(LUMAFIND_COMMAND_ROW)
#undef LUMAFIND_COMMAND_ROW
};

} // namespace

std::span<const CommandRow> CommandTable() {
    return kCommands;
}

const CommandRow* FindCommand(int id) {
    for (const CommandRow& row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}

std::string KeyLabel(const CommandRow& row) {
    if (row.keyFlags == 0) return {};
    std::string label = (row.keyFlags & CtrlKey) == CtrlKey ? "Ctrl+" : "";
    if ((row.keyFlags & CtrlShiftKey) == CtrlShiftKey) label += "Shift+";
    if (row.key >= VkF1 && row.key < VkF1 + 24)
        return label + "F" + std::to_string(row.key - VkF1 + 1);
    if (row.key == VkEscape) return label + "Esc";
    label += char(row.key);
    // Read aloud or in large type, a lone 0 passes for the letter O.
    if (row.key == '0') label += " (Zero)";
    return label;
}
