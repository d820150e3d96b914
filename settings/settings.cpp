#include "settings/settings.h"

#include "base/text.h"
#include "platform/platform.h"
#include "settings/ini_codec.h"
#include "settings/window_fit.h"

#include <variant>

SettingsRecord Settings;

namespace {

bool FileWasRead = false;
bool FileUnreadable = false;

} // namespace

bool SettingsUnreadable() {
    return FileUnreadable;
}

void ResetSettingsState() {
    FileWasRead = FileUnreadable = false;
}

namespace {

using Field = std::variant<int SettingsRecord::*, std::string SettingsRecord::*>;

struct Key {
    const char* name;
    Field field;
};

#define KEY(name)                                                                                  \
    Key {                                                                                          \
#name, &SettingsRecord::name                                                               \
    }

// The order the file is written in. Reading in this order too gives the same
// values: each key is read on its own.
const Key kSaveOrder[] = {KEY(Left),
                          KEY(Top),
                          KEY(Width),
                          KEY(Height),
                          KEY(SearchTerm),
                          KEY(FontName),
                          KEY(IgnoreList),
                          KEY(Minimized),
                          KEY(Maximized),
                          KEY(FontSize),
                          KEY(FG),
                          KEY(BG),
                          KEY(ShowToolbar),
                          KEY(IconSize),
                          KEY(SortType),
                          KEY(HideToolbarText),
                          KEY(MaxResults),
                          KEY(ExcludeSystemFolders),
                          KEY(EnableSpeakLetters),
                          KEY(SpeakNonLetters),
                          KEY(ShortPath),
                          KEY(EnableToolTips),
                          KEY(EnableTime),
                          KEY(vRate),
                          KEY(SlowRate),
                          KEY(FastRate),
                          KEY(UseIgnoreList),
                          KEY(ExternalTool),
                          KEY(FocusOnRE),
                          KEY(UseHover),
                          KEY(UseKB),
                          KEY(PrintFont),
                          KEY(MaxPrintLines),
                          KEY(SearchType),
                          KEY(ShowPreview),
                          KEY(LastRow),
                          KEY(TopRow),
                          KEY(SpeakShortcuts),
                          KEY(IncludeShortcutKey),
                          KEY(SpeakMinimalKey),
                          KEY(PreviewResize),
                          KEY(ImageBG),
                          KEY(WideToolbar),
                          KEY(DisableSpeech),
                          KEY(LastSearchType),
                          KEY(SearchTermNumber)};

#undef KEY

const char kSection[] = "All";

int ClampToInt(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int(value);
}

// A line break inside a value would split its line in the file.
std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::string ValueText(const SettingsRecord& values, const Field& field) {
    if (auto number = std::get_if<int SettingsRecord::*>(&field))
        return NumberText(values.**number);
    return OneLine(values.*std::get<std::string SettingsRecord::*>(field));
}

} // namespace

std::string SettingsFile() {
    std::string program = platform::ProgramPath();
    size_t slash = program.find_last_of("\\/");
    size_t dot = program.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return program + ".ini";
    return program.substr(0, dot) + ".ini";
}

std::string SettingsIniText(const SettingsRecord& values) {
    IniEntries entries;
    for (const Key& key : kSaveOrder)
        entries.emplace_back(key.name, ValueText(values, key.field));
    return IniWrite(kSection, entries);
}

void ReadSettingsIni(std::string_view iniText, bool fileExists, SettingsRecord& values) {
    const SettingsRecord defaults;
    for (const Key& key : kSaveOrder) {
        std::optional<std::string> text =
            fileExists ? IniLookup(iniText, kSection, key.name) : std::nullopt;
        if (auto number = std::get_if<int SettingsRecord::*>(&key.field)) {
            values.** number = text ? ClampToInt(LeadingNumber(*text)) : defaults.**number;
        } else {
            auto member = std::get<std::string SettingsRecord::*>(key.field);
            values.*member = CutToCharacters(text ? *text : defaults.*member, SettingTextLimit);
        }
    }
}

// A size the file holds is in pixels already; one it lacks is the first-start
// size at 100 %, grown with the scale.
static int SavedSize(std::string_view iniText, bool fileExists, const char* key, int value,
                     int dpi) {
    bool saved = fileExists && IniLookup(iniText, kSection, key).has_value();
    return saved ? value : ScaledPixels(value, dpi);
}

// Saved values that would hide the window or its text are fitted to the
// monitor the window comes up on. Without a file the window stays where it is.
static void ApplyWindowPlacement(std::string_view iniText, bool fromFile) {
    // Onto the saved monitor first: its scale decides the sizes, and the size
    // Windows suggests on the way there must not replace the saved one.
    if (fromFile) {
        platform::Rect at = SavedWindowRect(Settings.Left, Settings.Top, 0, 0);
        platform::MoveMain(at.left, at.top);
    }
    platform::Rect now = platform::GetMainPlacement().normal;
    int dpi = platform::WindowDpi();
    int width = SavedSize(iniText, fromFile, "Width", Settings.Width, dpi);
    int height = SavedSize(iniText, fromFile, "Height", Settings.Height, dpi);
    platform::Rect wanted = fromFile ? SavedWindowRect(Settings.Left, Settings.Top, width, height)
                                     : SavedWindowRect(now.left, now.top, width, height);
    platform::Rect work = platform::WorkAreaNear(wanted);
    Settings.FontSize = FitFontSize(Settings.FontSize, work, dpi);
    platform::Rect fitted = FitWindowRect(wanted, work, Settings.FontSize, dpi);
    platform::SetMainSize(fitted.right - fitted.left, fitted.bottom - fitted.top);
    if (fromFile) platform::MoveMain(fitted.left, fitted.top);
}

// A file that is there but cannot be read is never taken for a missing one:
// its values would be lost at exit. An earlier read's values stay.
void LoadSettings() {
    std::string bytes;
    // Start-up reads twice; the second does not make the user wait again.
    int wait = FileUnreadable ? 0 : HeldFileWaitMs;
    platform::ReadResult result = platform::ReadFileWaiting(SettingsFile(), bytes, wait);
    if (result == platform::ReadResult::Unreadable && FileWasRead) return;
    FileUnreadable = result == platform::ReadResult::Unreadable;
    bool exists = result == platform::ReadResult::Read;
    FileWasRead = FileWasRead || exists;
    std::string text = DecodeFileText(bytes);
    ReadSettingsIni(text, exists, Settings);
    ApplyWindowPlacement(text, exists);
}

void SaveSettings() {
    if (FileUnreadable) return;
    platform::Placement placement = platform::GetMainPlacement();
    Settings.Left = placement.normal.left;
    Settings.Top = placement.normal.top;
    Settings.Width = placement.normal.right - placement.normal.left;
    Settings.Height = placement.normal.bottom - placement.normal.top;
    // The program never starts minimised (nobody could hear where it went), so
    // the key says how it starts: a window minimised from maximised comes back
    // maximised.
    Settings.Minimized = 0;
    Settings.Maximized = placement.maximized || placement.restoresMaximized ? 1 : 0;
    // Written beside the old file and swapped in, so no crash can lose the settings.
    platform::ReplaceFile(SettingsFile(), SettingsIniText(Settings));
}

void LoadOrSaveSettings(const std::string& action) {
    if (action == "get")
        LoadSettings();
    else if (action == "save")
        SaveSettings();
}
