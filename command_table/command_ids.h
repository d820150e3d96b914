// Every command the main window understands, named after what the user hears
// for it. Keys, toolbar buttons, the preview and the shortcut lists all send
// these ids.
#pragma once

#include "command_table/command_list.h"

enum CommandId : int {
#define LUMAFIND_COMMAND_ID(name, id, ...) Cmd##name = id,
    LUMAFIND_COMMANDS(LUMAFIND_COMMAND_ID)
#undef LUMAFIND_COMMAND_ID
};

constexpr int FirstCommandId = CmdSearchForFiles;
constexpr int LastCommandId = CmdNextStatusPage;
