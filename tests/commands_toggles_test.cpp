// Every setting toggle and cycle: the words the user hears, the beep, and
// what changes on screen.
#include "commands_fixture.h"

#include "command_table/command_ids.h"

class TogglesTest : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0; // the command's own words alone
    }
};

TEST_F(TogglesTest, EveryToggleFlipsBeepsAndSaysItsWords) {
    struct Case {
        int key;
        bool shift;
        int SettingsRecord::*setting;
        const char *message, *on, *off;
    };
    const Case cases[] = {
        {'B', false, &SettingsRecord::HideToolbarText, "Hide Toolbar Text is ", "ON", "OFF"},
        {'U', false, &SettingsRecord::SortType, "Sort Type is ", "Date", "File Name"},
        {'W', false, &SettingsRecord::ShowToolbar, "Toolbar is ", "Displayed", "Hidden"},
        {'Q', false, &SettingsRecord::ExcludeSystemFolders, "Exclude System Folders is ", "ON",
         "OFF"},
        {VkF10, false, &SettingsRecord::UseIgnoreList, "Ignore List is ", "ON", "OFF"},
        {'P', true, &SettingsRecord::PrintFont, "Print With Visual Font is ", "ON", "OFF"},
        {'F', true, &SettingsRecord::FocusOnRE, "Search Term Focus ", "ON", "OFF"},
        {'5', false, &SettingsRecord::ShortPath, "Short Path Name is ", "ON", "OFF"},
        {'7', false, &SettingsRecord::EnableTime, "Include Time in Date is ", "ON", "OFF"},
        {'K', true, &SettingsRecord::UseKB, "Format File Size is ", "ON", "OFF"},
        {'A', true, &SettingsRecord::ShowPreview, "Show Preview is ", "ON", "OFF"},
        {'R', true, &SettingsRecord::PreviewResize, "Preview Resize is ", "ON", "OFF"},
        {'S', true, &SettingsRecord::SpeakShortcuts, "Speak Shortcuts is ", "ON", "OFF"},
        {'W', true, &SettingsRecord::WideToolbar, "Wide Toolbar is ", "ON", "OFF"},
        {'T', true, &SettingsRecord::IncludeShortcutKey, "Include Shortcut Key is ", "ON", "OFF"},
        {'U', true, &SettingsRecord::SpeakMinimalKey, "Speak Minimal Key is ", "ON", "OFF"},
    };
    for (const Case& c : cases) {
        int before = Settings.*c.setting;
        for (int round = 0; round < 2; ++round) {
            Forget();
            Settings.SpeakShortcuts =
                c.setting == &SettingsRecord::SpeakShortcuts ? Settings.SpeakShortcuts : 0;
            if (c.key == VkF10)
                Press(c.key);
            else
                platform::testing::PressKey(c.key, c.shift, true);
            int now = Settings.*c.setting;
            EXPECT_EQ(now, round == 0 ? 1 - before : before) << c.message;
            EXPECT_TRUE(Heard().back().ends_with(std::string(c.message) + (now ? c.on : c.off)))
                << Heard().back();
            EXPECT_EQ(world().beeps, (std::vector<std::pair<int, int>>{{275, 150}}));
        }
    }
}

TEST_F(TogglesTest, DefaultsOfShortPathAndSizeFormatGoOffThenOn) {
    Settings.SpeakShortcuts = 1;
    Settings.SpeakMinimalKey = 0;
    int redraws = world().controls[platform::ResultListId].redraws;
    Ctrl('5');
    Ctrl('5');
    CtrlShift('K');
    CtrlShift('K');
    EXPECT_EQ(Heard(),
              (Texts{"Shortcut Pressed: Folder Short Path : Control 5 : Short Path Name is OFF",
                     "Shortcut Pressed: Folder Short Path : Control 5 : Short Path Name is ON",
                     "Shortcut Pressed: Format as KB : Control Shift K : Format File Size is OFF",
                     "Shortcut Pressed: Format as KB : Control Shift K : Format File Size is ON"}));
    EXPECT_EQ(world().controls[platform::ResultListId].redraws, redraws + 4);
}

TEST_F(TogglesTest, ToolbarFollowsItsToggleAndAHandEditedTwoStillTurnsOff) {
    ASSERT_TRUE(world().toolbarExists);
    Ctrl('W');
    EXPECT_FALSE(world().toolbarExists);
    Ctrl('W');
    EXPECT_TRUE(world().toolbarExists);
    Settings.ExcludeSystemFolders = 2;
    Ctrl('Q');
    EXPECT_EQ(Settings.ExcludeSystemFolders, 0);
    EXPECT_EQ(Spoken(), "Exclude System Folders is OFF");
}

TEST_F(TogglesTest, CyclesStepThroughTheirValues) {
    Texts heard;
    Settings.EnableSpeakLetters = 1;
    for (int i = 0; i < 4; ++i)
        Ctrl('N');
    Settings.UseHover = 3;
    CtrlShift('H');
    Settings.EnableSpeakLetters = -4; // hand-edited out of range
    Ctrl('N');
    EXPECT_EQ(Heard(),
              (Texts{"Speak Text is Words", "Speak Text is Both", "Speak Text is None",
                     "Speak Text is Letters", "Lupa Hover is  OFF", "Speak Text is None"}));
    EXPECT_EQ(Settings.UseHover, 0);
    EXPECT_EQ(Beeps(), 6);
}

TEST_F(TogglesTest, MaxResultsAndMaxPrintLines) {
    Settings.MaxResults = 20;
    Texts results;
    for (int i = 0; i < 8; ++i) {
        Ctrl('T');
        results.push_back(Spoken().substr(std::string("Max Search Results is ").size()));
    }
    EXPECT_EQ(results,
              (Texts{" 50", " 100", " 250", " 1000", " 10000", " 100000", "Unlimited", " 50"}));
    Settings.MaxPrintLines = 20; // edited by hand: the cycle leaves it alone
    CtrlShift('E');
    EXPECT_EQ(Settings.MaxPrintLines, 20);
    EXPECT_EQ(Spoken(), "Max Print Lines is  20");
    Settings.MaxPrintLines = 100;
    CtrlShift('E');
    EXPECT_EQ(Spoken(), "Max Print Lines is Unlimited");
    CtrlShift('E');
    EXPECT_EQ(Spoken(), "Max Print Lines is  10");
}

TEST_F(TogglesTest, DisableSpeechIsHeardBothWaysAndSilencesWhatFollows) {
    Press((VkF1 + 8));
    EXPECT_EQ(Settings.DisableSpeech, 1);
    EXPECT_EQ(Heard(), Texts{"Speech is Disabled"});
    EXPECT_EQ(world().transcript.back().flags, 3u);
    Ctrl('5');
    EXPECT_EQ(Heard().size(), 1u);
    Press((VkF1 + 8));
    EXPECT_EQ(Heard().back(), "Speech is Enabled");
    EXPECT_EQ(Beeps(), 1); // Ctrl+5 only: F9 does not beep
}
