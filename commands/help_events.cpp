// F1 and the context-menu key of the main window.
#include "actions/outside_programs.h"
#include "platform/events.h"
#include "commands/help_mode.h"
#include "platform/platform.h"
#include "speech/speech.h"

// The page is made from the command list when the program is built and ships
// beside it, so it always describes this very program. The shell wants a full
// path: the current folder is not the program's when the folder is too long.
void OpenHelpPage() {
    std::string page = platform::ProgramFolder() + HelpPageName;
    if (!platform::FileExists(page)) return SpeakText("Help Page Not Found");
    platform::OpenWebPage(page);
}

void OnHelp(bool controlDown) {
    if (!controlDown) {
        OpenSettingsListByKey();
        return;
    }
    SpeakText("Opening Lumafind Web Site");
    OpenHelpPage();
    StartExternalTool();
}

void OnContextMenu() {
    if (platform::FocusedControl() == platform::SearchBoxId) OpenSettingsList();
}
