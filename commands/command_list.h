// Every command, one row each, in the order of the accelerator table and then
// the commands no key sends:
//   X(name, id, shortcut as spoken ("Name :: key", blanks and all; nullptr when
//     unnamed), key flags (0: no key sends it), virtual key, beep, handler,
//     toolbar image (0: no button), caption, tooltip)
// The handler is a function the dispatcher sees; nullptr where a setting toggle
// or cycle does the work. Adding a command is one row here and its handler.
#pragma once

// clang-format off
#define LUMAFIND_COMMANDS(X) \
    X(Escape, 539, nullptr, PlainKey, VkEscape, NoBeep, Escape, 0, nullptr, nullptr) \
    X(DisplayActionsList, 546, "Display Actions List :: F2", PlainKey, F(2), NoBeep, OpenActionList, 0, nullptr, nullptr) \
    X(OpenEverything, 547, "Open Everything :: F3", PlainKey, F(3), Beeps, OpenSearchEngineWindow, 0, nullptr, nullptr) \
    X(ClearSearchTerm, 523, "Clear Search Term :: F4", PlainKey, F(4), Beeps, ClearSearchTerm, 0, nullptr, nullptr) \
    X(ExpandParentFolder, 514, "Expand Parent Folder :: F5", PlainKey, F(5), Beeps, ExpandParentFolder, 0, nullptr, nullptr) \
    X(Louder, 570, "Louder :: F6", PlainKey, F(6), NoBeep, SayLouder, 0, nullptr, nullptr) \
    X(Softer, 571, "Softer :: F7", PlainKey, F(7), NoBeep, SaySofter, 0, nullptr, nullptr) \
    X(MuteSpeakers, 569, "Mute Speakers :: F8", PlainKey, F(8), NoBeep, MuteSpeakers, 0, nullptr, nullptr) \
    X(DisableSpeech, 572, "Disable Speech :: F9", PlainKey, F(9), NoBeep, ToggleDisableSpeech, 0, nullptr, nullptr) \
    X(UseIgnoreList, 541, "Use Ignore List :: F10", PlainKey, F(10), NoBeep, nullptr, 0, nullptr, nullptr) \
    X(SelectAll, 519, "Select All  :: C-A", CtrlKey, 'A', Beeps, SelectAllText, 0, nullptr, nullptr) \
    X(HideToolbarText, 528, "Hide Toolbar Text :: C-B", CtrlKey, 'B', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(CopySearchTerm, 520, "Copy Search Term :: C-C", CtrlKey, 'C', Beeps, CopySearchTerm, 0, nullptr, nullptr) \
    X(CopyFile, 510, "Copy File :: C-D", CtrlKey, 'D', NoBeep, CopySelectedFile, 8, " Copy ", " Copy File ") \
    X(IconSize, 537, "Icon Size :: C-E", CtrlKey, 'E', Beeps, ChangeIconSize, 0, nullptr, nullptr) \
    X(SearchForFiles, 505, "Search for Files :: C-F", CtrlKey, 'F', Beeps, SearchFiles, 9, " Files ", " Search Files ") \
    X(SearchForFolders, 506, "Search for Folders :: C-G", CtrlKey, 'G', Beeps, SearchFolders, 10, " Folders ", " Search Folders ") \
    X(SearchAll, 507, "Search All :: C-H", CtrlKey, 'H', Beeps, SearchBoth, 11, " Both ", " Search Both ") \
    X(CustomSearch, 508, "Custom Search ::  C-I", CtrlKey, 'I', Beeps, SearchCustom, 12, " Custom ", " Search Custom ") \
    X(OpenFile, 511, "Open File :: C-J", CtrlKey, 'J', Beeps, OpenSelectedFile, 4, " Open ", " Open Name ") \
    X(OpenFolder, 512, "Open Folder :: C-K", CtrlKey, 'K', Beeps, OpenSelectedFolder, 5, " Open ", " Open Folder ") \
    X(SpeakSearchTerm, 529, "Speak Search Term :: C-L", CtrlKey, 'L', NoBeep, SpeakSearchTerm, 0, nullptr, nullptr) \
    X(SpellSearchTerm, 530, "Spell Search Term :: C-M", CtrlKey, 'M', NoBeep, SpellSearchTerm, 0, nullptr, nullptr) \
    X(SpeakLetters, 532, "Speak Letters :: C-N", CtrlKey, 'N', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(UpdateLumafind, 553, "Update Lumafind :: C-O", CtrlKey, 'O', NoBeep, UpdateProgram, 0, nullptr, nullptr) \
    X(PrintResults, 535, "Print Results ::  C-P", CtrlKey, 'P', Beeps, PrintResultList, 0, nullptr, nullptr) \
    X(ExcludeSystemFolders, 538, "Exclude System Folders :: C-Q", CtrlKey, 'Q', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(FitToContent, 540, "Fit To Content :: C-R", CtrlKey, 'R', Beeps, FitToContent, 0, nullptr, nullptr) \
    X(ExpandFolder, 513, "Expand Folder :: C-S", CtrlKey, 'S', Beeps, ExpandFolder, 13, " Expand ", " Expand Folder ") \
    X(MaxResults, 534, "Max Results :: C-T", CtrlKey, 'T', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(SearchSortType, 533, "Search Sort Type :: C-U", CtrlKey, 'U', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(Paste, 522, "Paste :: C-V", CtrlKey, 'V', Beeps, PasteIntoSearchBox, 0, nullptr, nullptr) \
    X(ShowToolbar, 536, "Show Toolbar :: C-W", CtrlKey, 'W', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(Cut, 521, "Cut :: C-X", CtrlKey, 'X', Beeps, CutSearchTerm, 0, nullptr, nullptr) \
    X(ChangeColors, 509, "Change Colors :: C-Y", CtrlKey, 'Y', Beeps, ChangeColors, 6, " Color ", " Color ") \
    X(SpellName, 531, "Spell Name :: C-Z", CtrlKey, 'Z', NoBeep, SpellFileName, 0, nullptr, nullptr) \
    X(SpeakName, 524, "Speak Name :: C-1", CtrlKey, '1', NoBeep, SpeakName, 0, nullptr, nullptr) \
    X(SpeakFolder, 525, "Speak Folder :: C-2", CtrlKey, '2', NoBeep, SpeakFolder, 0, nullptr, nullptr) \
    X(SpeakDate, 526, "Speak Date :: C-3", CtrlKey, '3', NoBeep, SpeakDate, 0, nullptr, nullptr) \
    X(SpeakFileSize, 527, "Speak File Size :: C-4", CtrlKey, '4', NoBeep, SpeakFileSize, 0, nullptr, nullptr) \
    X(FolderShortPath, 548, "Folder Short Path :: C-5", CtrlKey, '5', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(EnableToolTips, 549, "Enable Tool Tips :: C-6", CtrlKey, '6', Beeps, CycleTooltipMode, 0, nullptr, nullptr) \
    X(ShowTimeInDate, 550, "Show Time in Date :: C-7", CtrlKey, '7', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(SpeechSpeed, 554, "Speech Speed :: C-8", CtrlKey, '8', NoBeep, CycleSpeechRate, 0, nullptr, nullptr) \
    X(JumpToFolders, 555, "Jump To Folders in List :: C-9", CtrlKey, '9', NoBeep, JumpToNextFolder, 0, nullptr, nullptr) \
    X(SpeakLocation, 556, "Speak Location :: C-0", CtrlKey, '0', NoBeep, SpeakLocation, 0, nullptr, nullptr) \
    X(Preview, 562, "Preview :: CS-A", CtrlShiftKey, 'A', NoBeep, nullptr, 16, " Preview ", " Preview Images ") \
    X(ExternalTool, 542, "External Tool :: CS-B", CtrlShiftKey, 'B', Beeps, CycleExternalTool, 0, nullptr, nullptr) \
    X(CopyResults, 559, "Copy Results :: CS-C", CtrlShiftKey, 'C', NoBeep, CopyResultList, 0, nullptr, nullptr) \
    X(ShowSettings, 560, "Show Settings :: CS-D", CtrlShiftKey, 'D', Beeps, ShowSettingsSummary, 0, nullptr, nullptr) \
    X(MaxPrintLines, 552, "MaxPrintLines :: CS-E", CtrlShiftKey, 'E', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(FocusOnSearchTerm, 545, "Focus On Search Term :: CS-F", CtrlShiftKey, 'F', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(ToolbarHover, 543, "Toolbar Hover :: CS-H", CtrlShiftKey, 'H', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(ImageBGColor, 568, "Image BG Color :: CS-I", CtrlShiftKey, 'I', Beeps, CycleImageBackground, 0, nullptr, nullptr) \
    X(FormatAsKB, 551, "Format as KB :: CS-K", CtrlShiftKey, 'K', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(IncreaseFontSize, 557, "Increase Font Size :: CS-L", CtrlShiftKey, 'L', NoBeep, IncreaseFontSize, 0, nullptr, nullptr) \
    X(DecreaseFontSize, 558, "Decrease Font Size :: CS-M", CtrlShiftKey, 'M', NoBeep, DecreaseFontSize, 0, nullptr, nullptr) \
    X(NextMenu, 518, "Next Menu :: CS-N", CtrlShiftKey, 'N', NoBeep, NextToolbarPage, 0, nullptr, nullptr) \
    X(VisualPrintFont, 544, "Visual Print Font :: CS-P", CtrlShiftKey, 'P', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(PreviewResize, 563, "Preview Resize :: CS-R", CtrlShiftKey, 'R', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(SpeakShortcuts, 564, "Speak Shortcuts :: CS-S", CtrlShiftKey, 'S', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(IncludeShortcutKey, 566, "Include Shortcut Key :: CS-T", CtrlShiftKey, 'T', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(SpeakMinimalKey, 567, "Speak Minimal Key :: CS-U", CtrlShiftKey, 'U', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(WideToolbar, 565, "Wide Toolbar ::  CS-W", CtrlShiftKey, 'W', NoBeep, nullptr, 0, nullptr, nullptr) \
    X(ScrollSelectionToTop, 561, nullptr, CtrlShiftKey, 'Y', Beeps, ScrollSelectionToTop, 0, nullptr, nullptr) \
    X(Enter, 1, nullptr, 0, 0, NoBeep, Activate, 0, nullptr, nullptr) \
    X(PreviewClick, 504, nullptr, 0, 0, NoBeep, TogglePreviewResize, 0, nullptr, nullptr) \
    X(SettingsList, 515, nullptr, 0, 0, Beeps, OpenSettingsList, 20, " Settings ", " Help ") \
    X(Print, 516, nullptr, 0, 0, Beeps, PrintResultList, 15, " Print ", " Print Result List ") \
    X(Exit, 517, nullptr, 0, 0, Beeps, platform::CloseMainWindow, 1, " Exit ", " Exit ")
// clang-format on
