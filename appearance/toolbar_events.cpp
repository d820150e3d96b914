#include "appearance/toolbar.h"
#include "command_table/command_ids.h"
#include "platform/events.h"
#include "speech/speech.h"

void OnToolbarSetFocus() {
    SpeakEcho("ToolBar has focus");
}

// Only the page button answers a right click: it turns the pages backwards.
void OnToolbarRightClick(int command) {
    if (command == CmdNextMenu) PreviousToolbarPage();
}
