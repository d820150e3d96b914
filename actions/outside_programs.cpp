#include "actions/outside_programs.h"

#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

void OpenSearchEngineWindow() {
    SpeakNotAvailableYet();
}
void CycleExternalTool() {
    SpeakNotAvailableYet();
}

// Only a tool that would really start is reported, so that the usual case
// (no magnifier installed) keeps the web page's announcement audible.
void StartExternalTool() {
    int n = 0;
    bool lupa = platform::FileExists(platform::ProgramFolder() + "lupa.exe");
    if ((Settings.ExternalTool == 1 || Settings.ExternalTool == 2) && lupa) StartLupa(n);
    if (Settings.ExternalTool == 3) ToggleNarrator();
}
void StartLupa(int&) {
    SpeakNotAvailableYet();
}
void ToggleNarrator() {
    SpeakNotAvailableYet();
}
