#include "actions/outside_programs.h"

#include "base/text.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <array>
#include <cstdio>

namespace {

// A 32-bit installation first, as the engine has always been found; a 64-bit
// one lives under Program Files itself.
constexpr const char* EngineWindowPaths[] = {
    "c:\\program files (x86)\\everything\\everything.exe",
    "C:\\Program Files\\Everything\\everything.exe",
};

constexpr const char* ToolNames[] = {"None", "Simple Lupa", "Lupa", "Narrator"};

// Every event carries this scan code, down and up alike.
constexpr int NarratorScanCode = 69;

} // namespace

void OpenSearchEngineWindow() {
    for (const char* path : EngineWindowPaths) {
        if (!platform::FileExists(path)) continue;
        // The user must not hear that it opens when the system refused to start it.
        if (!platform::StartProgram(path, "")) return SpeakText("Cannot Open Everything");
        return SpeakText("Opening Everything");
    }
    SpeakText("Everything Not Found");
}

// A value read from a hand-edited file may lie outside the list: it starts
// over at "None" rather than naming no tool at all.
void CycleExternalTool() {
    int next = Settings.ExternalTool + 1;
    Settings.ExternalTool = next >= 0 && next <= 3 ? next : 0;
    SpeakText(std::string("External Tool is ") + ToolNames[Settings.ExternalTool]);
}

// Silent, so that the page's announcement stays audible; no magnifier beside
// the program is the usual case, not a fault.
void StartExternalTool() {
    int n = 0;
    bool lupa = platform::FileExists(platform::ProgramFolder() + "lupa.exe");
    if ((Settings.ExternalTool == 1 || Settings.ExternalTool == 2) && lupa) StartLupa(n);
    if (Settings.ExternalTool == 3) ToggleNarrator();
}

// The magnifier reads its settings by position; the simple form (m = 0) turns
// three of them off and alone takes n.
void StartLupa(int& n) {
    bool simple = Settings.ExternalTool == 1;
    int m = simple ? 0 : 1;
    if (!simple) n = 0;
    const std::array<int, 19> numbers{96, m, 0, m, m, 0, 0, 0, 0, 0, Settings.UseHover,
                                      0,  n, 0, 0, 0, 1, 0, 0};
    std::string arguments;
    for (int number : numbers)
        arguments += NumberText(number);
    // Named by its full path apart from its arguments, so a program folder
    // with blanks in it cannot be taken for a program and its arguments.
    platform::StartProgram(platform::ProgramFolder() + "lupa.exe", arguments);
}

void ToggleNarrator() {
    for (int key : {VkLeftWindows, VkControl, VkReturn})
        platform::SendKeyEvent(key, NarratorScanCode, false);
    for (int key : {VkReturn, VkControl, VkLeftWindows})
        platform::SendKeyEvent(key, NarratorScanCode, true);
}

namespace {

// Days since 1 January 1601 of a civil date (proleptic Gregorian).
constexpr int64_t DaysFrom1601(int year, int month, int day) {
    int y = year - (month <= 2);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int yearOfEra = int(y - era * 400);
    int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 584694; // 584694: 1601-01-01 counted from 0000-03-01
}

constexpr int Digit(char c) {
    return c == ' ' ? 0 : c - '0';
}

// The compiler's date ("Mmm dd yyyy") and time ("hh:mm:ss") of this file.
constexpr int64_t StampOf(const char* date, const char* time) {
    constexpr const char* Months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    int month = 1;
    while (month < 12 &&
           !(Months[(month - 1) * 3] == date[0] && Months[(month - 1) * 3 + 1] == date[1] &&
             Months[(month - 1) * 3 + 2] == date[2]))
        ++month;
    int day = Digit(date[4]) * 10 + Digit(date[5]);
    int year = Digit(date[7]) * 1000 + Digit(date[8]) * 100 + Digit(date[9]) * 10 + Digit(date[10]);
    int64_t seconds =
        DaysFrom1601(year, month, day) * 86400 + (Digit(time[0]) * 10 + Digit(time[1])) * 3600 +
        (Digit(time[3]) * 10 + Digit(time[4])) * 60 + Digit(time[6]) * 10 + Digit(time[7]);
    return seconds * 10000000;
}

constexpr int64_t BuildStamp = StampOf(__DATE__, __TIME__);

} // namespace

std::string BuildTimeText(int64_t stamp) {
    int64_t seconds = stamp > 0 ? stamp / 10000000 : 0;
    int64_t days = seconds / 86400, inDay = seconds % 86400;
    // Back from days to a civil date, counting from 0000-03-01.
    int64_t z = days + 584694;
    int64_t era = z / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    int day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    int month = int(mp < 10 ? mp + 3 : mp - 9);
    int year = int(yearOfEra + era * 400 + (month <= 2));
    char text[64];
    std::snprintf(text, sizeof text, "   Compiled: %04d/%02d/%02d %02d:%02d", year, month, day,
                  int(inDay / 3600), int(inDay / 60 % 60));
    return text;
}

std::string BuildTimeText() {
    return BuildTimeText(BuildStamp);
}
