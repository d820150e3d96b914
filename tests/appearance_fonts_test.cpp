// The content font, the colour schemes, and where the controls go.
#include "scenario.h"

#include "app/layout.h"
#include "appearance/appearance.h"
#include "platform/events.h"

namespace {
constexpr int Black = 0, Yellow = 65535, Blue = 16711680, White = 16777215;
}

class FontTest : public ScenarioTest {
  protected:
    std::pair<std::string, int> Font(int id) { return world().fonts[id]; }
};

TEST_F(FontTest, ShrinkingStopsAtEightAndIsSpokenEachTime) {
    Settings.FontSize = 10;
    ChangeFontSize(-4);
    EXPECT_EQ(Settings.FontSize, 8);
    EXPECT_EQ(Spoken(), "Font Size is  8");
    ChangeFontSize(-4);
    EXPECT_EQ(Settings.FontSize, 8);
    EXPECT_EQ(world().transcript.size(), 2u);
    EXPECT_EQ(Spoken(), "Font Size is  8");
    for (int id : {platform::SearchBoxId, platform::ResultListId, platform::PreviewId})
        EXPECT_EQ(Font(id), std::make_pair(std::string("Arial Black"), 8)) << id;
}

TEST_F(FontTest, GrowingHasNoLimitAndAZeroStepIsSilent) {
    Settings.FontName = "Verdana";
    Settings.FontSize = 196;
    ChangeFontSize(4);
    EXPECT_EQ(Font(platform::ResultListId), std::make_pair(std::string("Verdana"), 200));
    EXPECT_EQ(Spoken(), "Font Size is  200");
    ChangeFontSize(0);
    EXPECT_EQ(world().transcript.size(), 1u);
}

TEST_F(FontTest, TheWheelChangesTheFontThenRecoloursAndLaysOut) {
    Settings.BG = Black;
    Settings.FG = White;
    OnMouseWheel(120);
    EXPECT_EQ(Settings.FontSize, 40);
    EXPECT_EQ(world().colors[platform::ResultListId], std::make_pair(White, Black));
    EXPECT_EQ(world().controls[platform::SearchBoxId].height, 108); // 2.7 x 40
    OnMouseWheel(-240);
    EXPECT_EQ(Settings.FontSize, 36);
    EXPECT_EQ(Spoken(), "Font Size is  36");
    OnMouseWheel(0);
    EXPECT_EQ(Settings.FontSize, 36);
    EXPECT_EQ(world().transcript.size(), 2u);
}

TEST_F(FontTest, StartUpGivesEveryControlItsFontAndColours) {
    Put("lumafind.ini", "[All]\r\nFontName=Verdana\r\nFontSize=20\r\nFG=0\r\nBG=16777215\r\n"
                        "ImageBG=1\r\n");
    Start();
    for (int id : {platform::SearchBoxId, platform::ResultListId, platform::PreviewId,
                   platform::StatusBarId})
        EXPECT_EQ(Font(id), std::make_pair(std::string("Verdana"), 20)) << id;
    EXPECT_EQ(world().colors[platform::SearchBoxId], std::make_pair(Black, White));
    EXPECT_EQ(world().colors[platform::ResultListId], std::make_pair(Black, White));
    EXPECT_EQ(world().colors[platform::PreviewId], std::make_pair(Black, Black)) << "ImageBG 1";
    EXPECT_EQ(world().colors.count(platform::StatusBarId), 0u) << "keeps its own colours";
}

class ColorSchemeTest : public ScenarioTest {};

TEST_F(ColorSchemeTest, ThreeChangesComeBackToYellowOnBlue) {
    EXPECT_EQ(ColorSchemeName(), "Yellow on Blue");
    CycleColorScheme();
    EXPECT_EQ(Spoken(), "Black on White");
    EXPECT_EQ(world().colors[platform::SearchBoxId], std::make_pair(Black, White));
    CycleColorScheme();
    EXPECT_EQ(Spoken(), "White on Black");
    EXPECT_EQ(world().colors[platform::ResultListId], std::make_pair(White, Black));
    CycleColorScheme();
    EXPECT_EQ(Spoken(), "Yellow on Blue");
    EXPECT_EQ(std::make_pair(Settings.FG, Settings.BG), std::make_pair(Yellow, Blue));
}

TEST_F(ColorSchemeTest, SchemesOutsideTheCycleAreLeftAsTheyAre) {
    Settings.FG = Black;
    Settings.BG = Yellow;
    CycleColorScheme();
    EXPECT_EQ(Spoken(), "Black on Yellow");
    EXPECT_EQ(std::make_pair(Settings.FG, Settings.BG), std::make_pair(Black, Yellow));
    Settings.FG = 5;
    Settings.BG = 123;
    CycleColorScheme();
    EXPECT_EQ(Spoken(), "") << "the empty text only silences the voice";
    EXPECT_EQ(std::make_pair(Settings.FG, Settings.BG), std::make_pair(5, 123));
    EXPECT_EQ(world().colors[platform::ResultListId], std::make_pair(5, 123));
}

// The window arithmetic: products and quotients rounded half to even.
TEST(LayoutArithmetic, ListAndColumnsWithoutPreview) {
    LayoutResult l = ComputeLayout(1000, 800, 30, 100, 36, false, 1, 3, "a.txt");
    EXPECT_EQ(l.list.width, 980);
    EXPECT_EQ(l.widths[0], 303);
    EXPECT_EQ(l.widths[1], 303);
    EXPECT_EQ(l.widths[2], 222);
    EXPECT_EQ(l.widths[3], 171);
    EXPECT_EQ(l.searchBox.y, 100);
    EXPECT_EQ(l.searchBox.height, 97);
    EXPECT_EQ(l.list.y, 202);
    EXPECT_EQ(l.list.height, 563);
    EXPECT_EQ(l.headers[0], " Name  (3)");
    EXPECT_EQ(l.headers[1], " Path");
}

// Widths and font sizes where rounding, not truncation, and half to even, not
// half up, decide the pixel.
TEST(LayoutArithmetic, RoundingAtOtherSizes) {
    LayoutResult l = ComputeLayout(1004, 800, 30, 100, 15, true, 1, 3, "a.txt");
    EXPECT_EQ(l.widths[0], 305); // 304.67
    EXPECT_EQ(l.widths[1], 305);
    EXPECT_EQ(l.widths[2], 223);       // 223.11
    EXPECT_EQ(l.widths[3], 172);       // 171.56
    EXPECT_EQ(l.list.width, 602);      // 602.4
    EXPECT_EQ(l.preview.x, 622);       // 622.4
    EXPECT_EQ(l.preview.width, 372);   // 371.6
    EXPECT_EQ(l.searchBox.height, 40); // 40.5 to even
    EXPECT_EQ(l.list.y, 146);          // 145.5 to even
    EXPECT_EQ(l.list.height, 620);     // 619.5 to even
    l = ComputeLayout(1001, 700, 20, 0, 35, false, 1, 3, "a.txt");
    EXPECT_EQ(l.widths[0], 304);       // 303.67
    EXPECT_EQ(l.widths[3], 171);       // 171.22
    EXPECT_EQ(l.searchBox.height, 94); // 94.5 to even
    EXPECT_EQ(l.list.y, 100);          // 99.5 to even
    EXPECT_EQ(l.list.height, 576);     // 575.5 to even
}

TEST(LayoutArithmetic, PreviewTakesTheRightHandSide) {
    LayoutResult l = ComputeLayout(1000, 800, 30, 0, 36, true, 1, 1, "a.txt");
    EXPECT_EQ(l.list.width, 600);
    EXPECT_EQ(l.preview.x, 620);
    EXPECT_EQ(l.preview.width, 370);
    EXPECT_EQ(l.searchBox.y, 0) << "no toolbar";
}

TEST(LayoutArithmetic, CountHeaderAndHelpMode) {
    EXPECT_EQ(ComputeLayout(900, 700, 20, 0, 36, false, 2, 12345, "x").headers[0],
              " Name  (12,345)");
    EXPECT_EQ(ComputeLayout(900, 700, 20, 0, 36, false, 1, 1, "<empty>").headers[0], " Name  (0)");
    LayoutResult help = ComputeLayout(900, 700, 20, 0, 36, false, 6, 40, "Exit");
    EXPECT_EQ(help.headers[0], "Action Shortcuts");
    EXPECT_EQ(help.widths[0], 900);
    for (int c = 1; c < 4; ++c) {
        EXPECT_EQ(help.widths[c], 0);
        EXPECT_EQ(help.headers[c], "");
    }
    EXPECT_EQ(ComputeLayout(900, 700, 20, 0, 36, false, 5, 40, "x").headers[0],
              "Settings Shortcuts");
}
