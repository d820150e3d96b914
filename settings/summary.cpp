#include "settings/settings.h"

#include "base/text.h"
#include "base/version.h"
#include "platform/platform.h"

namespace {

std::string OnOff(int value) {
    return value != 0 ? "On" : "Off";
}

std::string Pick(int value, std::initializer_list<const char*> words) {
    if (value < 0 || size_t(value) >= words.size()) return {};
    return *(words.begin() + value);
}

} // namespace

std::string SettingsSummaryText() {
    const SettingsRecord& s = Settings;
    std::string lines = s.MaxPrintLines == 0 ? "UnLmtd" : NumberText(s.MaxPrintLines);
    return "  Letters-" + Pick(s.EnableSpeakLetters, {"No", "Letters", "Words", "Both"}) +
           "  ExcludeSystem-" + OnOff(s.ExcludeSystemFolders) + "  UseIgnoreLst-" +
           OnOff(s.UseIgnoreList) + "  STFocus-" + OnOff(s.FocusOnRE) + "  ExternalTool-" +
           Pick(s.ExternalTool, {"None", "Simple Lupa", "Lupa", "Narrator"}) + "  LupaHover-" +
           Pick(s.UseHover, {"Off", "Text", "Speak", "Both"}) + "  VisualPrintFont-" +
           OnOff(s.PrintFont) + "  MaxPrintLines-" + lines + "  DisableSpeech-" +
           OnOff(s.DisableSpeech) + "  SpeakShortCuts-" + OnOff(s.SpeakShortcuts) +
           "  IncludeKey-" + OnOff(s.IncludeShortcutKey) + "  MinimalKey-" +
           OnOff(s.SpeakMinimalKey);
}

void ShowSettingsSummary() {
    platform::SetCaption(std::string(ProgramTitle) + "   " + SettingsSummaryText());
}
