// F1 and the context-menu key of the main window.
#include "app/events.h"
#include "commands/help_mode.h"
#include "actions/outside_programs.h"
#include "platform/platform.h"
#include "speech/speech.h"

// The product's own page, opened by Control+F1.
constexpr const char* ProductPage = "https://lumafind.example/";

void OnHelp(bool controlDown) {
    if (!controlDown) {
        OpenSettingsListByKey();
        return;
    }
    SpeakText("Opening Lumafind Web Site");
    platform::OpenWebPage(ProductPage);
    StartExternalTool();
}

void OnContextMenu() {
    if (platform::FocusedControl() == platform::SearchBoxId) OpenSettingsList();
}
