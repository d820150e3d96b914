// What a pressed shortcut announces before the command's own words, under
// each combination of the three announcement settings.
#include "commands_fixture.h"

#include "backends/testing/testing.h"
#include "command_table/command_table.h"
#include "commands/dispatch.h"
#include "commands/toggles.h"
#include "searchbox/status.h"

#include <set>

// Adding a command is one row of the table: these are the rules a row must keep.
TEST(CommandTableTest, EveryCommandIsHandledOnceAndEveryKeyBoundOnce) {
    std::set<std::pair<int, int>> keys;
    std::set<int> ids;
    for (const CommandRow& row : CommandTable()) {
        EXPECT_TRUE(ids.insert(row.id).second) << "a second row for " << row.id;
        EXPECT_NE(HandlerOf(row.id) != nullptr, IsSettingToggleOrCycle(row.id))
            << row.id << " needs exactly one of a handler and a setting toggle";
        if (row.keyFlags != 0) {
            EXPECT_TRUE(keys.insert({row.keyFlags, row.key}).second) << "key of " << row.id;
        }
        // A named command is one the user can reach by its key, and vice versa.
        // Esc is named by what it does at the moment (its test is below).
        bool unnamed = row.id == CmdEscape;
        EXPECT_EQ(row.shortcut != nullptr, row.keyFlags != 0 && !unnamed) << row.id;
        if (row.face.image != 0) {
            EXPECT_TRUE(row.face.caption && row.face.tooltip) << row.id;
        }
    }
    for (int id = FirstCommandId; id <= LastCommandId; ++id)
        EXPECT_TRUE(ids.count(id)) << "command " << id << " has no row";
    EXPECT_EQ(AcceleratorTable().size(), 66u);
    for (const platform::Accelerator& a : AcceleratorTable())
        EXPECT_TRUE(a.flags == 1 || a.flags == 9 || a.flags == 13) << a.command;
    for (int id : {1, 504, 515, 516, 517, 600}) {
        EXPECT_EQ(ShortcutText(id), "Unknown Shortcut :: ");
        EXPECT_EQ(LastShortcutName, "Unknown Shortcut");
        EXPECT_EQ(LastShortcutKey, "");
    }
}

TEST(CatalogueTest, TextsKeepTheirBlanksButSplitTrimmed) {
    EXPECT_EQ(ShortcutText(CmdSelectAll), "Select All  :: C-A");
    EXPECT_EQ(LastShortcutName, "Select All");
    EXPECT_EQ(ShortcutText(CmdCustomSearch), "Custom Search ::  C-I");
    EXPECT_EQ(LastShortcutKey, "C-I");
    EXPECT_EQ(ShortcutText(CmdPrintResults), "Print Results ::  C-P");
    EXPECT_EQ(ShortcutText(CmdWideToolbar), "Wide Toolbar ::  CS-W");
    EXPECT_EQ(LastShortcutName + "|" + LastShortcutKey, "Wide Toolbar|CS-W");
}

TEST(CatalogueTest, ExpandKeyNameRulesInOrder) {
    auto expand = [](const std::string& key) {
        LastShortcutKey = key;
        ExpandKeyName();
        return LastShortcutKey;
    };
    EXPECT_EQ(expand("C-5"), "Control 5");
    EXPECT_EQ(expand("CS-W"), "Control Shift W");
    EXPECT_EQ(expand("CA-X"), "Control Alt X");
    EXPECT_EQ(expand("Q"), "Letter Q");
    EXPECT_EQ(expand("F"), "Letter F"); // one character wins over the F rule
    EXPECT_EQ(expand("F10"), "F10");
    EXPECT_EQ(expand(""), "...");
    EXPECT_EQ(expand("X9"), "...");
}

TEST_F(CommandsTest, CtrlFiveUnderEachCombinationOfTheThreeSettings) {
    struct Case {
        int speak, include, minimal;
        const char* heard;
    };
    const Case cases[] = {
        {1, 1, 0, "Shortcut Pressed: Folder Short Path : Control 5 : Short Path Name is "},
        {1, 1, 1, "Shortcut Pressed: Folder Short Path : C-5 : Short Path Name is "},
        {1, 0, 0, "Shortcut Pressed: Folder Short Path : Short Path Name is "},
        {1, 0, 1, "Shortcut Pressed: Folder Short Path : Short Path Name is "},
        {0, 1, 0, "Short Path Name is "},
        {0, 0, 1, "Short Path Name is "},
    };
    for (const Case& c : cases) {
        Settings.SpeakShortcuts = c.speak;
        Settings.IncludeShortcutKey = c.include;
        Settings.SpeakMinimalKey = c.minimal;
        Settings.ShortPath = 1;
        Forget();
        Ctrl('5');
        EXPECT_EQ(Spoken(), std::string(c.heard) + "OFF") << c.speak << c.include << c.minimal;
        // The last shortcut is kept whatever the settings.
        EXPECT_EQ(LastShortcutName, "Folder Short Path");
    }
}

TEST_F(CommandsTest, KeysWithoutNamesFunctionKeysAndMinimalKeys) {
    Settings.SpeakMinimalKey = 1;
    Ctrl('W');
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Show Toolbar : C-W : Toolbar is Hidden");
    Settings.SpeakMinimalKey = 0;
    Press(VkF10);
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Use Ignore List : F10 : Ignore List is ON");
    CtrlShift('W');
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Wide Toolbar : Control Shift W : Wide Toolbar is ON");
    Settings.IncludeShortcutKey = 0;
    CtrlShift('Y'); // says nothing itself: the announcement rides on the list's focus words
    EXPECT_EQ(Spoken().rfind("Shortcut Pressed: Scroll To Selection : Results List has focus. ", 0),
              0u);
}

// Esc does one of three things, and its announcement names the one it does.
TEST_F(CommandsTest, EscIsAnnouncedByWhatItDoes) {
    Put("results.txt",
        "Size,Date Modified,Filename\r\n5,01/02/2023 10:00,\"C:\\a\\first.txt\"\r\n");
    Settings.SpeakMinimalKey = 0;
    for (int list : {VkF1, VkF2}) {
        Press(list);
        Forget();
        Press(VkEscape);
        // The shortcut list had the focus already, so only the row is said.
        EXPECT_EQ(Heard(), (Texts{"Returning to Last Search Result",
                                  "Shortcut Pressed: Back to Results : Escape : Bottom of List : "
                                  "first.txt"}));
    }
    Settings.SpeakMinimalKey = 1;
    Press(VkF2);
    Press(VkEscape);
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Back to Results : Esc : Bottom of List : first.txt");

    world().voiceSpeaking = true;
    Settings.SpeakMinimalKey = 0;
    Press(VkF2);
    Press(VkEscape);
    EXPECT_EQ(Settings.SearchType, 6) << "it only silenced the voice";
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: Stop Speech : Escape : ");
    world().voiceSpeaking = false;
    Press(VkEscape);
    Press(VkEscape);
    EXPECT_EQ(LastShortcutName, "Exit Lumafind");
    EXPECT_EQ(LastShortcutKey, "Escape");
}

TEST_F(CommandsTest, CommandsFromButtonsAndListsAreNeverAnnounced) {
    Ctrl('5');
    Forget();
    RunCommand(CmdCopyResults); // as row 31 of the action list sends it
    EXPECT_EQ(Heard(), Texts{"Search Results not Found"});
    EXPECT_EQ(LastShortcutName, "Folder Short Path");
    platform::testing::PressKey('C', true, true);
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Copy Results : CS-C : Search Results not Found");
    EXPECT_EQ(Commands().back(), std::make_pair(int(CmdCopyResults), 1));
}

TEST_F(CommandsTest, PrefixWaitsWhileSpeechIsDisabledAndF9DoesNotUseIt) {
    Settings.DisableSpeech = 1;
    Ctrl('5');
    EXPECT_EQ(Heard(), Texts{});
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: Folder Short Path : C-5 : ");
    Press((VkF1 + 8));
    EXPECT_EQ(world().transcript.back().text, "Speech is Enabled");
    EXPECT_EQ(world().transcript.back().flags, 3u);
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: Disable Speech : F9 : ");
    RunCommand(CmdSpeakSearchTerm);
    EXPECT_EQ(Spoken(), "Shortcut Pressed: Disable Speech : F9 : texas");
}
