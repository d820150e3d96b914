// Every command, one row each, in the order of the accelerator table and then
// the commands no key sends:
//   X(name, id, shortcut as spoken ("Name :: key", blanks and all; nullptr when
//     unnamed), key flags (0: no key sends it), virtual key, beep, handler,
//     toolbar image (0: no button), caption, tooltip,
//     name in the shortcut lists (nullptr: in neither), what it does)
// The last line of a row is what the help lists and the help page show; the
// page is made from this file at build time, so it lists exactly these rows.
// The handler is a function the dispatcher sees; nullptr where a setting toggle
// or cycle does the work. Adding a command is one row here and its handler.
#pragma once

// clang-format off
#define LUMAFIND_COMMANDS(X) \
    X(Escape, 539, nullptr, PlainKey, VkEscape, NoBeep, Escape, 0, nullptr, nullptr, \
      nullptr, "Stops the speech; in a shortcut list, returns to the last search result; otherwise closes Lumafind") \
    X(DisplayActionsList, 546, "Display Actions List :: F2", PlainKey, F(2), NoBeep, OpenActionList, 0, nullptr, nullptr, \
      "Display Action Shortcuts", "Shows the list of action shortcuts; Enter or Space runs the chosen one") \
    X(OpenEverything, 547, "Open Everything :: F3", PlainKey, F(3), Beeps, OpenSearchEngineWindow, 0, nullptr, nullptr, \
      "Open Everthing", "Opens the search engine's own window") \
    X(ClearSearchTerm, 523, "Clear Search Term :: F4", PlainKey, F(4), Beeps, ClearSearchTerm, 0, nullptr, nullptr, \
      "Clear Search Term", "Empties the search box") \
    X(ExpandParentFolder, 514, "Expand Parent Folder :: F5", PlainKey, F(5), Beeps, ExpandParentFolder, 0, nullptr, nullptr, \
      "Expand Parent Folder", "Lists the contents of the folder above the one that holds the selected row") \
    X(Louder, 570, "Louder :: F6", PlainKey, F(6), NoBeep, SayLouder, 0, nullptr, nullptr, \
      "Increase Volume", "Turns the system volume up") \
    X(Softer, 571, "Softer :: F7", PlainKey, F(7), NoBeep, SaySofter, 0, nullptr, nullptr, \
      "Decrease Volume", "Turns the system volume down") \
    X(MuteSpeakers, 569, "Mute Speakers :: F8", PlainKey, F(8), NoBeep, MuteSpeakers, 0, nullptr, nullptr, \
      "Mute Speakers", "Mutes or unmutes the speakers") \
    X(DisableSpeech, 572, "Disable Speech :: F9", PlainKey, F(9), NoBeep, ToggleDisableSpeech, 0, nullptr, nullptr, \
      "Disable Speech", "Turns Lumafind's speech off or on") \
    X(UseIgnoreList, 541, "Use Ignore List :: F10", PlainKey, F(10), NoBeep, nullptr, 0, nullptr, nullptr, \
      "Use Ignore List", "Leaves results matching the ignore list out of the list, or not") \
    X(SelectAll, 519, "Select All  :: C-A", CtrlKey, 'A', Beeps, SelectAllText, 0, nullptr, nullptr, \
      nullptr, "Selects the whole search term") \
    X(HideToolbarText, 528, "Hide Toolbar Text :: C-B", CtrlKey, 'B', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Hide Toolbar Text", "Hides or shows the captions under the toolbar buttons") \
    X(CopySearchTerm, 520, "Copy Search Term :: C-C", CtrlKey, 'C', Beeps, CopyAndConfirm, 0, nullptr, nullptr, \
      nullptr, "Copies the search term, or its selected part, to the clipboard; in the result list, the selected row's folder") \
    X(CopyFile, 510, "Copy File :: C-D", CtrlKey, 'D', NoBeep, CopySelectedFile, 8, " Copy ", " Copy File ", \
      "Copy File", "Copies the selected file to the clipboard, ready to paste in a folder") \
    X(IconSize, 537, "Icon Size :: C-E", CtrlKey, 'E', Beeps, ChangeIconSize, 0, nullptr, nullptr, \
      "Icon Size", "Makes the toolbar icons the next size") \
    X(SearchForFiles, 505, "Search for Files :: C-F", CtrlKey, 'F', Beeps, SearchFiles, 9, " Files ", " Search Files ", \
      "File Search", "Searches for files whose names hold the search term") \
    X(SearchForFolders, 506, "Search for Folders :: C-G", CtrlKey, 'G', Beeps, SearchFolders, 10, " Folders ", " Search Folders ", \
      "Folder Search", "Searches for folders whose names hold the search term") \
    X(SearchAll, 507, "Search All :: C-H", CtrlKey, 'H', Beeps, SearchBoth, 11, " Both ", " Search Both ", \
      "Search All", "Searches for files and folders whose names hold the search term") \
    X(CustomSearch, 508, "Custom Search ::  C-I", CtrlKey, 'I', Beeps, SearchCustom, 12, " Custom ", " Search Custom ", \
      "Search Custom", "Searches with the search term as the engine's own query, filter names included") \
    X(OpenFile, 511, "Open File :: C-J", CtrlKey, 'J', Beeps, OpenSelectedFile, 4, " Open ", " Open Name ", \
      "Open File", "Opens the selected file with its program") \
    X(OpenFolder, 512, "Open Folder :: C-K", CtrlKey, 'K', Beeps, OpenSelectedFolder, 5, " Open ", " Open Folder ", \
      "Open Folder", "Opens the folder that holds the selected file") \
    X(SpeakSearchTerm, 529, "Speak Search Term :: C-L", CtrlKey, 'L', NoBeep, SpeakSearchTerm, 0, nullptr, nullptr, \
      "Speak Search Term", "Says the search term") \
    X(SpellSearchTerm, 530, "Spell Search Term :: C-M", CtrlKey, 'M', NoBeep, SpellSearchTerm, 0, nullptr, nullptr, \
      "Spell Search Term", "Spells the search term letter by letter") \
    X(SpeakLetters, 532, "Speak Letters :: C-N", CtrlKey, 'N', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Enable Speak Letters", "Chooses what typing says: nothing, letters, words or both") \
    X(UpdateLumafind, 553, "Update Lumafind :: C-O", CtrlKey, 'O', NoBeep, UpdateProgram, 0, nullptr, nullptr, \
      "Online Update", "Downloads and installs a newer Lumafind") \
    X(PrintResults, 535, "Print Results ::  C-P", CtrlKey, 'P', Beeps, PrintResultList, 0, nullptr, nullptr, \
      "Print", "Prints the names in the result list") \
    X(ExcludeSystemFolders, 538, "Exclude System Folders :: C-Q", CtrlKey, 'Q', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Exclude System Folders", "Leaves the system folders out of searches, or not") \
    X(FitToContent, 540, "Fit To Content :: C-R", CtrlKey, 'R', Beeps, FitToContent, 0, nullptr, nullptr, \
      "Fit Columns to Content", "Fits the list's columns to their contents") \
    X(ExpandFolder, 513, "Expand Folder :: C-S", CtrlKey, 'S', Beeps, ExpandFolder, 13, " Expand ", " Expand Folder ", \
      "Expand Folder", "Lists the contents of the folder that holds the selected row") \
    X(MaxResults, 534, "Max Results :: C-T", CtrlKey, 'T', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Max Search Results", "Chooses how many results a search may find") \
    X(SearchSortType, 533, "Search Sort Type :: C-U", CtrlKey, 'U', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Sort Type", "Sorts results by date, newest first, or by name") \
    X(Paste, 522, "Paste :: C-V", CtrlKey, 'V', Beeps, PasteIntoSearchBox, 0, nullptr, nullptr, \
      nullptr, "Pastes the clipboard's text into the search box") \
    X(ShowToolbar, 536, "Show Toolbar :: C-W", CtrlKey, 'W', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Show Toolbar", "Shows or hides the toolbar") \
    X(Cut, 521, "Cut :: C-X", CtrlKey, 'X', Beeps, CutSearchTerm, 0, nullptr, nullptr, \
      nullptr, "Moves the selected part of the search term to the clipboard") \
    X(ChangeColors, 509, "Change Colors :: C-Y", CtrlKey, 'Y', Beeps, ChangeColors, 6, " Color ", " Color ", \
      "Change Colors", "Changes to the next colour scheme") \
    X(SpellName, 531, "Spell Name :: C-Z", CtrlKey, 'Z', NoBeep, SpellFileName, 0, nullptr, nullptr, \
      "Spell File Name", "Spells the selected name letter by letter") \
    X(SpeakName, 524, "Speak Name :: C-1", CtrlKey, '1', NoBeep, SpeakName, 0, nullptr, nullptr, \
      "Speak File Name", "Says the selected row's name") \
    X(SpeakFolder, 525, "Speak Folder :: C-2", CtrlKey, '2', NoBeep, SpeakFolder, 0, nullptr, nullptr, \
      "Speak Folder", "Says the selected row's folder") \
    X(SpeakDate, 526, "Speak Date :: C-3", CtrlKey, '3', NoBeep, SpeakDate, 0, nullptr, nullptr, \
      "Speak Date", "Says the selected row's date") \
    X(SpeakFileSize, 527, "Speak File Size :: C-4", CtrlKey, '4', NoBeep, SpeakFileSize, 0, nullptr, nullptr, \
      "Speak File Size", "Says the selected row's size") \
    X(FolderShortPath, 548, "Folder Short Path :: C-5", CtrlKey, '5', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Use Short Path", "Shows folders in short form or whole") \
    X(EnableToolTips, 549, "Enable Tool Tips :: C-6", CtrlKey, '6', Beeps, CycleTooltipMode, 0, nullptr, nullptr, \
      "Enable ToolTips", "Chooses whether toolbar tips are shown, spoken, both or neither") \
    X(ShowTimeInDate, 550, "Show Time in Date :: C-7", CtrlKey, '7', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Enable Time in Date", "Shows the time in the Date column, or not") \
    X(SpeechSpeed, 554, "Speech Speed :: C-8", CtrlKey, '8', NoBeep, CycleSpeechRate, 0, nullptr, nullptr, \
      "Speaking Speed", "Makes the voice slow, normal or fast") \
    X(JumpToFolders, 555, "Jump To Folders in List :: C-9", CtrlKey, '9', NoBeep, JumpToNextFolder, 0, nullptr, nullptr, \
      "Jump To Folder", "Moves to the next folder in the list") \
    X(SpeakLocation, 556, "Speak Location :: C-0", CtrlKey, '0', NoBeep, SpeakLocation, 0, nullptr, nullptr, \
      "Speak List Location", "Says which row of how many is selected") \
    X(Preview, 562, "Preview :: CS-A", CtrlShiftKey, 'A', NoBeep, nullptr, 16, " Preview ", " Preview Images ", \
      "Show Preview", "Shows or hides the image preview beside the list") \
    X(ExternalTool, 542, "External Tool :: CS-B", CtrlShiftKey, 'B', Beeps, CycleExternalTool, 0, nullptr, nullptr, \
      "External Tool", "Chooses the magnifier or screen reader started with the help page") \
    X(CopyResults, 559, "Copy Results :: CS-C", CtrlShiftKey, 'C', NoBeep, CopyResultList, 0, nullptr, nullptr, \
      "Copy Results", "Copies the last search's result file, results.txt, to the clipboard as the engine wrote it") \
    X(ShowSettings, 560, "Show Settings :: CS-D", CtrlShiftKey, 'D', Beeps, ShowSettingsSummary, 0, nullptr, nullptr, \
      "Show Settings", "Shows all settings in the window's title") \
    X(MaxPrintLines, 552, "MaxPrintLines :: CS-E", CtrlShiftKey, 'E', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Max Print Lines", "Chooses how many names a print may hold") \
    X(FocusOnSearchTerm, 545, "Focus On Search Term :: CS-F", CtrlShiftKey, 'F', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Search Term Focus", "After a search, leaves the focus in the search box or in the list") \
    X(ToolbarHover, 543, "Toolbar Hover :: CS-H", CtrlShiftKey, 'H', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Lupa Hover", "Chooses what pointing at a toolbar button does for the magnifier") \
    X(ImageBGColor, 568, "Image BG Color :: CS-I", CtrlShiftKey, 'I', Beeps, CycleImageBackground, 0, nullptr, nullptr, \
      "Image BG Color", "Changes the preview's background colour") \
    X(FormatAsKB, 551, "Format as KB :: CS-K", CtrlShiftKey, 'K', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Format File Size", "Shows sizes in KB and MB, or in bytes") \
    X(IncreaseFontSize, 557, "Increase Font Size :: CS-L", CtrlShiftKey, 'L', NoBeep, IncreaseFontSize, 0, nullptr, nullptr, \
      "Increase Font Size", "Makes the type larger") \
    X(DecreaseFontSize, 558, "Decrease Font Size :: CS-M", CtrlShiftKey, 'M', NoBeep, DecreaseFontSize, 0, nullptr, nullptr, \
      "Decrease Font Size", "Makes the type smaller") \
    X(NextMenu, 518, "Next Menu :: CS-N", CtrlShiftKey, 'N', NoBeep, NextToolbarPage, 0, nullptr, nullptr, \
      "Next Menu", "Shows the next page of toolbar buttons") \
    X(VisualPrintFont, 544, "Visual Print Font :: CS-P", CtrlShiftKey, 'P', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Print Using Visual Font", "Prints in the screen's large type, or in the printer's") \
    X(PreviewResize, 563, "Preview Resize :: CS-R", CtrlShiftKey, 'R', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Preview Resize", "Fits the preview to its pane, or shows it at its own size") \
    X(SpeakShortcuts, 564, "Speak Shortcuts :: CS-S", CtrlShiftKey, 'S', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Speak Shortcuts", "Says the name of each shortcut pressed, or not") \
    X(IncludeShortcutKey, 566, "Include Shortcut Key :: CS-T", CtrlShiftKey, 'T', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Include Shortcut Key", "Adds the key to the spoken shortcut name, or not") \
    X(SpeakMinimalKey, 567, "Speak Minimal Key :: CS-U", CtrlShiftKey, 'U', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Speak Minimal Key", "Says the key in short form, or in words") \
    X(WideToolbar, 565, "Wide Toolbar ::  CS-W", CtrlShiftKey, 'W', NoBeep, nullptr, 0, nullptr, nullptr, \
      "Wide Toolbar", "Makes the toolbar buttons wide, or narrow") \
    X(ScrollSelectionToTop, 561, "Scroll To Selection :: CS-Y", CtrlShiftKey, 'Y', Beeps, ScrollSelectionToTop, 0, nullptr, nullptr, \
      "Scroll To Selection", "Scrolls the selected row to the top of the list") \
    X(NextStatusPage, 573, "Next Status Page :: CS-Z", CtrlShiftKey, 'Z', NoBeep, ShowNextStatusPage, 0, nullptr, nullptr, \
      "Next Status Page", "Where the selected row's text is too long for the status bar, shows its next lines there, then its first again") \
    X(Enter, 1, nullptr, 0, 0, NoBeep, Activate, 0, nullptr, nullptr, \
      nullptr, "In the search box, searches for files; in the list, opens the file or runs the shortcut row") \
    X(PreviewClick, 504, nullptr, 0, 0, Beeps, ResizePreviewByClick, 0, nullptr, nullptr, \
      nullptr, "A click on the preview fits the picture to the pane, or not") \
    X(SettingsList, 515, nullptr, 0, 0, Beeps, OpenSettingsList, 20, " Settings ", " Help ", \
      nullptr, "Shows the list of settings with their values; Enter or Space changes the chosen one") \
    X(Print, 516, nullptr, 0, 0, Beeps, PrintResultList, 15, " Print ", " Print Result List ", \
      nullptr, "Prints the names in the result list") \
    X(Exit, 517, nullptr, 0, 0, Beeps, platform::CloseMainWindow, 1, " Exit ", " Exit ", \
      nullptr, "Closes Lumafind")
// clang-format on

// The keys the window answers without a command of this list, for the help
// page and the shortcut lists:
//   X(name, key as written, where it works (nullptr: anywhere),
//     name in the shortcut lists (nullptr: in neither), what it does)
// F1 arrives as the window's help message and Ctrl+F1 with it; the others are
// the controls' own keys, which the program speaks.
// clang-format off
#define LUMAFIND_WINDOW_KEYS(X) \
    X(SettingsListKey, "F1", nullptr, \
      "Display Settings Shortcuts", "Shows the list of settings with their values; Enter or Space changes the chosen one") \
    X(HelpPageKey, "Ctrl+F1", nullptr, \
      "Online Help", "Opens this keyboard reference in your web browser, then starts the external tool chosen with Ctrl+Shift+B") \
    X(TabKey, "Tab, Shift+Tab", nullptr, \
      nullptr, "Moves between the search box, the result list and the toolbar, and says where you are") \
    X(MouseWheel, "Mouse wheel", nullptr, \
      nullptr, "Rolled away from you, makes the type larger; towards you, smaller") \
    X(ListUpDown, "Up, Down", "In the list", \
      nullptr, "Moves to the row above or below and says its name") \
    X(ListHomeEnd, "Home, End", "In the list", \
      nullptr, "Moves to the first or the last row") \
    X(ListPageKeys, "Page Up, Page Down", "In the list", \
      nullptr, "Moves a screenful of rows up or down") \
    X(FirstLetter, "A letter or digit", "In the list", \
      nullptr, "Moves to the next row whose name begins with it") \
    X(ListSpace, "Space", "In the F1 or F2 list", \
      nullptr, "Uses the selected row, as Enter does") \
    X(BoxUpDown, "Up, Down", "In the search box", \
      nullptr, "Brings back your last five search terms, one at a time") \
    X(BoxLeftRight, "Left, Right", "In the search box", \
      nullptr, "Moves the caret and says the character it passes") \
    X(BoxHomeEnd, "Home, End", "In the search box", \
      nullptr, "Moves to the start or the end of the search term") \
    X(BoxErase, "BackSpace, Delete", "In the search box", \
      nullptr, "Erases a character, or the selected text, and says what it erased") \
    X(BoxCapsLock, "Caps Lock", "In the search box", \
      nullptr, "Says whether capitals are on") \
    X(BoxMenuKey, "Menu key", "In the search box", \
      nullptr, "Shows the list of settings, as F1 does")
// clang-format on
