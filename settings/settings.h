// Every user preference and every piece of state that survives a restart, one
// field per INI key, named by the key.
#pragma once

#include <string>

struct SettingsRecord {
    int Left = 0;
    int Top = 0;
    int Width = 1600;
    int Height = 800;
    std::string SearchTerm = "texas";
    std::string FontName = "Arial Black";
    std::string IgnoreList = ".lnk";
    int Minimized = 0;
    int Maximized = 0;
    int FontSize = 36;
    int FG = 65535;
    int BG = 16711680;
    int ShowToolbar = 1;
    int IconSize = 96;
    int SortType = 1;
    int HideToolbarText = 0;
    int MaxResults = 100;
    int ExcludeSystemFolders = 1;
    int EnableSpeakLetters = 1;
    int SpeakNonLetters = 1;
    int ShortPath = 1;
    int EnableToolTips = 1;
    int EnableTime = 1;
    int vRate = 0;
    int SlowRate = -3;
    int FastRate = 3;
    int UseIgnoreList = 0;
    int ExternalTool = 1;
    int FocusOnRE = 0;
    int UseHover = 1;
    int UseKB = 1;
    int PrintFont = 0;
    int MaxPrintLines = 50;
    int SearchType = 0;
    int ShowPreview = 0;
    int LastRow = 1;
    int TopRow = 1;
    int SpeakShortcuts = 1;
    int IncludeShortcutKey = 1;
    int SpeakMinimalKey = 1;
    int PreviewResize = 1;
    int ImageBG = 2;
    int WideToolbar = 0;
    int DisableSpeech = 0;
    int LastSearchType = 1;
    int SearchTermNumber = 1;
};

extern SettingsRecord Settings;

// Text settings hold at most this many characters.
constexpr size_t SettingTextLimit = 259;

// The INI file beside the program: its base name with ".ini".
std::string SettingsFile();

// How long a read of the INI file, the history or the exclusion list waits
// while another program holds the file: starting on defaults is worse.
constexpr int HeldFileWaitMs = 1500;

// The INI file is there but could not be read: this run never writes over it.
bool SettingsUnreadable();
// As a new process has it: nothing read yet.
void ResetSettingsState();

// "get" loads every key and applies the saved placement to the main window;
// "save" writes the whole file; any other action does nothing.
void LoadOrSaveSettings(const std::string& action);
void LoadSettings();
void SaveSettings();

// The settings as INI text in the file's exact form, and back (pure).
std::string SettingsIniText(const SettingsRecord& values);
void ReadSettingsIni(std::string_view iniText, bool fileExists, SettingsRecord& values);

// The one-line summary of twelve settings, and the caption that shows it.
std::string SettingsSummaryText();
void ShowSettingsSummary();
