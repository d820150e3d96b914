// The two shortcut lists of help mode: every row as the user reads it, what
// Enter and Space do on each kind of row, and the way back.
#include "commands_fixture.h"

#include "command_table/command_ids.h"
#include "commands/help_lists.h"
#include "platform/events.h"
#include "searchbox/status.h"

namespace {

const char kOneRow[] = "Size,Date Modified,Filename\r\n5,01/02/2023 10:00,\"C:\\a\\first.txt\"\r\n";

const Texts kActionRows = {
    "1 Display Settings Shortcuts - F1",
    "2 Online Help - Ctrl+F1",
    "3 Display Action Shortcuts - F2",
    "4 Open Everthing - F3",
    "5 Copy File - Ctrl+D",
    "6 File Search - Ctrl+F",
    "7 Folder Search - Ctrl+G",
    "8 Search All - Ctrl+H",
    "9 Search Custom - Ctrl+I",
    "10 Open File - Ctrl+J",
    "11 Open Folder - Ctrl+K",
    "12 Speak Search Term - Ctrl+L",
    "13 Spell Search Term - Ctrl+M",
    "14 Online Update - Ctrl+O",
    "15 Print - Ctrl+P",
    "16 Fit Columns to Content - Ctrl+R",
    "17 Expand Folder - Ctrl+S",
    "18 Spell File Name - Ctrl+Z",
    "19 Speak File Name - Ctrl+1",
    "20 Speak Folder - Ctrl+2",
    "21 Speak Date - Ctrl+3",
    "22 Speak File Size - Ctrl+4",
    "23 Jump To Folder - Ctrl+9",
    "24 Speak List Location - Ctrl+0 (Zero)",
    "25 Clear Search Term - F4",
    "26 Expand Parent Folder - F5",
    "27 Increase Volume - F6",
    "28 Decrease Volume - F7",
    "29 Mute Speakers - F8",
    "30 Disable Speech - F9",
    "31 Copy Results - Ctrl+Shift+C",
    "32 Show Settings - Ctrl+Shift+D",
    "33 Next Menu - Ctrl+Shift+N",
    "34 Scroll To Selection - Ctrl+Shift+Y",
    "35 Next Status Page - Ctrl+Shift+Z",
};

// With every setting at its first-start value but the shortcut announcements,
// which the tests turn off.
const Texts kSettingsRows = {
    "1 Hide Toolbar Text - Ctrl+B  - OFF",
    "2 Icon Size - Ctrl+E  -  96",
    "3 Enable Speak Letters - Ctrl+N  - Letters",
    "4 Exclude System Folders - Ctrl+Q  - ON",
    "5 Max Search Results - Ctrl+T  -  100",
    "6 Sort Type - Ctrl+U  - Date",
    "7 Show Toolbar - Ctrl+W  - ON",
    "8 Change Colors - Ctrl+Y  - Yellow on Blue",
    "9 Use Short Path - Ctrl+5  - ON",
    "10 Enable ToolTips - Ctrl+6  - Text",
    "11 Enable Time in Date - Ctrl+7  -  ON",
    "12 Speaking Speed - Ctrl+8  - Normal",
    "13 Disable Speech - F9  - OFF",
    "14 Use Ignore List - F10  - OFF",
    "15 External Tool - Ctrl+Shift+B - Simple Lupa",
    "16 Search Term Focus - Ctrl+Shift+F - OFF",
    "17 Lupa Hover - Ctrl+Shift+H - Text",
    "18 Format File Size - Ctrl+Shift+K - ON",
    "19 Print Using Visual Font - Ctrl+Shift+P - OFF",
    "20 Max Print Lines - Ctrl+Shift+E -  50",
    "21 Show Preview - Ctrl+Shift+A - OFF",
    "22 Speak Shortcuts - Ctrl+Shift+S - OFF",
    "23 Increase Font Size - Ctrl+Shift+L -  36",
    "24 Decrease Font Size - Ctrl+Shift+M -  36",
    "25 Preview Resize - Ctrl+Shift+R - ON",
    "26 Image BG Color - Ctrl+Shift+I - Blue",
    "27 Include Shortcut Key - Ctrl+Shift+T - ON",
    "28 Speak Minimal Key - Ctrl+Shift+U - ON",
    "29 Wide Toolbar - Ctrl+Shift+W - OFF",
};

} // namespace

class HelpListsTest : public CommandsTest {
  protected:
    void BeforeStart() override { Put("results.txt", kOneRow); }
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0;
        Settings.FontSize = 36; // as a first start has it, whatever the screen fitted
    }
    Texts Shown() {
        Texts rows;
        for (int row = 1; row <= platform::ListItemCount(); ++row)
            rows.emplace_back(ResultRows.Name(row));
        return rows;
    }
    void Down(int times) {
        for (int i = 0; i < times; ++i)
            Press(VkDown);
    }
    void GoToRow(int row) {
        platform::ListSelectItem(row - 1);
        Forget();
    }
    std::string Row(int n) { return std::string(ResultRows.Name(n)); }
};

TEST_F(HelpListsTest, F1ShowsTheSettingsWithTheirValuesAndAnnouncesThemOnTheFirstRow) {
    Press(VkF1);
    EXPECT_EQ(Settings.SearchType, 5);
    EXPECT_EQ(world().columns[0].header, "Settings Shortcuts");
    EXPECT_EQ(Shown(), kSettingsRows);
    EXPECT_EQ(platform::ListSelectedIndex(), 0);
    EXPECT_EQ(platform::FocusedControl(), platform::ResultListId);
    // The announcement rides on the first row, the last thing said.
    EXPECT_EQ(Spoken(),
              "Opening Settings List : Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF");
    EXPECT_EQ(Settings.LastSearchType, 1) << "a shortcut list is no search";
}

TEST_F(HelpListsTest, F2ShowsTheActionsAndTheSettingsButtonShowsTheSettingsUnannounced) {
    Press(VkF2);
    EXPECT_EQ(Settings.SearchType, 6);
    EXPECT_EQ(world().columns[0].header, "Action Shortcuts");
    EXPECT_EQ(Shown(), kActionRows);
    EXPECT_EQ(Spoken(),
              "Opening Action Shortcuts : Top of List : 1 Display Settings Shortcuts - F1");

    Forget();
    RunCommand(CmdSettingsList);
    EXPECT_EQ(Shown(), kSettingsRows);
    EXPECT_EQ(Heard(), Texts{"Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF"});
    EXPECT_EQ(Beeps(), 1);
}

TEST_F(HelpListsTest, ValuesOutsideTheirStepsShowNothingAndOthersShowTheirWords) {
    Settings.vRate = 5;
    Settings.EnableToolTips = 7;
    Settings.ExternalTool = 3;
    Settings.MaxResults = 0;
    Settings.MaxPrintLines = 0;
    Settings.EnableTime = 0;
    Settings.SortType = 0;
    Settings.ImageBG = 0;
    Settings.EnableSpeakLetters = 3;
    Settings.FG = 0;
    Settings.BG = 16777215;
    Texts rows = SettingsListRows();
    EXPECT_EQ(rows[11], "12 Speaking Speed - Ctrl+8  - ");
    EXPECT_EQ(rows[9], "10 Enable ToolTips - Ctrl+6  - ");
    EXPECT_EQ(rows[14], "15 External Tool - Ctrl+Shift+B - Narrator");
    EXPECT_EQ(rows[4], "5 Max Search Results - Ctrl+T  - Unlimited");
    EXPECT_EQ(rows[19], "20 Max Print Lines - Ctrl+Shift+E - Unlimited");
    EXPECT_EQ(rows[10], "11 Enable Time in Date - Ctrl+7  -  OFF");
    EXPECT_EQ(rows[5], "6 Sort Type - Ctrl+U  - File Name");
    EXPECT_EQ(rows[25], "26 Image BG Color - Ctrl+Shift+I - White");
    EXPECT_EQ(rows[2], "3 Enable Speak Letters - Ctrl+N  - Both");
    EXPECT_EQ(rows[7], "8 Change Colors - Ctrl+Y  - Black on White");
    Settings.vRate = -3;
    EXPECT_EQ(SettingsListRows()[11], "12 Speaking Speed - Ctrl+8  - Slow");
}

TEST_F(HelpListsTest, SpaceOnRowFourTurnsTheExclusionOffAndTheRowSaysSo) {
    Press(VkF1);
    Down(3);
    Forget();
    Press(VkSpace);
    EXPECT_EQ(Settings.ExcludeSystemFolders, 0);
    EXPECT_EQ(Row(4), "4 Exclude System Folders - Ctrl+Q  - OFF");
    EXPECT_EQ(Heard(), Texts{"Exclude System Folders is OFF"});
    EXPECT_EQ(platform::ListSelectedIndex(), 3) << "the list stays on row 4";
    EXPECT_EQ(Settings.SearchType, 5);
    EXPECT_GT(world().controls[platform::ResultListId].redraws, 0);
    EXPECT_NE(world().caption.find("ExcludeSystem-Off"), std::string::npos) << world().caption;
    EXPECT_EQ(world().statusText, "     4  4 Exclude System Folders - Ctrl+Q  - OFF      ");
    EXPECT_EQ(Beeps(), 1);
    for (int other : {1, 2, 3, 5, 29})
        EXPECT_EQ(Row(other), kSettingsRows[other - 1]);

    Forget();
    Press(VkReturn); // Enter does the same
    EXPECT_EQ(Settings.ExcludeSystemFolders, 1);
    EXPECT_EQ(Row(4), "4 Exclude System Folders - Ctrl+Q  - ON");
}

TEST_F(HelpListsTest, RowsThatChangeMoreThanASettingWord) {
    Press(VkF1);
    GoToRow(7);
    Press(VkSpace);
    EXPECT_EQ(Settings.ShowToolbar, 0);
    EXPECT_FALSE(world().toolbarExists);
    EXPECT_EQ(Row(7), "7 Show Toolbar - Ctrl+W  - OFF");
    EXPECT_EQ(Heard(), Texts{"Toolbar is Hidden"});

    GoToRow(14);
    Press(VkSpace);
    EXPECT_EQ(Heard(), Texts{"Ignore List is ON"});
    EXPECT_EQ(Row(14), "14 Use Ignore List - F10  - ON");

    GoToRow(13);
    Press(VkSpace);
    EXPECT_EQ(Settings.DisableSpeech, 1);
    EXPECT_EQ(Spoken(), "Speech is Disabled"); // heard although speech is now off
    EXPECT_EQ(Row(13), "13 Disable Speech - F9  - ON");

    // Both font rows show the size; neither is left showing the old one.
    GoToRow(23);
    Press(VkSpace);
    EXPECT_EQ(Settings.FontSize, 40);
    EXPECT_EQ(Row(23), "23 Increase Font Size - Ctrl+Shift+L -  40");
    EXPECT_EQ(Row(24), "24 Decrease Font Size - Ctrl+Shift+M -  40");
}

// The shortcut itself, not only Enter on its row, changes what the list shows.
TEST_F(HelpListsTest, AShortcutPressedInTheSettingsListShowsTheNewValue) {
    Press(VkF1);
    CtrlShift('L'); // larger type
    EXPECT_EQ(Settings.FontSize, 40);
    EXPECT_EQ(Row(23), "23 Increase Font Size - Ctrl+Shift+L -  40");
    EXPECT_EQ(Row(24), "24 Decrease Font Size - Ctrl+Shift+M -  40");
    Ctrl('Q'); // system folders
    EXPECT_EQ(Row(4), "4 Exclude System Folders - Ctrl+Q  - OFF");
    // The first and the last rows as well.
    Ctrl('B');
    EXPECT_EQ(Row(1), "1 Hide Toolbar Text - Ctrl+B  - ON");
    CtrlShift('W');
    EXPECT_EQ(Row(29), "29 Wide Toolbar - Ctrl+Shift+W - ON");
}

TEST_F(HelpListsTest, RefreshingOutsideTheSettingsListChangesNothing) {
    Press(VkF2);
    Settings.ExcludeSystemFolders = 0;
    RefreshSettingsRow(4);
    EXPECT_EQ(Shown(), kActionRows);
    Press(VkF1);
    RefreshSettingsRow(30); // past the end
    RefreshSettingsRow(0);
    EXPECT_EQ(Row(4), "4 Exclude System Folders - Ctrl+Q  - OFF");
}

TEST_F(HelpListsTest, NoSelectedRowIsSaidWithASmallS) {
    for (int key : {VkF1, VkF2}) {
        Press(key);
        world().selected = -1;
        Forget();
        Press(VkSpace);
        EXPECT_EQ(Heard(), Texts{"No selection"}) << key;
        Press(VkReturn);
        EXPECT_EQ(Heard(), (Texts{"No selection", "No selection"})) << key;
    }
}

TEST_F(HelpListsTest, ActionRowsThatNeedAResultRowAreRefused) {
    Press(VkF2);
    for (int row : {10, 11, 18, 19, 20, 21, 22, 23}) {
        GoToRow(row);
        Press(VkReturn);
        EXPECT_EQ(Heard(), Texts{"Not available when Shortcuts are displayed"}) << row;
        EXPECT_TRUE(world().sentCommands.empty()) << row;
        EXPECT_EQ(Settings.SearchType, 6);
    }
    EXPECT_TRUE(world().openedPages.empty());
}

TEST_F(HelpListsTest, ActionRowsRunTheirCommandsUnannounced) {
    Settings.SpeakShortcuts = 1;
    world().searchText = "texas";
    Press(VkF2);
    GoToRow(12);
    Press(VkSpace);
    EXPECT_EQ(world().sentCommands, std::vector<int>{CmdSpeakSearchTerm});
    EXPECT_EQ(Heard(), Texts{"texas"}) << "a row's command is never announced as a shortcut";
    GoToRow(25);
    Press(VkSpace);
    EXPECT_EQ(world().searchText, "");
    EXPECT_EQ(Heard(), Texts{"Search Term Cleared"});
    EXPECT_EQ(Beeps(), 1);
    GoToRow(24);
    Press(VkReturn);
    EXPECT_EQ(Heard(), Texts{"Line 24 of  35 : File : 24 Speak List Location - Ctrl+0 (Zero)"});
    EXPECT_EQ(Settings.SearchType, 6) << "the list stays";
}

TEST_F(HelpListsTest, ActionRowsOpenEitherListWithoutAnnouncingIt) {
    Press(VkF2);
    GoToRow(1);
    Press(VkReturn);
    EXPECT_EQ(Settings.SearchType, 5);
    EXPECT_EQ(Shown(), kSettingsRows);
    EXPECT_EQ(Heard(), Texts{"Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF"});
    RunCommand(CmdDisplayActionsList);
    GoToRow(3);
    Press(VkSpace);
    EXPECT_EQ(Settings.SearchType, 6);
    EXPECT_EQ(Shown(), kActionRows);
    EXPECT_EQ(Heard(), Texts{"Top of List : 1 Display Settings Shortcuts - F1"});
}

TEST_F(HelpListsTest, FileSearchRowLeavesHelpModeWithTheResult) {
    if (world().esPath.empty()) GTEST_SKIP() << "the native engine was not built";
    scenario::WriteFile(folder + "tree/Texas map.txt", "abc");
    world().esRoots = folder + "tree";
    world().searchText = "texas";
    Press(VkF2);
    GoToRow(6);
    Press(VkReturn);
    EXPECT_EQ(Settings.SearchType, 1);
    EXPECT_EQ(Settings.LastSearchType, 1);
    EXPECT_EQ(Shown(), Texts{"texas map.txt"});
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : texas map.txt");
}

TEST_F(HelpListsTest, OnlineHelpRowOpensThePageBesideTheProgramSilently) {
    Put("lumafind-help.html", "<html></html>");
    Settings.ExternalTool = 1; // no magnifier beside the program: nothing else starts
    Press(VkF2);
    GoToRow(2);
    Press(VkReturn);
    EXPECT_EQ(world().openedPages, Texts{folder + "lumafind-help.html"});
    EXPECT_EQ(Heard(), Texts{});
    EXPECT_TRUE(world().startedPrograms.empty());
    EXPECT_EQ(Settings.SearchType, 6);
}

TEST_F(HelpListsTest, CtrlF1SaysSoAndOpensThePageOrSaysItIsMissing) {
    Settings.ExternalTool = 0;
    Ctrl(VkF1);
    EXPECT_EQ(Heard(), (Texts{"Opening Lumafind Web Site", "Help Page Not Found"}));
    EXPECT_TRUE(world().openedPages.empty());
    Put("lumafind-help.html", "<html></html>");
    Forget();
    Ctrl(VkF1);
    EXPECT_EQ(Heard(), Texts{"Opening Lumafind Web Site"});
    EXPECT_EQ(world().openedPages, Texts{folder + "lumafind-help.html"});
    EXPECT_EQ(Settings.SearchType, 1) << "the page is no list";
}

TEST_F(HelpListsTest, EscReturnsToTheLastResultFromEitherList) {
    for (int key : {VkF1, VkF2}) {
        Press(key);
        Forget();
        Press(VkEscape);
        EXPECT_EQ(Settings.SearchType, 1);
        EXPECT_EQ(Shown(), Texts{"first.txt"});
        EXPECT_EQ(Heard().front(), "Returning to Last Search Result");
    }
}
