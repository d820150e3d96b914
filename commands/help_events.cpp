// F1 and the context-menu key of the main window.
#include "commands/help_mode.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "speech/speech.h"

void OnHelp(bool controlDown) {
    if (!controlDown) {
        OpenSettingsListByKey();
        return;
    }
    SpeakText("Opening Lumafind Web Site");
    OpenOnlineHelp();
}

void OnContextMenu() {
    if (platform::FocusedControl() == platform::SearchBoxId) OpenSettingsList();
}
