// Placeholders for work that is not built yet: the user hears that the
// command exists but cannot run, rather than silence.
#include "commands/not_available.h"

#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

static void SayNotAvailable() {
    SpeakText(NotAvailableYet);
}

void ShowSettingsList() {
    SayNotAvailable();
}
void ShowActionList() {
    SayNotAvailable();
}
void ActivateSettingsRow() {
    SayNotAvailable();
}
void ActivateActionRow() {
    SayNotAvailable();
}

void ExpandFolder() {
    SayNotAvailable();
}
void ExpandParentFolder() {
    SayNotAvailable();
}
void SpellSearchTerm() {
    SayNotAvailable();
}
void SpellFileName() {
    SayNotAvailable();
}
void CopySearchTerm() {
    SayNotAvailable();
}
void CutSearchTerm() {
    SayNotAvailable();
}
void PasteIntoSearchBox() {
    SayNotAvailable();
}

void OpenSelectedFile() {
    SayNotAvailable();
}
void OpenSelectedFolder() {
    SayNotAvailable();
}
void CopySelectedFile() {
    SayNotAvailable();
}
void CopyResultList() {
    SayNotAvailable();
}
void OpenSearchEngineWindow() {
    SayNotAvailable();
}
void CycleExternalTool() {
    SayNotAvailable();
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
    SayNotAvailable();
}
void ToggleNarrator() {
    SayNotAvailable();
}
void UpdateProgram() {
    SayNotAvailable();
}

void PrintResultList() {
    SayNotAvailable();
}
void CycleImageBackground() {
    SayNotAvailable();
}
void TogglePreviewResize() {
    SayNotAvailable();
}
