// Reading a column, the position, and jumping through the list.
#include "results_fixture.h"

#include "platform/events.h"
#include "results/navigation.h"

using platform::testing::PressKey;

class SpeakColumnTest : public ResultsTest {};

TEST_F(SpeakColumnTest, SpeaksEachColumnAsTheListShowsIt) {
    Show({{"docs", true, "c:\\users\\ann\\documents\\reports\\", "02/01/2023 09:00"}});
    SpeakColumn(1);
    EXPECT_EQ(Spoken(), "(f) docs");
    Settings.ShortPath = 1;
    SpeakColumn(2);
    EXPECT_EQ(Spoken(), "c:\\users\\...\\reports");
    Settings.EnableTime = 0;
    SpeakColumn(3);
    EXPECT_EQ(Spoken(), "02/01/2023");
    SpeakColumn(4);
    EXPECT_EQ(Spoken(), "");
}

TEST_F(SpeakColumnTest, TheEmptyPlaceholderIsSpokenAsAnEmptyList) {
    ResetResultRows();
    SpeakColumn(1);
    EXPECT_EQ(Spoken(), "List is Empty");
}

TEST_F(SpeakColumnTest, CommandsThatNeedARowSayNoSelection) {
    Show({{"a.txt"}, {"docs", true}});
    platform::ListDeleteAllItems();
    platform::ListSetItemCount(2);
    SpeakColumn(1);
    SpeakLocation();
    JumpToNextFolder();
    ScrollSelectionToTop();
    EXPECT_EQ(platform::testing::SpokenTexts(), std::vector<std::string>(4, "No Selection"));
    EXPECT_EQ(Selected(), 0);
}

TEST_F(SpeakColumnTest, ColumnAndLocationAreSilentWhileSpeechIsDisabled) {
    Show({{"a.txt"}});
    SpeechPrefix = "Shortcut Pressed: ";
    Settings.DisableSpeech = 1;
    SpeakColumn(1);
    SpeakLocation();
    EXPECT_EQ(Heard(), 0u);
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: ");
}

class SpeakLocationTest : public ResultsTest {};

TEST_F(SpeakLocationTest, NumbersCarryTheirOwnBlank) {
    Show({{"a.txt"}, {"docs", true}, {"c.txt"}});
    SelectRow(2);
    SpeakLocation();
    EXPECT_EQ(Spoken(), "Line 2 of  3 : Folder : docs");
    SelectRow(3);
    SpeakLocation();
    EXPECT_EQ(Spoken(), "Line 3 of  3 : File : c.txt");
}

TEST_F(SpeakLocationTest, TheSettingsListLeavesOutTheKind) {
    Show({{"Speak Text is Letters"}, {"Font Size is  36"}});
    Settings.SearchType = 5;
    SpeakLocation();
    EXPECT_EQ(Spoken(), "Line 1 of  2 : Speak Text is Letters");
}

class FolderJumpTest : public ResultsTest {};

TEST_F(FolderJumpTest, FindsTheNextFolderAndWaitsBeforeSelectingIt) {
    Show({{"a.txt"}, {"b.txt"}, {"docs", true}, {"more", true}});
    JumpToNextFolder();
    EXPECT_EQ(Selected(), 3);
    ASSERT_EQ(Heard(), 2u);
    EXPECT_EQ(world().transcript[0].text, "Folder Found");
    EXPECT_EQ(world().transcript[0].flags, platform::SpeakPurgeBeforeSpeak); // waits
    EXPECT_EQ(world().transcript[1].text, "Folder : docs");
    JumpToNextFolder();
    EXPECT_EQ(Selected(), 4);
    EXPECT_EQ(Spoken(), "Bottom of List : Folder : more");
}

TEST_F(FolderJumpTest, LooksOnlyForwardWithoutWrapping) {
    Show({{"docs", true}, {"a.txt"}, {"b.txt"}});
    SelectRow(3);
    world().transcript.clear();
    JumpToNextFolder();
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Spoken(), "Folder Not Found in List");
    EXPECT_EQ(Heard(), 1u);
}

class FirstLetterTest : public ResultsTest {
  protected:
    void SetUp() override {
        ResultsTest::SetUp();
        Show({{"apple.txt"},
              {"banana.txt"},
              {"7 wonders.pdf"},
              {"Avocado.txt"},
              {"cherry"},
              {"(copy) a.txt"}});
        world().focus = platform::ResultListId;
    }
};

TEST_F(FirstLetterTest, LettersIgnoreCaseAndDigitsMatchThemselves) {
    PressKey('A');
    EXPECT_EQ(Selected(), 4) << "the search starts below the selected row";
    EXPECT_EQ(Spoken(), "Avocado.txt");
    PressKey('7');
    EXPECT_EQ(Selected(), 4) << "no wrap to the top";
    SelectRow(1);
    PressKey('7');
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Spoken(), "7 wonders.pdf");
}

// The ends of the letter and digit ranges, and the last row.
TEST_F(FirstLetterTest, TheFirstAndLastLettersAndDigitsJumpTooToTheLastRow) {
    Show({{"start.txt"}, {"0 day.txt"}, {"9 lives.txt"}, {"a.txt"}, {"Zoo"}});
    for (auto [key, row] :
         {std::pair{'0', 2}, std::pair{'9', 3}, std::pair{'A', 4}, std::pair{'Z', 5}}) {
        EXPECT_TRUE(OnListKeyDown(key)) << char(key);
        EXPECT_EQ(Selected(), row) << char(key);
    }
    EXPECT_EQ(Spoken(), "Bottom of List : Zoo");
}

TEST_F(FirstLetterTest, NothingFoundStaysSilent) {
    PressKey('Z');
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Heard(), 0u);
}

TEST_F(FirstLetterTest, KeysThatTypeNoLetterOrDigitNeverJump) {
    // Down arrow is 0x28, the code of "(": it must not jump to "(copy) a.txt".
    EXPECT_FALSE(OnListKeyDown(VkDown));
    EXPECT_FALSE(OnListKeyDown(0x70)); // F1, the code of "p"
    EXPECT_FALSE(OnListKeyDown(0x61)); // number pad 1, the code of "a"
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Heard(), 0u);
}

TEST_F(FirstLetterTest, ALetterWithControlIsAShortcutNotAJump) {
    world().keyStates[VkControl] = 0x8000;
    EXPECT_FALSE(OnListKeyDown('C'));
    EXPECT_EQ(Selected(), 1);
    world().keyStates[VkControl] = 0;
    EXPECT_TRUE(OnListKeyDown('C'));
    EXPECT_EQ(Selected(), 5);
}

TEST_F(FirstLetterTest, SpaceInTheShortcutListsActivatesInsteadOfJumping) {
    Show({{"Speak Text is Letters"}, {" Exit"}});
    Settings.SearchType = 5;
    EXPECT_TRUE(OnListKeyDown(VkSpace));
    EXPECT_EQ(Selected(), 1);
    Settings.SearchType = 1;
    // Activating a settings row shows the real settings rows again.
    Show({{"Speak Text is Letters"}, {" Exit"}});
    EXPECT_TRUE(OnListKeyDown(VkSpace)) << "outside help mode Space is a first letter";
    EXPECT_EQ(Selected(), 2);
}

class ListOrderTest : public ResultsTest {};

TEST_F(ListOrderTest, AColumnClickSortsFlipsDirectionAndRedraws) {
    Show({{"b.txt"}, {"c.txt"}, {"a.txt"}});
    int redraws = world().controls[platform::ResultListId].redraws;
    OnListColumnClick(1);
    EXPECT_EQ(ResultRows.Name(1), "c.txt");
    EXPECT_EQ(ResultRows.Name(3), "a.txt");
    EXPECT_EQ(Selected(), 1);
    EXPECT_GT(world().controls[platform::ResultListId].redraws, redraws);
    // Row 1 stayed selected, yet the status bar tells what row 1 is now.
    EXPECT_EQ(CurrentFile, "c:\\data\\c.txt");
    EXPECT_NE(world().statusText.find("c.txt"), std::string::npos);
    EXPECT_EQ(Heard(), 0u);
    SelectRow(3);
    world().transcript.clear();
    OnListColumnClick(1);
    EXPECT_EQ(ResultRows.Name(1), "a.txt");
    EXPECT_EQ(platform::testing::SpokenTexts(), std::vector<std::string>{"Top of List : a.txt"})
        << "moving the selection to row 1 speaks it, once";
}

TEST_F(ListOrderTest, ScrollSelectionToTopMakesTheSelectedRowTheTopRow) {
    Show({{"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}, {"7"}, {"8"}, {"9"}});
    world().focus = platform::SearchBoxId;
    SelectRow(8);
    ScrollSelectionToTop();
    EXPECT_EQ(world().topIndex, 7);
    EXPECT_EQ(world().focus, platform::ResultListId);
    SelectRow(2);
    ScrollSelectionToTop();
    EXPECT_EQ(world().topIndex, 1);
}

// Up, Down, Page Up, Page Down, Home and End are answered by the program, not
// the control: each lands where the control's own key would, scrolls it into
// view and speaks it the same way, edges included.
class ListKeysTest : public ResultsTest {
  protected:
    void SetUp() override {
        ResultsTest::SetUp();
        Show({{"r01"},
              {"r02"},
              {"r03"},
              {"r04"},
              {"r05"},
              {"r06"},
              {"r07"},
              {"r08"},
              {"r09"},
              {"r10"},
              {"r11"},
              {"r12"},
              {"r13"},
              {"r14"}});
        world().controls[platform::ResultListId].height = 250; // five rows whole
        world().focus = platform::ResultListId;
    }
    // The row each key leaves selected, and what was heard on the way.
    std::vector<std::string> Walk(std::initializer_list<int> keys, bool shift = false,
                                  bool ctrl = false) {
        std::vector<std::string> trail;
        for (int key : keys) {
            world().transcript.clear();
            PressKey(key, shift, ctrl);
            std::string heard;
            for (const std::string& text : platform::testing::SpokenTexts())
                heard += (heard.empty() ? "" : " | ") + text;
            trail.push_back(std::to_string(Selected()) + " " + heard);
        }
        return trail;
    }
};

TEST_F(ListKeysTest, ArrowsHomeAndEndStopSilentlyAtTheEdges) {
    EXPECT_EQ(
        Walk({VkUp, VkHome, VkDown, VkDown, VkUp, VkEnd, VkDown, VkEnd, VkUp, VkHome}),
        (std::vector<std::string>{"1 ", "1 ", "2 r02", "3 r03", "2 r02", "14 Bottom of List : r14",
                                  "14 ", "14 ", "13 r13", "1 Top of List : r01"}));
    EXPECT_EQ(world().topIndex, 0);
}

TEST_F(ListKeysTest, PagesStopAtTheShownEdgeFirstThenGoAPageOn) {
    EXPECT_EQ(Walk({VkNext, VkNext, VkNext, VkPrior, VkPrior, VkPrior, VkPrior}),
              (std::vector<std::string>{"5 r05", "9 r09", "13 r13", "9 r09", "5 r05",
                                        "1 Top of List : r01", "1 "}));
    EXPECT_EQ(Walk({VkEnd, VkNext, VkPrior, VkPrior}),
              (std::vector<std::string>{"14 Bottom of List : r14", "14 ", "10 r10", "6 r06"}));
    EXPECT_EQ(world().topIndex, 5) << "the row the page key chose is in view";
    EXPECT_EQ(CurrentFile, "c:\\data\\r06");
    EXPECT_NE(world().statusText.find("  6  r06"), std::string::npos);
}

TEST_F(ListKeysTest, ShiftAndControlSayTheirNameAndMoveAsAlone) {
    EXPECT_EQ(Walk({VkDown, VkNext, VkEnd}, true),
              (std::vector<std::string>{"2 Shift | r02", "5 Shift | r05",
                                        "14 Shift | Bottom of List : r14"}));
    EXPECT_EQ(Walk({VkUp, VkHome, VkHome}, false, true),
              (std::vector<std::string>{"13 Control | r13", "1 Control | Top of List : r01",
                                        "1 Control"}));
}

TEST_F(ListKeysTest, AListOfOneRowNeverMoves) {
    Show({{"only.txt"}});
    EXPECT_EQ(Walk({VkDown, VkUp, VkNext, VkPrior, VkHome, VkEnd}),
              std::vector<std::string>(6, "1 "));
}
