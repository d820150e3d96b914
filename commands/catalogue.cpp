// The accelerator table and the spoken shortcut names.
#include "commands/catalogue.h"

#include "app/text.h"
#include "commands/command_ids.h"
#include "settings/settings.h"
#include "speech/speech.h"

std::string LastShortcutName;
std::string LastShortcutKey;

namespace {

constexpr uint8_t Key = 1, Shift = 4, Control = 8;
constexpr uint8_t Ctrl = Key | Control, CtrlShift = Key | Control | Shift;

// Windows virtual-key codes; letters and digits are their own characters.
constexpr uint16_t VkEscape = 27, VkF2 = 113;
constexpr uint16_t F(int n) {
    return uint16_t(VkF2 + n - 2);
}

struct CatalogueEntry {
    int id;
    const char* text;
};

// Some texts carry a double blank beside "::"; they are stored as they are
// spoken and trimmed when split.
constexpr CatalogueEntry kCatalogue[] = {
    {CmdDisplayActionsList, "Display Actions List :: F2"},
    {CmdOpenEverything, "Open Everything :: F3"},
    {CmdClearSearchTerm, "Clear Search Term :: F4"},
    {CmdExpandParentFolder, "Expand Parent Folder :: F5"},
    {CmdLouder, "Louder :: F6"},
    {CmdSofter, "Softer :: F7"},
    {CmdMuteSpeakers, "Mute Speakers :: F8"},
    {CmdDisableSpeech, "Disable Speech :: F9"},
    {CmdUseIgnoreList, "Use Ignore List :: F10"},
    {CmdSelectAll, "Select All  :: C-A"},
    {CmdHideToolbarText, "Hide Toolbar Text :: C-B"},
    {CmdCopySearchTerm, "Copy Search Term :: C-C"},
    {CmdCopyFile, "Copy File :: C-D"},
    {CmdIconSize, "Icon Size :: C-E"},
    {CmdSearchForFiles, "Search for Files :: C-F"},
    {CmdSearchForFolders, "Search for Folders :: C-G"},
    {CmdSearchAll, "Search All :: C-H"},
    {CmdCustomSearch, "Custom Search ::  C-I"},
    {CmdOpenFile, "Open File :: C-J"},
    {CmdOpenFolder, "Open Folder :: C-K"},
    {CmdSpeakSearchTerm, "Speak Search Term :: C-L"},
    {CmdSpellSearchTerm, "Spell Search Term :: C-M"},
    {CmdSpeakLetters, "Speak Letters :: C-N"},
    {CmdUpdateLumafind, "Update Lumafind :: C-O"},
    {CmdPrintResults, "Print Results ::  C-P"},
    {CmdExcludeSystemFolders, "Exclude System Folders :: C-Q"},
    {CmdFitToContent, "Fit To Content :: C-R"},
    {CmdExpandFolder, "Expand Folder :: C-S"},
    {CmdMaxResults, "Max Results :: C-T"},
    {CmdSearchSortType, "Search Sort Type :: C-U"},
    {CmdPaste, "Paste :: C-V"},
    {CmdShowToolbar, "Show Toolbar :: C-W"},
    {CmdCut, "Cut :: C-X"},
    {CmdChangeColors, "Change Colors :: C-Y"},
    {CmdSpellName, "Spell Name :: C-Z"},
    {CmdSpeakName, "Speak Name :: C-1"},
    {CmdSpeakFolder, "Speak Folder :: C-2"},
    {CmdSpeakDate, "Speak Date :: C-3"},
    {CmdSpeakFileSize, "Speak File Size :: C-4"},
    {CmdFolderShortPath, "Folder Short Path :: C-5"},
    {CmdEnableToolTips, "Enable Tool Tips :: C-6"},
    {CmdShowTimeInDate, "Show Time in Date :: C-7"},
    {CmdSpeechSpeed, "Speech Speed :: C-8"},
    {CmdJumpToFolders, "Jump To Folders in List :: C-9"},
    {CmdSpeakLocation, "Speak Location :: C-0"},
    {CmdPreview, "Preview :: CS-A"},
    {CmdExternalTool, "External Tool :: CS-B"},
    {CmdCopyResults, "Copy Results :: CS-C"},
    {CmdShowSettings, "Show Settings :: CS-D"},
    {CmdMaxPrintLines, "MaxPrintLines :: CS-E"},
    {CmdFocusOnSearchTerm, "Focus On Search Term :: CS-F"},
    {CmdToolbarHover, "Toolbar Hover :: CS-H"},
    {CmdImageBGColor, "Image BG Color :: CS-I"},
    {CmdFormatAsKB, "Format as KB :: CS-K"},
    {CmdIncreaseFontSize, "Increase Font Size :: CS-L"},
    {CmdDecreaseFontSize, "Decrease Font Size :: CS-M"},
    {CmdNextMenu, "Next Menu :: CS-N"},
    {CmdVisualPrintFont, "Visual Print Font :: CS-P"},
    {CmdPreviewResize, "Preview Resize :: CS-R"},
    {CmdSpeakShortcuts, "Speak Shortcuts :: CS-S"},
    {CmdIncludeShortcutKey, "Include Shortcut Key :: CS-T"},
    {CmdSpeakMinimalKey, "Speak Minimal Key :: CS-U"},
    {CmdWideToolbar, "Wide Toolbar ::  CS-W"},
};

constexpr const char* kUnknownShortcut = "Unknown Shortcut :: ";
constexpr const char* kShortcutPressed = "Shortcut Pressed: ";

} // namespace

const platform::Accelerator Accelerators[AcceleratorCount] = {
    {Key, VkEscape, CmdEscape},
    {Key, F(2), CmdDisplayActionsList},
    {Key, F(3), CmdOpenEverything},
    {Key, F(4), CmdClearSearchTerm},
    {Key, F(5), CmdExpandParentFolder},
    {Key, F(6), CmdLouder},
    {Key, F(7), CmdSofter},
    {Key, F(8), CmdMuteSpeakers},
    {Key, F(9), CmdDisableSpeech},
    {Key, F(10), CmdUseIgnoreList},
    {Ctrl, 'A', CmdSelectAll},
    {Ctrl, 'B', CmdHideToolbarText},
    {Ctrl, 'C', CmdCopySearchTerm},
    {Ctrl, 'D', CmdCopyFile},
    {Ctrl, 'E', CmdIconSize},
    {Ctrl, 'F', CmdSearchForFiles},
    {Ctrl, 'G', CmdSearchForFolders},
    {Ctrl, 'H', CmdSearchAll},
    {Ctrl, 'I', CmdCustomSearch},
    {Ctrl, 'J', CmdOpenFile},
    {Ctrl, 'K', CmdOpenFolder},
    {Ctrl, 'L', CmdSpeakSearchTerm},
    {Ctrl, 'M', CmdSpellSearchTerm},
    {Ctrl, 'N', CmdSpeakLetters},
    {Ctrl, 'O', CmdUpdateLumafind},
    {Ctrl, 'P', CmdPrintResults},
    {Ctrl, 'Q', CmdExcludeSystemFolders},
    {Ctrl, 'R', CmdFitToContent},
    {Ctrl, 'S', CmdExpandFolder},
    {Ctrl, 'T', CmdMaxResults},
    {Ctrl, 'U', CmdSearchSortType},
    {Ctrl, 'V', CmdPaste},
    {Ctrl, 'W', CmdShowToolbar},
    {Ctrl, 'X', CmdCut},
    {Ctrl, 'Y', CmdChangeColors},
    {Ctrl, 'Z', CmdSpellName},
    {Ctrl, '1', CmdSpeakName},
    {Ctrl, '2', CmdSpeakFolder},
    {Ctrl, '3', CmdSpeakDate},
    {Ctrl, '4', CmdSpeakFileSize},
    {Ctrl, '5', CmdFolderShortPath},
    {Ctrl, '6', CmdEnableToolTips},
    {Ctrl, '7', CmdShowTimeInDate},
    {Ctrl, '8', CmdSpeechSpeed},
    {Ctrl, '9', CmdJumpToFolders},
    {Ctrl, '0', CmdSpeakLocation},
    {CtrlShift, 'A', CmdPreview},
    {CtrlShift, 'B', CmdExternalTool},
    {CtrlShift, 'C', CmdCopyResults},
    {CtrlShift, 'D', CmdShowSettings},
    {CtrlShift, 'E', CmdMaxPrintLines},
    {CtrlShift, 'F', CmdFocusOnSearchTerm},
    {CtrlShift, 'H', CmdToolbarHover},
    {CtrlShift, 'I', CmdImageBGColor},
    {CtrlShift, 'K', CmdFormatAsKB},
    {CtrlShift, 'L', CmdIncreaseFontSize},
    {CtrlShift, 'M', CmdDecreaseFontSize},
    {CtrlShift, 'N', CmdNextMenu},
    {CtrlShift, 'P', CmdVisualPrintFont},
    {CtrlShift, 'R', CmdPreviewResize},
    {CtrlShift, 'S', CmdSpeakShortcuts},
    {CtrlShift, 'T', CmdIncludeShortcutKey},
    {CtrlShift, 'U', CmdSpeakMinimalKey},
    {CtrlShift, 'W', CmdWideToolbar},
    {CtrlShift, 'Y', CmdScrollSelectionToTop},
};

void BuildAccelerators() {
    platform::AttachAccelerators(Accelerators, AcceleratorCount);
}

std::string ShortcutText(int id) {
    std::string text = kUnknownShortcut;
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.id == id) text = entry.text;
    size_t split = text.find("::");
    LastShortcutName = std::string(TrimBlanks(std::string_view(text).substr(0, split)));
    LastShortcutKey = std::string(TrimBlanks(std::string_view(text).substr(split + 2)));
    return text;
}

void ExpandKeyName() {
    const std::string& key = LastShortcutKey;
    std::string afterDash = key.substr(key.find('-') + 1);
    if (key.size() == 1)
        LastShortcutKey = "Letter " + key;
    else if (key.find("C-") != std::string::npos)
        LastShortcutKey = "Control " + afterDash;
    else if (key.find("CS-") != std::string::npos)
        LastShortcutKey = "Control Shift " + afterDash;
    else if (key.find("CA-") != std::string::npos)
        LastShortcutKey = "Control Alt " + afterDash;
    else if (!key.starts_with("F"))
        LastShortcutKey = "...";
}

void AnnounceShortcut(int id) {
    ShortcutText(id);
    if (Settings.IncludeShortcutKey == 0) {
        SpeechPrefix = kShortcutPressed + LastShortcutName + " : ";
        return;
    }
    if (Settings.SpeakMinimalKey == 0) ExpandKeyName();
    SpeechPrefix = kShortcutPressed + LastShortcutName + " : " + LastShortcutKey + " : ";
}
