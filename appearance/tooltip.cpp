// The big tooltip over the toolbar: shown, spoken or both, by `EnableToolTips`.
#include "appearance/toolbar.h"
#include "command_table/command_table.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

std::string TooltipTextFor(int command) {
    const CommandRow* row = FindCommand(command);
    if (row && row->face.tooltip) Toolbar.TooltipText = row->face.tooltip;
    return Toolbar.TooltipText;
}

void ShowTooltipText() {
    platform::TooltipShowText(Toolbar.TooltipText);
}

// The toolbar asks for a button's text whenever the pointer rests on it; the
// same button is announced only once until another one is.
void OnTooltipRequest(int command) {
    if (Settings.EnableToolTips == 0) {
        Toolbar.TooltipText.clear();
        ShowTooltipText();
        Toolbar.LastTooltipButton = 0;
        return;
    }
    if (command == Toolbar.LastTooltipButton && Toolbar.LastTooltipButton != 0) return;
    Toolbar.TooltipText.clear();
    platform::TooltipPop();
    TooltipTextFor(command);
    switch (Settings.EnableToolTips) {
    case 1:
        ShowTooltipText();
        break;
    case 2:
        SpeakText(Toolbar.TooltipText);
        break;
    case 3:
        SpeakText(Toolbar.TooltipText);
        ShowTooltipText();
        break;
    default:
        break;
    }
    Toolbar.LastTooltipButton = command;
}

// Applies the saved rate and speaks without the waiting prefix, which stays for
// the next message.
void CycleTooltipMode() {
    Toolbar.LastTooltipButton = 0;
    Toolbar.TooltipText.clear();
    ShowTooltipText();
    static constexpr const char* Words[] = {"ToolTips are Text", "ToolTips are Speak",
                                            "ToolTips are Both", "Tooltips are Off"};
    std::string message;
    int mode = Settings.EnableToolTips;
    if (mode >= 0 && mode <= 3) {
        message = Words[mode];
        Settings.EnableToolTips = (mode + 1) % 4;
    }
    platform::VoiceSetRate(Settings.vRate);
    SpeakTextWithoutPrefix(message);
}
