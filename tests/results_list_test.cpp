// What the list shows in its cells and what moving through it says.
#include "results_fixture.h"

#include "platform/events.h"

using platform::testing::PressKey;

class ListSpeechTest : public ResultsTest {};

TEST_F(ListSpeechTest, WalkingThroughSpeaksEachRowWithTheEdgesMarked) {
    world().focus = platform::ResultListId;
    Show(
        {{"a.txt"}, {"docs", true}, {"c.txt", false, "c:\\data\\", " 03/03/2023 11:11 ", "  99 "}});
    PressKey(VkDown);
    EXPECT_EQ(Spoken(), "Folder : docs");
    PressKey(VkDown);
    EXPECT_EQ(Spoken(), "Bottom of List : c.txt");
    EXPECT_EQ(world().statusText, "     3  c.txt  03/03/2023 11:11  99  c:\\data\\");
    EXPECT_EQ(CurrentFile, "c:\\data\\c.txt");
    PressKey(VkDown); // already at the bottom: no change, nothing said
    EXPECT_EQ(Heard(), 2u);
    PressKey(VkHome);
    EXPECT_EQ(Spoken(), "Top of List : a.txt");
}

TEST_F(ListSpeechTest, TheCurrentFileIsTheWholePathHoweverLong) {
    std::string path = "c:\\" + std::string(600, 'p') + "\\";
    Show({{"a.txt"}, {"b.jpg", false, path.c_str()}});
    PressKey(VkDown);
    EXPECT_EQ(CurrentFile, path + "b.jpg");
}

TEST_F(ListSpeechTest, AOneRowListIsAlwaysAtTheBottom) {
    Show({{"only.txt"}});
    EXPECT_EQ(ListEdgePrefix(), "Bottom of List : ");
    platform::testing::GiveFocus(platform::SearchBoxId);
    platform::testing::GiveFocus(platform::ResultListId);
    EXPECT_EQ(Spoken(), "Results List has focus. Bottom of List : only.txt");
}

TEST_F(ListSpeechTest, FocusNamesTheSelectedRowAndAFolder) {
    Show({{"a.txt"}, {"docs", true}, {"c.txt"}});
    SelectRow(2);
    platform::testing::GiveFocus(platform::SearchBoxId);
    platform::testing::GiveFocus(platform::ResultListId);
    EXPECT_EQ(Spoken(), "Results List has focus. Folder : docs");
}

TEST_F(ListSpeechTest, ShiftAndControlAreNamedOtherKeysAreNot) {
    Show({{"a.txt"}, {"b.txt"}});
    world().focus = platform::ResultListId;
    OnListRawKeyDown(VkShift);
    EXPECT_EQ(Spoken(), "Shift");
    OnListRawKeyDown(VkControl);
    EXPECT_EQ(Spoken(), "Control");
    size_t before = Heard();
    OnListRawKeyDown('Q');
    OnListRawKeyDown(0x12); // Alt
    EXPECT_EQ(Heard(), before);
}

class CellTextTest : public ResultsTest {};

TEST_F(CellTextTest, FolderRowsAreMarkedAndHaveNoSize) {
    Show({{"report.docx"}, {"docs", true}});
    EXPECT_EQ(CellText(1, 1), "report.docx");
    EXPECT_EQ(CellText(2, 1), "(f) docs");
    EXPECT_EQ(CellText(2, 4), "");
    EXPECT_EQ(CellText(1, 4), "1 KB");
}

TEST_F(CellTextTest, PlaceholderRowsShowNoSize) {
    ResetResultRows();
    EXPECT_EQ(CellText(1, 1), "<empty>");
    EXPECT_EQ(CellText(1, 4), "");
    ShowLoading();
    EXPECT_EQ(CellText(1, 1), "Loading ...");
    EXPECT_EQ(CellText(1, 4), "");
}

TEST_F(CellTextTest, PathAndDateFollowTheirSettings) {
    Show({{"a.txt", false, "c:\\users\\ann\\documents\\reports\\"}});
    Settings.ShortPath = 1;
    EXPECT_EQ(CellText(1, 2), "c:\\users\\...\\reports");
    Settings.ShortPath = 0;
    EXPECT_EQ(CellText(1, 2), "c:\\users\\ann\\documents\\reports\\");
    Settings.EnableTime = 1;
    EXPECT_EQ(CellText(1, 3), "01/15/2023 10:23");
    Settings.EnableTime = 0;
    EXPECT_EQ(CellText(1, 3), "01/15/2023");
    EXPECT_EQ(CellText(2, 1), "") << "no row 2";
}
