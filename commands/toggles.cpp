#include "commands/toggles.h"

#include "app/layout.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "command_table/command_ids.h"
#include "platform/platform.h"
#include "preview/preview.h"
#include "settings/settings.h"
#include "speech/beep.h"
#include "speech/speech.h"

#include <iterator>

namespace {

void RedrawList() {
    platform::RedrawControl(platform::ResultListId);
}
void RebuildToolbar() {
    CreateToolbar();
    LayoutWindow();
}
void RefreshPreviewPane() {
    RefreshPreview();
    LayoutWindow();
}

struct Toggle {
    int id;
    int SettingsRecord::*setting;
    void (*followUp)();
    const char* message;
    const char* on;
    const char* off;
};

const Toggle kToggles[] = {
    {CmdHideToolbarText, &SettingsRecord::HideToolbarText, RebuildToolbar, "Hide Toolbar Text is ",
     "ON", "OFF"},
    {CmdSearchSortType, &SettingsRecord::SortType, nullptr, "Sort Type is ", "Date", "File Name"},
    {CmdShowToolbar, &SettingsRecord::ShowToolbar, RebuildToolbar, "Toolbar is ", "Displayed",
     "Hidden"},
    {CmdExcludeSystemFolders, &SettingsRecord::ExcludeSystemFolders, nullptr,
     "Exclude System Folders is ", "ON", "OFF"},
    {CmdUseIgnoreList, &SettingsRecord::UseIgnoreList, nullptr, "Ignore List is ", "ON", "OFF"},
    {CmdVisualPrintFont, &SettingsRecord::PrintFont, nullptr, "Print With Visual Font is ", "ON",
     "OFF"},
    // Stored without "is", as it is heard.
    {CmdFocusOnSearchTerm, &SettingsRecord::FocusOnRE, nullptr, "Search Term Focus ", "ON", "OFF"},
    {CmdFolderShortPath, &SettingsRecord::ShortPath, RedrawList, "Short Path Name is ", "ON",
     "OFF"},
    {CmdShowTimeInDate, &SettingsRecord::EnableTime, RedrawList, "Include Time in Date is ", "ON",
     "OFF"},
    {CmdFormatAsKB, &SettingsRecord::UseKB, RedrawList, "Format File Size is ", "ON", "OFF"},
    {CmdPreview, &SettingsRecord::ShowPreview, RefreshPreviewPane, "Show Preview is ", "ON", "OFF"},
    {CmdPreviewResize, &SettingsRecord::PreviewResize, LayoutWindow, "Preview Resize is ", "ON",
     "OFF"},
    {CmdSpeakShortcuts, &SettingsRecord::SpeakShortcuts, LayoutWindow, "Speak Shortcuts is ", "ON",
     "OFF"},
    {CmdWideToolbar, &SettingsRecord::WideToolbar, CreateToolbar, "Wide Toolbar is ", "ON", "OFF"},
    {CmdIncludeShortcutKey, &SettingsRecord::IncludeShortcutKey, LayoutWindow,
     "Include Shortcut Key is ", "ON", "OFF"},
    {CmdSpeakMinimalKey, &SettingsRecord::SpeakMinimalKey, LayoutWindow, "Speak Minimal Key is ",
     "ON", "OFF"},
};

// Any non-zero value reads as on, so a hand-edited 2 must turn off too
// (flipping only the lowest bit would leave it on for ever).
int Flipped(int value) {
    return value != 0 ? 0 : 1;
}

// Steps 0..3 round; a value outside the range starts again at 0.
int NextOfFour(int value) {
    return value >= 0 && value < 3 ? value + 1 : 0;
}

std::string CountOrUnlimited(int value) {
    return value == 0 ? std::string("Unlimited") : NumberText(value);
}

int NextMaxResults(int value) {
    const int steps[] = {50, 100, 250, 1000, 10000, 100000, 0};
    for (size_t i = 0; i + 1 < std::size(steps); ++i)
        if (steps[i] == value) return steps[i + 1];
    return 50;
}

// A value the cycle does not know is kept as the user set it.
int NextMaxPrintLines(int value) {
    const int steps[] = {0, 10, 50, 100, 0};
    for (size_t i = 0; i + 1 < std::size(steps); ++i)
        if (steps[i] == value) return steps[i + 1];
    return value;
}

const char* const SpeakLettersWords[] = {"None", "Letters", "Words", "Both"};
// Also the words of the tooltip modes, which run through the same four steps.
const char* const HoverWords[] = {"OFF", "Text", "Speak", "Both"};
const char* const ExternalToolWords[] = {"None", "Simple Lupa", "Lupa", "Narrator"};
const char* const ImageBackgroundWords[] = {"White", "Black", "Blue"};

void CycleSpeakLetters() {
    Settings.EnableSpeakLetters = NextOfFour(Settings.EnableSpeakLetters);
    SpeakText(std::string("Speak Text is ") + SpeakLettersWords[Settings.EnableSpeakLetters]);
}

void CycleHover() {
    Settings.UseHover = NextOfFour(Settings.UseHover);
    SpeakText(std::string("Lupa Hover is  ") + HoverWords[Settings.UseHover]);
}

template <size_t N> std::string WordOf(const char* const (&words)[N], int value) {
    return value >= 0 && size_t(value) < N ? words[value] : "";
}

std::string OnOff(int value) {
    return value != 0 ? "ON" : "OFF";
}

std::string SpeedWord(int rate) {
    return rate == -3 ? "Slow" : rate == 0 ? "Normal" : rate == 3 ? "Fast" : "";
}

void CycleMaxResults() {
    Settings.MaxResults = NextMaxResults(Settings.MaxResults);
    SpeakText("Max Search Results is " + CountOrUnlimited(Settings.MaxResults));
}

void CycleMaxPrintLines() {
    Settings.MaxPrintLines = NextMaxPrintLines(Settings.MaxPrintLines);
    RedrawList();
    SpeakText("Max Print Lines is " + CountOrUnlimited(Settings.MaxPrintLines));
}

} // namespace

bool RunSettingToggle(int id) {
    for (const Toggle& toggle : kToggles) {
        if (toggle.id != id) continue;
        CommandBeep();
        int& value = Settings.*toggle.setting;
        value = Flipped(value);
        if (toggle.followUp) toggle.followUp();
        SpeakText(std::string(toggle.message) + (value != 0 ? toggle.on : toggle.off));
        return true;
    }
    return false;
}

void (*CycleOf(int id))() {
    return id == CmdSpeakLetters    ? CycleSpeakLetters
           : id == CmdToolbarHover  ? CycleHover
           : id == CmdMaxResults    ? CycleMaxResults
           : id == CmdMaxPrintLines ? CycleMaxPrintLines
                                    : nullptr;
}

bool RunSettingCycle(int id) {
    void (*cycle)() = CycleOf(id);
    if (!cycle) return false;
    CommandBeep();
    cycle();
    return true;
}

std::string SettingValueText(int id) {
    const SettingsRecord& s = Settings;
    switch (id) {
    case CmdIconSize:
        return NumberText(s.IconSize);
    case CmdSpeakLetters:
        return WordOf(SpeakLettersWords, s.EnableSpeakLetters);
    case CmdMaxResults:
        return CountOrUnlimited(s.MaxResults);
    case CmdMaxPrintLines:
        return CountOrUnlimited(s.MaxPrintLines);
    case CmdChangeColors:
        return ColorSchemeName();
    case CmdEnableToolTips:
        return WordOf(HoverWords, s.EnableToolTips);
    case CmdToolbarHover:
        return WordOf(HoverWords, s.UseHover);
    case CmdShowTimeInDate:
        return s.EnableTime != 0 ? " ON" : " OFF"; // shown so in the list, unlike the others
    case CmdSpeechSpeed:
        return SpeedWord(s.vRate);
    case CmdDisableSpeech:
        return OnOff(s.DisableSpeech);
    case CmdExternalTool:
        return WordOf(ExternalToolWords, s.ExternalTool);
    case CmdIncreaseFontSize:
    case CmdDecreaseFontSize:
        return NumberText(s.FontSize);
    case CmdImageBGColor:
        return WordOf(ImageBackgroundWords, s.ImageBG);
    case CmdSearchSortType:
        return s.SortType != 0 ? "Date" : "File Name";
    }
    for (const Toggle& toggle : kToggles)
        if (toggle.id == id) return OnOff(Settings.*toggle.setting);
    return {};
}

bool IsSettingToggleOrCycle(int id) {
    for (const Toggle& toggle : kToggles)
        if (toggle.id == id) return true;
    return CycleOf(id) != nullptr;
}

void ToggleDisableSpeech() {
    Settings.DisableSpeech = Flipped(Settings.DisableSpeech);
    const char* state = Settings.DisableSpeech != 0 ? "Disabled" : "Enabled";
    platform::VoiceSpeak(std::string("Speech is ") + state,
                         platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak);
    // The voice has just said what F9 did: a screen reader taking over would
    // hear F9's own announcement at the next key, as if it were news.
    if (Settings.DisableSpeech != 0 && platform::ScreenReaderRunning()) SpeechPrefix.clear();
}
