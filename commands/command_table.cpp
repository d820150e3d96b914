#include "commands/command_table.h"

#include "platform/key_codes.h"

namespace {

constexpr uint16_t F(int n) {
    return uint16_t(VkF1 + n - 1);
}

// The handler column belongs to the dispatcher and is left out here.
const CommandRow kCommands[] = {
#define LUMAFIND_COMMAND_ROW(name, id, shortcut, flags, key, beep, handler, image, caption,        \
                             tooltip)                                                              \
    {Cmd##name, shortcut, flags, uint16_t(key), beep, {image, caption, tooltip}},
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
