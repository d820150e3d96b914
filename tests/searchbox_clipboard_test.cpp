// Copy, cut and paste between the search box, the result list and the
// clipboard: what each moves, what the user hears, and what happens when
// another program holds the clipboard.
#include "commands_fixture.h"

namespace {
const char kTwoRows[] = "Size,Date Modified,Filename\r\n"
                        "5,01/02/2023 10:00,\"C:\\maps\\texas.txt\"\r\n"
                        "7,01/03/2023 10:00,\"D:\\notes\\el paso.txt\"\r\n";
} // namespace

class ClipboardTest : public CommandsTest {
  protected:
    void BeforeStart() override { Put("results.txt", kTwoRows); }
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0;
        platform::testing::GiveFocus(platform::SearchBoxId);
        world().searchText = "texas maps";
        world().clipboard = "before";
        Forget();
    }
    void Select(int start, int end) { platform::SearchBoxSetSelection(start, end); }
    void ClipboardHeldElsewhere() { world().clipboardOpens = {1, true}; }
};

TEST_F(ClipboardTest, CopyTakesTheSelectionOrElseTheWholeTerm) {
    Select(6, 10);
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "maps");
    EXPECT_EQ(Heard(), (Texts{"Selection from Search String  Was Copied", "Selection Copied"}));
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(world().searchText, "texas maps");

    Forget();
    Select(3, 3);
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "texas maps");
    EXPECT_EQ(Heard(), (Texts{"Entire Search String  Was Copied", "Selection Copied"}));
}

TEST_F(ClipboardTest, CopyInTheListTakesTheSelectedRowsFolder) {
    platform::testing::GiveFocus(platform::ResultListId);
    Press(VkDown);
    Forget();
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "d:\\notes\\"); // as the import keeps it
    EXPECT_EQ(Heard(), (Texts{"Path Copied", "Selection Copied"}));

    world().selected = -1;
    Forget();
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "d:\\notes\\") << "left as it was";
    EXPECT_EQ(Heard(), Texts{"No Selection"});
}

TEST_F(ClipboardTest, CopyInAListWithoutResultsCopiesNothing) {
    Put("results.txt", "Size,Date Modified,Filename\r\n");
    LoadResultFile();
    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "before");
    EXPECT_EQ(Heard(), Texts{"List is Empty"});
}

TEST_F(ClipboardTest, CopyElsewhereOrInAShortcutListCopiesNothingAndConfirmsNothing) {
    platform::testing::GiveFocus(platform::ToolbarId);
    Forget();
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "before");
    EXPECT_EQ(Heard(), Texts{});

    Press(VkF1);
    Forget();
    Ctrl('C');
    EXPECT_EQ(world().clipboard, "before");
    EXPECT_EQ(Heard(), Texts{"Not Available in Help Mode"});
}

TEST_F(ClipboardTest, ABusyClipboardIsSaidAndNeverConfirmed) {
    ClipboardHeldElsewhere();
    Select(0, 5);
    Ctrl('C');
    EXPECT_EQ(Heard(), Texts{"Clipboard Not Available"});
    Forget();
    Ctrl('X');
    EXPECT_EQ(Heard(), Texts{"Clipboard Not Available"});
    EXPECT_EQ(world().searchText, "texas maps")
        << "nothing is cut that did not reach the clipboard";
    Forget();
    Ctrl('V');
    EXPECT_EQ(Heard(), Texts{"Clipboard Not Available"});
    EXPECT_EQ(world().searchText, "texas maps");
    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Ctrl('C');
    EXPECT_EQ(Heard(), Texts{"Clipboard Not Available"});
    EXPECT_EQ(world().clipboard, "before");
}

TEST_F(ClipboardTest, CutMovesTheSelectionOnly) {
    Select(0, 6);
    Ctrl('X');
    EXPECT_EQ(world().clipboard, "texas ");
    EXPECT_EQ(world().searchText, "maps");
    EXPECT_EQ(world().selStart, 0);
    EXPECT_EQ(world().selEnd, 0);
    EXPECT_EQ(Heard(), Texts{"Selection Cut"});
    EXPECT_EQ(Beeps(), 1);

    Forget();
    Ctrl('X'); // nothing selected now
    EXPECT_EQ(Heard(), Texts{"No Selection"});
    EXPECT_EQ(world().searchText, "maps");
    EXPECT_EQ(world().clipboard, "texas ");

    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Ctrl('X');
    EXPECT_EQ(Heard(), Texts{"Cut Option not Available"});
    EXPECT_EQ(world().clipboard, "texas ");
}

TEST_F(ClipboardTest, PasteInsertsAtTheCaretOverAnySelection) {
    world().clipboard = "el ";
    Select(0, 0);
    Ctrl('V');
    EXPECT_EQ(world().searchText, "el texas maps");
    EXPECT_EQ(world().selStart, 3);
    EXPECT_EQ(Heard(), Texts{"Clipboard Pasted"});
    EXPECT_EQ(Beeps(), 1);

    world().clipboard = "paso";
    Select(3, 8);
    Ctrl('V');
    EXPECT_EQ(world().searchText, "el paso maps");
}

TEST_F(ClipboardTest, PastedTextKeepsOneLineAndPassesTheTypingRefusals) {
    world().clipboard = "a&b\r\nsecond line";
    Select(0, 10);
    Ctrl('V');
    // The term check of the search refuses "&" later; the box takes what it is given.
    EXPECT_EQ(world().searchText, "a&b");
}

TEST_F(ClipboardTest, PasteRefusesWithoutTextOrOutsideTheBox) {
    world().clipboard = "";
    Ctrl('V');
    EXPECT_EQ(Heard(), Texts{"No Text On Clipboard"});
    EXPECT_EQ(world().searchText, "texas maps");

    world().clipboard = "paso";
    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Ctrl('V');
    EXPECT_EQ(Heard(), Texts{"Paste Option not Available"});
    EXPECT_EQ(world().searchText, "texas maps");
}

TEST_F(ClipboardTest, SelectAllWorksOnTheBoxFromAnywhere) {
    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Ctrl('A');
    EXPECT_EQ(world().selStart, 0);
    EXPECT_EQ(world().selEnd, 10);
    EXPECT_EQ(Heard(), Texts{"Select All"});
    EXPECT_EQ(Beeps(), 1);
}
