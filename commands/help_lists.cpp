#include "commands/help_lists.h"

#include "speech/speech.h"

void ShowSettingsList() {
    SpeakNotAvailableYet();
}
void ShowActionList() {
    SpeakNotAvailableYet();
}
void ActivateSettingsRow() {
    SpeakNotAvailableYet();
}
void ActivateActionRow() {
    SpeakNotAvailableYet();
}
