// The row being read is the clearest thing on screen: its colours, its whole
// text in the status bar, and its place inside the list.
#include "commands_fixture.h"

#include "app/layout.h"
#include "appearance/appearance.h"
#include "appearance/contrast.h"
#include "base/wrap.h"
#include "platform/events.h"
#include "results/result_list.h"

#include <string>

namespace {

constexpr int Black = 0, Yellow = 65535, Blue = 16711680, White = 16777215;

// Windows colour values hold red in the lowest byte.
constexpr int Rgb(int r, int g, int b) {
    return r | g << 8 | b << 16;
}

} // namespace

// Worked by hand as WCAG 2 defines it: white on the system highlight #3096FA.
// Channels 48, 150, 250 give linear 0.0295, 0.3050, 0.9562; luminance
// 0.2126 x 0.0295 + 0.7152 x 0.3050 + 0.0722 x 0.9562 = 0.2935; white is 1,
// so (1 + 0.05) / (0.2935 + 0.05) = 3.06.
TEST(Contrast, FollowsTheWcagFormula) {
    EXPECT_NEAR(RelativeLuminance(Rgb(0x30, 0x96, 0xFA)), 0.2935, 0.0005);
    EXPECT_NEAR(ContrastRatio(White, Rgb(0x30, 0x96, 0xFA)), 3.06, 0.005);
    EXPECT_NEAR(ContrastRatio(Rgb(0x30, 0x96, 0xFA), White), 3.06, 0.005) << "either order";
    EXPECT_DOUBLE_EQ(ContrastRatio(Black, White), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Blue, Blue), 1.0);
    EXPECT_NEAR(ContrastRatio(Yellow, Blue), 8.00, 0.005);
    // Red and blue must not be mixed up: pure red is far lighter than pure blue.
    EXPECT_NEAR(RelativeLuminance(Rgb(255, 0, 0)), 0.2126, 1e-9);
    EXPECT_NEAR(RelativeLuminance(Rgb(0, 0, 255)), 0.0722, 1e-9);
}

TEST(Contrast, TheFourSchemesSelectWithTheirOwnColoursSwapped) {
    for (auto [fg, bg] :
         {std::pair{Yellow, Blue}, {Black, White}, {White, Black}, {Black, Yellow}}) {
        SelectionColors s = SelectionColorsFor(fg, bg);
        EXPECT_EQ(s, (SelectionColors{bg, fg})) << fg << " on " << bg;
        EXPECT_GE(ContrastRatio(s.foreground, s.background), ReadableContrast);
    }
}

// Any pair a user may write into the INI file: the selected row reads at 7:1
// or better, and its block or its frame (drawn in its text colour) stands at
// least 3:1 from the other rows' background, so it is never lost among them.
TEST(Contrast, EveryHandEditedPairGivesAReadableRowThatStandsOut) {
    const int steps[] = {0, 0x40, 0x80, 0xA0, 0xC0, 0xFF};
    std::vector<int> colours;
    for (int r : steps)
        for (int g : steps)
            for (int b : steps)
                colours.push_back(Rgb(r, g, b));
    for (int fg : colours)
        for (int bg : colours) {
            SelectionColors s = SelectionColorsFor(fg, bg);
            ASSERT_GE(ContrastRatio(s.foreground, s.background), ReadableContrast)
                << fg << " on " << bg;
            ASSERT_GE(std::max(ContrastRatio(s.background, bg), ContrastRatio(s.foreground, bg)),
                      3.0)
                << fg << " on " << bg;
        }
    // Grey on grey: no colour of the pair carries text, so white on black.
    EXPECT_EQ(SelectionColorsFor(Rgb(0x80, 0x80, 0x80), Rgb(0x90, 0x90, 0x90)),
              (SelectionColors{White, Black}));
    // Pale yellow on white: black text on the pale yellow block.
    EXPECT_EQ(SelectionColorsFor(Rgb(0xFF, 0xFF, 0x80), White),
              (SelectionColors{Black, Rgb(0xFF, 0xFF, 0x80)}));
}

class ReadingTest : public CommandsTest {
  protected:
    // Rows numbered "row 1" ..., the n-th with a name of `longName` instead.
    void ShowRows(int count, int longRow = 0, const std::string& longName = {}) {
        ResultRows.Clear();
        for (int i = 1; i <= count; ++i) {
            std::string name = i == longRow ? longName : "row " + std::to_string(i) + ".txt";
            ResultRows.Add("1234", "01/15/2023 10:23", "c:\\data\\", name, false);
        }
        platform::ListDeleteAllItems();
        ShowResultRows();
        LayoutWindow();
    }
    int StatusHeight() { return world().controls[platform::StatusBarId].height; }
    int ListHeight() { return world().controls[platform::ResultListId].height; }
    // The selected row lies wholly between the list's top and bottom edges.
    ::testing::AssertionResult SelectedInView() {
        const platform::testing::World& w = world();
        int visible = ListHeight() / w.itemHeight;
        if (w.selected >= w.topIndex && w.selected < w.topIndex + visible)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "row " << w.selected + 1 << " outside rows "
                                             << w.topIndex + 1 << " to " << w.topIndex + visible;
    }
};

TEST_F(ReadingTest, EveryColourSchemeGivesTheListAndSearchBoxReadableSelectionColours) {
    EXPECT_EQ(world().selectionColors, std::make_pair(Blue, Yellow)) << "set at start";
    EXPECT_EQ(world().searchBoxSelectionColors, std::make_pair(Blue, Yellow)) << "set at start";
    for (int i = 0; i < 3; ++i) {
        Ctrl('Y');
        auto [text, block] = world().selectionColors;
        EXPECT_EQ(std::make_pair(block, text), std::make_pair(Settings.FG, Settings.BG));
        EXPECT_GE(ContrastRatio(text, block), ReadableContrast) << ColorSchemeName();
        EXPECT_EQ(world().searchBoxSelectionColors, std::make_pair(text, block))
            << "the search box selects as the list does: " << ColorSchemeName();
    }
    // A hand-edited grey on grey: white on black in both.
    Settings.FG = Rgb(0x80, 0x80, 0x80);
    Settings.BG = Rgb(0x90, 0x90, 0x90);
    ApplyColors();
    EXPECT_EQ(world().selectionColors, std::make_pair(White, Black));
    EXPECT_EQ(world().searchBoxSelectionColors, std::make_pair(White, Black));
}

TEST_F(ReadingTest, TheStatusBarGrowsWithTheTextAndTheFontAndTheListGivesWay) {
    std::string longName(120, 'n');
    longName += ".txt";
    ShowRows(30, 2, longName);
    EXPECT_EQ(world().fonts[platform::StatusBarId], std::make_pair(Settings.FontName, 36))
        << "the status bar has the content font";
    int shortStatus = StatusHeight(), shortList = ListHeight();
    EXPECT_GE(shortStatus, platform::StatusBarTextHeight(world().clientWidth));

    platform::testing::PressKey(VkDown); // onto the long name
    EXPECT_NE(world().statusText.find(longName), std::string::npos);
    int longStatus = StatusHeight();
    EXPECT_GT(longStatus, 2 * shortStatus) << "several lines";
    EXPECT_GE(longStatus, platform::StatusBarTextHeight(world().clientWidth)) << "whole";
    EXPECT_EQ(ListHeight(), shortList - (longStatus - shortStatus));

    EXPECT_TRUE(world().headerShown) << "the text fits beside the header";

    ChangeFontSize(36); // 72 points
    LayoutWindow();
    int longAt72 = StatusHeight();
    EXPECT_GT(longAt72, longStatus);
    // Too long even beside the header and the row: the header gives way, the
    // list keeps the selected row whole.
    EXPECT_FALSE(world().headerShown);
    EXPECT_GE(ListHeight(), world().itemHeight + 30);
    EXPECT_GE(StatusHeight(), world().itemHeight) << "and the status bar a line";
    EXPECT_TRUE(SelectedInView());

    platform::testing::PressKey(VkUp); // back to a short name: the list grows again
    EXPECT_LT(StatusHeight(), longAt72);
    EXPECT_TRUE(world().headerShown) << "and has its header again";
}

// Where even the grown status bar cannot hold the row's text (a long name at
// 72 points), Ctrl+Shift+Z shows it a page of lines at a time, every line on
// exactly one page, then the first again; a new row starts at its first line.
TEST_F(ReadingTest, ALongRowIsReadAPageOfLinesAtATime) {
    std::string longName(120, 'n');
    ShowRows(5, 2, longName + ".txt");
    ResultRows.Add("1234", "01/15/2023 10:23", "c:\\data\\", longName + ".doc", false);
    platform::ListDeleteAllItems();
    ShowResultRows();
    platform::testing::PressKey(VkDown);
    ChangeFontSize(36); // 72 points
    LayoutWindow();
    platform::StatusLineCount lines = platform::StatusBarLines();
    ASSERT_GE(lines.shown, 1);
    ASSERT_GT(lines.total, 2 * lines.shown) << "at least three pages";
    int pages = (lines.total + lines.shown - 1) / lines.shown;
    EXPECT_EQ(world().statusFirstLine, 0);
    Forget();
    for (int page = 2; page <= pages; ++page) {
        CtrlShift('Z');
        EXPECT_EQ(world().statusFirstLine, (page - 1) * lines.shown);
        EXPECT_EQ(Heard().back(), "Shortcut Pressed: Next Status Page : CS-Z : Status Page " +
                                      std::to_string(page) + " of " + std::to_string(pages));
    }
    EXPECT_LT(world().statusFirstLine, lines.total) << "the last page holds the last line";
    CtrlShift('Z');
    EXPECT_EQ(world().statusFirstLine, 0) << "after the last page, the first";
    EXPECT_EQ(Heard().back(), "Shortcut Pressed: Next Status Page : CS-Z : Status Page 1 of " +
                                  std::to_string(pages));

    CtrlShift('Z');
    ASSERT_NE(world().statusFirstLine, 0);
    platform::testing::PressKey(VkEnd); // another row as long: from its first line
    ASSERT_EQ(SelectedRow(), 6);
    EXPECT_EQ(world().statusFirstLine, 0);
    CtrlShift('Z');
    CtrlShift('L'); // lines break elsewhere in a new font: from the first line
    EXPECT_EQ(world().statusFirstLine, 0);

    platform::testing::PressKey(VkF1); // a settings row pages the same way
    for (int i = 1; i < 15; ++i)
        platform::testing::PressKey(VkDown);
    lines = platform::StatusBarLines();
    ASSERT_GT(lines.total, lines.shown) << world().statusText;
    CtrlShift('Z');
    EXPECT_EQ(world().statusFirstLine, lines.shown) << "not reset by the settings list's refresh";
    platform::testing::PressKey(VkEscape);

    ChangeFontSize(-36);
    LayoutWindow();
    Forget();
    CtrlShift('Z'); // a short row, shown whole: nothing moves
    EXPECT_EQ(world().statusFirstLine, 0);
    EXPECT_EQ(Heard().back(),
              "Shortcut Pressed: Next Status Page : CS-Z : Status Text Is Shown Whole");
}

TEST(StatusArea, HoldsTheWholeTextButLeavesTheListTheSelectedRow) {
    // 800 high, a toolbar of 100, a search box of 97 at 36 points, rows of 60.
    EXPECT_EQ(StatusAreaHeight(50, 800, 100, 36, 60), 58);
    EXPECT_EQ(StatusAreaHeight(300, 800, 100, 36, 60), 308);
    // Beside the header and two rows (383 pixels) the text fits whole.
    EXPECT_EQ(StatusAreaHeight(375, 800, 100, 36, 60), 383);
    // Longer: the second row's room goes to the text, the list keeps its
    // header and the row being read.
    EXPECT_EQ(StatusAreaHeight(420, 800, 100, 36, 60), 428);
    EXPECT_EQ(StatusAreaHeight(435, 800, 100, 36, 60), 800 - 100 - 97 - 10 - 120 - 30);
    EXPECT_TRUE(ListKeepsHeader(375, 800, 100, 36, 60));
    EXPECT_TRUE(ListKeepsHeader(435, 800, 100, 36, 60));
    // Too long beside the header and one row: the header's room too.
    EXPECT_FALSE(ListKeepsHeader(436, 800, 100, 36, 60));
    EXPECT_EQ(StatusAreaHeight(436, 800, 100, 36, 60), 444);
    EXPECT_EQ(StatusAreaHeight(900, 800, 100, 36, 60), 800 - 100 - 97 - 10 - 60 - 30);
    // At 72 points (a search box of 194, rows of 110): 760 - 100 - 194 - 10 -
    // 110 - 30 = 316, two lines and more where two rows would leave one.
    EXPECT_EQ(StatusAreaHeight(900, 760, 100, 72, 110), 316);
    EXPECT_FALSE(ListKeepsHeader(900, 760, 100, 72, 110));
    EXPECT_EQ(StatusAreaHeight(50, 800, 100, 36, 60, 192), 66) << "margins grow with the scale";
    // A tiny window: the selected row whole first, the status bar what is left.
    EXPECT_EQ(StatusAreaHeight(50, 300, 100, 36, 60), 3);
    EXPECT_EQ(StatusAreaHeight(50, 250, 100, 36, 60), 0) << "never below nothing";
}

TEST_F(ReadingTest, TheSelectedRowStaysInViewAfterEveryChangeOfSpaceOrRows) {
    ShowRows(40);
    platform::testing::PressKey(VkNext); // the last row that fits
    ASSERT_TRUE(SelectedInView());
    ASSERT_GT(world().selected, 3);

    CtrlShift('L'); // a larger font: a taller search box and status bar
    EXPECT_TRUE(SelectedInView()) << "font change";

    world().clientHeight = 500;
    OnSize();
    EXPECT_TRUE(SelectedInView()) << "smaller window";

    platform::testing::PressKey(VkNext);
    Ctrl('W'); // the toolbar off and on again moves the list
    Ctrl('W');
    EXPECT_TRUE(SelectedInView()) << "toolbar";

    platform::testing::PressKey(VkF1); // the settings list, then row 23 and a larger font
    for (int i = 1; i < 23; ++i)
        platform::testing::PressKey(VkDown);
    ASSERT_EQ(SelectedRow(), 23);
    CtrlShift('L');
    EXPECT_EQ(SelectedRow(), 23);
    EXPECT_TRUE(SelectedInView()) << "settings list after a font change";

    platform::testing::PressKey(VkF2); // the other list, row 1
    EXPECT_TRUE(SelectedInView()) << "list switch";
}

// Characters 10 pixels wide, lines of 100: ten characters.
static std::vector<std::string> Wrapped(std::string_view text) {
    return WrapText(text, 100, [](std::string_view piece) { return int(piece.size()) * 10; });
}

TEST(WrapText, BreaksAtBlanksAndInsideAWordLongerThanALine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Wrapped("ab cd"), (Lines{"ab cd"}));
    EXPECT_EQ(Wrapped("abcd efgh ijkl"), (Lines{"abcd efgh", "ijkl"})) << "a word that fits moves";
    EXPECT_EQ(Wrapped("ab abcdefghij"), (Lines{"ab", "abcdefghij"})) << "one just as wide too";
    EXPECT_EQ(Wrapped("abcdefghij   klm"), (Lines{"abcdefghij", "klm"})) << "no blanks in front";
    // A name longer than a line starts after the row number on the first line.
    EXPECT_EQ(Wrapped("  3  abcdefghijklmnopqrstuvwxyz  c:\\"),
              (Lines{"  3  abcde", "fghijklmno", "pqrstuvwxy", "z  c:\\"}));
    EXPECT_EQ(Wrapped("     abcdefgh"), (Lines{"     abcde", "fgh"})) << "no line of blanks";
    EXPECT_EQ(Wrapped(""), Lines{});
    // Never a line without a character, even where one is wider than a line.
    EXPECT_EQ(WrapText("ab", 5, [](std::string_view p) { return int(p.size()) * 10; }),
              (Lines{"a", "b"}));
    // A character of several bytes is never split.
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9\xC3\xA9", 20,
                       [](std::string_view p) { return int(p.size()) * 5; }),
              (Lines{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
}

TEST_F(ReadingTest, TheStatusBarLeavesOutTheDateAndSizeTheListShowsWhole) {
    world().clientWidth = 2400; // columns wide enough for the 36-point date
    ShowRows(3);
    platform::testing::PressKey(VkDown);
    EXPECT_EQ(world().statusText, "     2  row 2.txt  c:\\data\\");

    world().clientWidth = 1584; // the date cut at its column's edge
    OnSize();
    EXPECT_EQ(world().statusText, "     2  row 2.txt  01/15/2023 10:23  c:\\data\\")
        << "the layout tells the status bar again";

    world().clientWidth = 2400;
    Settings.ShowPreview = 1; // the preview covers the date and size columns
    LayoutWindow();
    EXPECT_EQ(world().statusText, "     2  row 2.txt  01/15/2023 10:23  1234  c:\\data\\");
}
