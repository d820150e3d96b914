// Esc, Enter, F1 and the commands that hand their work to other parts: who
// acts, in which order, and what the user hears.
#include "commands_fixture.h"

#include "command_table/command_ids.h"
#include "platform/events.h"
#include "searchbox/status.h"

namespace {
const char kOneRow[] = "Size,Date Modified,Filename\r\n5,01/02/2023 10:00,\"C:\\a\\first.txt\"\r\n";
}

class DispatchTest : public CommandsTest {
  protected:
    void BeforeStart() override { Put("results.txt", kOneRow); }
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0;
    }
};

TEST_F(DispatchTest, EscStopsSpeechThenLeavesHelpModeThenCloses) {
    Press(VkF1);
    EXPECT_EQ(Settings.SearchType, 5);
    EXPECT_EQ(ResultRows.Name(1), "1 Hide Toolbar Text - Ctrl+B  - OFF");
    EXPECT_EQ(Spoken(),
              "Opening Settings List : Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF");

    Forget();
    world().voiceSpeaking = true;
    Press(VkEscape); // only silences, even in help mode
    EXPECT_EQ(platform::testing::SpokenTexts(), Texts{""});
    EXPECT_EQ(Settings.SearchType, 5);

    world().voiceSpeaking = false;
    Forget();
    Press(VkEscape);
    EXPECT_EQ(Settings.SearchType, 1);
    EXPECT_EQ(world().transcript.front().text, "Returning to Last Search Result");
    EXPECT_EQ(world().transcript.front().flags, 2u); // said to its end before the reload
    EXPECT_EQ(ResultRows.Name(1), "first.txt");
    EXPECT_TRUE(platform::MainWindowExists());

    Ctrl('5');
    Forget();
    Press(VkEscape);
    EXPECT_FALSE(platform::MainWindowExists());
    EXPECT_EQ(Heard(), Texts{"Exiting Lumafind"});
    EXPECT_NE(Get("lumafind.ini").find("ShortPath= 0"), std::string::npos);
}

TEST_F(DispatchTest, EscLeavesHelpModeEvenWhenTheLastSearchTypeIsCorrupt) {
    Settings.LastSearchType = 6; // hand-edited
    Press(VkF2);
    EXPECT_EQ(Spoken(),
              "Opening Action Shortcuts : Top of List : 1 Display Settings Shortcuts - F1");
    Press(VkEscape);
    EXPECT_EQ(Settings.SearchType, 1);
    Press(VkEscape);
    EXPECT_FALSE(platform::MainWindowExists());
}

TEST_F(DispatchTest, EnterSearchesFromTheSearchBoxAndActsOnTheListRow) {
    if (world().esPath.empty()) GTEST_SKIP() << "the native engine was not built";
    scenario::WriteFile(folder + "tree/Texas map.txt", "abc");
    scenario::WriteFile(folder + "tree/other.txt", "abc");
    world().esRoots = folder + "tree";
    Press(VkF1);
    Forget();
    platform::testing::GiveFocus(platform::ToolbarId);
    Press(VkReturn); // any control but the list: a file search, even in help mode
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(Settings.SearchType, 1);
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : texas map.txt");
    EXPECT_EQ(Beeps(), 0);

    platform::testing::GiveFocus(platform::ResultListId);
    Press(VkReturn);
    // No program is registered for .txt in the testing world.
    EXPECT_EQ(Spoken(), "Using Error: associated program not found to Open texas map.txt");
    EXPECT_EQ(world().shellOpens.size(), 1u);
}

TEST_F(DispatchTest, HelpKeysAndTheProductPage) {
    world().focus = platform::ResultListId;
    Press(93); // the context-menu key counts only in the search box
    EXPECT_EQ(Settings.SearchType, 1);
    platform::testing::GiveFocus(platform::SearchBoxId);
    Forget();
    platform::testing::PressKey(FKey(10), true); // Shift+F10, the other context-menu key
    EXPECT_EQ(Settings.SearchType, 5);
    EXPECT_EQ(world().columns[0].header, "Settings Shortcuts") << "laid out for the list";
    // Only F1 shows the loading row and announces the list.
    EXPECT_EQ(ResultRows.Name(1), "1 Hide Toolbar Text - Ctrl+B  - OFF");
    EXPECT_EQ(Heard(), (Texts{"Results List has focus. ",
                              "Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF"}));

    Forget();
    Put("lumafind-help.html", "<html></html>");
    Settings.ExternalTool = 1; // no magnifier beside the program: nothing else starts
    Ctrl(VkF1);
    EXPECT_EQ(Heard(), Texts{"Opening Lumafind Web Site"});
    EXPECT_EQ(world().openedPages, Texts{folder + "lumafind-help.html"});
    Settings.ExternalTool = 3;
    Ctrl(VkF1);
    EXPECT_EQ(Heard().back(), "Opening Lumafind Web Site"); // Narrator is switched silently
    EXPECT_EQ(world().keyEvents.size(), 6u);
}

TEST_F(DispatchTest, HandOverCommandsSayTheirWords) {
    world().searchText = "texas";
    Ctrl('A');
    EXPECT_EQ(Spoken(), "Select All");
    EXPECT_EQ(world().selStart, 0);
    EXPECT_EQ(world().selEnd, 5);
    Ctrl('L');
    EXPECT_EQ(Spoken(), "texas");
    Press(VkF4);
    EXPECT_EQ(world().searchText, "");
    EXPECT_EQ(Spoken(), "Search Term Cleared");
    Ctrl('L'); // a blank term is named, never silence
    EXPECT_EQ(Spoken(), "Empty");
    Ctrl('E');
    EXPECT_EQ(Spoken(), "Icon Size is  128");
    Ctrl('R');
    EXPECT_EQ(Spoken(), "Columns Resized");
    Press(FKey(6));
    EXPECT_EQ(Spoken(), "Louder");
    Press(FKey(7));
    EXPECT_EQ(Spoken(), "Softer");
    Ctrl('1');
    EXPECT_EQ(Spoken(), "first.txt");
    EXPECT_EQ(Beeps(), 4); // Ctrl+A, F4, Ctrl+E, Ctrl+R
}

TEST_F(DispatchTest, PrintCommandsBeepAndPrint) {
    for (int id : {CmdPrint, CmdPrintResults}) {
        Forget();
        RunCommand(id);
        EXPECT_EQ(Heard(), Texts{"Printing With Small Font ..."}) << id;
        EXPECT_EQ(Beeps(), 1) << id;
    }
    EXPECT_EQ(world().printJobsDone.size(), 2u);
}

TEST_F(DispatchTest, OutsideProgramCommandsBeepAndSayTheirOwnWords) {
    Settings.ExternalTool = 0;
    RunCommand(CmdExternalTool);
    EXPECT_EQ(Heard(), Texts{"External Tool is Simple Lupa"});
    EXPECT_EQ(Beeps(), 1);
    Forget();
    RunCommand(CmdOpenEverything); // no engine is installed in the testing world
    EXPECT_EQ(Heard(), Texts{"Everything Not Found"});
    EXPECT_EQ(Beeps(), 1);
}

TEST_F(DispatchTest, APreviewNotificationOtherThanAClickIsIgnored) {
    OnCommand(CmdPreviewClick, 1); // another notification of the preview control
    EXPECT_EQ(Heard(), Texts{});
}

TEST_F(DispatchTest, UnboundKeysReachTheFocusedControl) {
    using platform::testing::KeyMessage;
    for (int k : {'G', 'J', 'O', 'Q', 'V', 'X'}) {
        Forget();
        CtrlShift(k);
        EXPECT_TRUE(Commands().empty()) << char(k);
        bool reached = false;
        for (const KeyMessage& m : world().keyMessages)
            reached |= m.control == platform::SearchBoxId &&
                       m.message == platform::testing::KeyDownMessage && m.value == k;
        EXPECT_TRUE(reached) << char(k);
    }
    Forget();
    platform::testing::PressKey('F', false, false, true); // Alt+F is not Ctrl+F
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(world().keyMessages[1].message, platform::testing::SysKeyDownMessage);
    EXPECT_EQ(world().searchText, "texas");
    platform::testing::PressKey(FKey(4), false, false, true);
    EXPECT_FALSE(platform::MainWindowExists());
}

TEST_F(DispatchTest, ToolbarExitClosesEvenInHelpMode) {
    Press(VkF1);
    RunCommand(CmdExit);
    EXPECT_FALSE(platform::MainWindowExists());
    EXPECT_EQ(Beeps(), 1);
}

// Which search each key and button really runs, seen in what the engine is
// given: a key wired to the wrong kind would still say "Search".
TEST_F(DispatchTest, EachSearchKeyAndButtonRunsItsOwnKind) {
    std::vector<std::vector<std::string>> runs;
    world().processHandler = [&](const std::vector<std::string>& args) {
        runs.push_back(std::vector<std::string>(args.begin() + 1, args.end()));
        return platform::ProcessResult{true, false, false, 0};
    };
    world().searchText = "texas";
    auto kindOptions = [&]() {
        const std::vector<std::string>& a = runs.back();
        std::string kind = "custom";
        if (std::find(a.begin(), a.end(), "-dm") != a.end()) kind = "both";
        if (std::find(a.begin(), a.end(), "/a-d") != a.end()) kind = "files";
        if (std::find(a.begin(), a.end(), "/ad") != a.end()) kind = "folders";
        return kind + " " + std::to_string(Settings.LastSearchType);
    };
    const std::pair<char, const char*> keys[] = {
        {'F', "files 1"}, {'G', "folders 2"}, {'H', "both 3"}, {'I', "custom 4"}};
    for (auto [key, wanted] : keys) {
        Ctrl(key);
        EXPECT_EQ(kindOptions(), wanted) << "Control " << key;
    }
    const std::pair<int, const char*> buttons[] = {
        {505, "files 1"}, {506, "folders 2"}, {507, "both 3"}, {508, "custom 4"}};
    for (auto [command, wanted] : buttons) {
        OnCommand(command, 0);
        EXPECT_EQ(kindOptions(), wanted) << "button " << command;
    }
    platform::testing::GiveFocus(platform::SearchBoxId);
    Press(VkReturn); // Enter in the search box searches for files
    EXPECT_EQ(kindOptions(), "files 1");
    EXPECT_EQ(runs.size(), 9u);
}
