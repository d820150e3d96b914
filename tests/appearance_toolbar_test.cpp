// The toolbar's layouts and pages, its icon sizes, and the tooltip modes.
#include "scenario.h"

#include "appearance/toolbar.h"
#include "platform/events.h"

#include <sstream>

namespace {

// The buttons as one line: "image/command'caption'" or "|width" for a separator.
std::string Describe(const std::vector<platform::ToolbarButton>& buttons) {
    std::ostringstream out;
    for (const platform::ToolbarButton& b : buttons) {
        if (b.image == 0)
            out << "|" << b.separatorWidth << " ";
        else
            out << b.image << "/" << b.command << "'" << b.caption << "' ";
    }
    return out.str();
}

const char* Page0 =
    "1/517' Exit ' |30 9/505' Files ' 10/506' Folders ' 11/507' Both ' 12/508' Custom ' "
    "|105 17/518' ' ";
const char* Page1 = "1/517' Exit ' |30 8/510' Copy ' 4/511' Open ' |40 5/512' Open ' "
                    "13/513' Expand ' |105 18/518' ' ";
const char* Page2 = "1/517' Exit ' |30 6/509' Color ' 15/516' Print ' 16/562' Preview ' "
                    "20/515' Settings ' |50 19/518' ' ";

} // namespace

class ToolbarTest : public ScenarioTest {
  protected:
    std::string Shown() { return Describe(world().toolbar); }
};

TEST_F(ToolbarTest, NarrowPagesTurnBothWays) {
    CreateToolbar();
    EXPECT_EQ(Shown(), Page0);
    NextToolbarPage();
    EXPECT_EQ(Shown(), Page1);
    NextToolbarPage();
    EXPECT_EQ(Shown(), Page2);
    NextToolbarPage();
    EXPECT_EQ(Shown(), Page0);
    EXPECT_EQ(Toolbar.ToolbarPage, 0) << "three pages, not a fourth that looks like the first";
    NextToolbarPage();
    EXPECT_EQ(Shown(), Page1);
    PreviousToolbarPage();
    PreviousToolbarPage();
    EXPECT_EQ(Shown(), Page2);
    NextToolbarPage();
    OnToolbarRightClick(518);
    EXPECT_EQ(Toolbar.ToolbarPage, 2);
    EXPECT_EQ(Shown(), Page2);
    OnToolbarRightClick(505); // only the page button turns back
    OnToolbarRightClick(517);
    EXPECT_EQ(Toolbar.ToolbarPage, 2);
    EXPECT_TRUE(world().transcript.empty());
}

TEST_F(ToolbarTest, WideLayoutShowsEveryButtonInOneRow) {
    Settings.WideToolbar = 1;
    Toolbar.ToolbarPage = 1;
    CreateToolbar();
    EXPECT_EQ(Shown(), "1/517' Exit ' |60 9/505' Files ' 10/506' Folders ' 11/507' Both ' "
                       "12/508' Custom ' |30 8/510' Copy ' 4/511' Open ' |40 5/512' Open ' "
                       "13/513' Expand ' |40 6/509' Color ' 15/516' Print ' "
                       "16/562' Preview ' 20/515' Settings ' ");
}

TEST_F(ToolbarTest, HiddenTextEmptiesEveryCaptionOnly) {
    Settings.HideToolbarText = 1;
    Toolbar.ToolbarPage = 1;
    CreateToolbar();
    EXPECT_EQ(Shown(), "1/517'' |30 8/510'' 4/511'' |40 5/512'' 13/513'' |105 18/518'' ");
    EXPECT_EQ(ToolbarButtonText(" Exit "), "");
    Settings.HideToolbarText = 0;
    EXPECT_EQ(ToolbarButtonText(" Exit "), " Exit ");
}

TEST_F(ToolbarTest, NoToolbarWhileItIsSwitchedOff) {
    CreateToolbar();
    world().controls[platform::ToolbarId].height = 120;
    EXPECT_EQ(ToolbarHeight(), 120);
    Settings.ShowToolbar = 0;
    CreateToolbar();
    EXPECT_FALSE(world().toolbarExists);
    EXPECT_EQ(ToolbarHeight(), 0);
    NextToolbarPage();
    EXPECT_FALSE(world().toolbarExists);
}

TEST_F(ToolbarTest, IconSizesCycleWithTheirToolbarFonts) {
    struct Step {
        int from, to, points;
    };
    for (Step s : {Step{48, 64, 18}, Step{64, 96, 20}, Step{96, 128, 24}, Step{128, 48, 16},
                   Step{100, 48, 16}, Step{0, 48, 16}}) {
        Settings.IconSize = s.from;
        world().toolbar.clear();
        CycleIconSize();
        EXPECT_EQ(Settings.IconSize, s.to) << s.from;
        EXPECT_EQ(world().toolbarIconSize, s.to) << "images rebuilt at the new size";
        EXPECT_EQ(world().toolbarFont, std::make_pair(std::string("Arial Black"), s.points));
        EXPECT_EQ(Describe(world().toolbar), Page0) << "toolbar rebuilt";
    }
    EXPECT_TRUE(world().transcript.empty()) << "the dispatcher says the size";
}

// The captions are read by people who cannot read small type: the toolbar is
// never left in the system font.
TEST_F(ToolbarTest, CaptionsUseTheWindowFontExceptAfterAnIconSizeChange) {
    const auto windowFont = std::make_pair(std::string("Arial Black"), 24);
    Start();
    EXPECT_EQ(world().fonts[platform::MainWindowId], windowFont);
    EXPECT_EQ(world().toolbarFont, windowFont);
    Settings.IconSize = 48;
    CycleIconSize();
    EXPECT_EQ(world().toolbarFont, std::make_pair(std::string("Arial Black"), 18));
    NextToolbarPage(); // any other rebuild starts from the window font again
    EXPECT_EQ(world().toolbarFont, windowFont);
}

TEST_F(ToolbarTest, FocusIsAnnounced) {
    OnToolbarSetFocus();
    EXPECT_EQ(Spoken(), "ToolBar has focus");
}

class TooltipTest : public ScenarioTest {
  protected:
    std::vector<std::string> Heard() { return platform::testing::SpokenTexts(); }
};

TEST_F(TooltipTest, SpeakModeAnnouncesEachNewButtonOnce) {
    Settings.EnableToolTips = 2;
    OnTooltipRequest(505);
    OnTooltipRequest(506);
    OnTooltipRequest(506);
    EXPECT_EQ(Heard(), (std::vector<std::string>{" Search Files ", " Search Folders "}));
    EXPECT_EQ(world().tooltipText, "") << "spoken, not shown";
    EXPECT_EQ(Toolbar.LastTooltipButton, 506);
    OnTooltipRequest(505);
    EXPECT_EQ(Spoken(), " Search Files ");
}

TEST_F(TooltipTest, TextModeShowsAndBothModeSpeaksThenShows) {
    Settings.EnableToolTips = 1;
    OnTooltipRequest(516);
    EXPECT_EQ(world().tooltipText, " Print Result List ");
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(world().tooltipPops, 1);
    Settings.EnableToolTips = 3;
    OnTooltipRequest(515);
    EXPECT_EQ(world().tooltipText, " Help ");
    EXPECT_EQ(Spoken(), " Help ");
}

TEST_F(TooltipTest, ThePageButtonHasNoTip) {
    Settings.EnableToolTips = 3;
    OnTooltipRequest(517);
    OnTooltipRequest(518);
    EXPECT_EQ(world().tooltipText, "");
    EXPECT_EQ(Heard(), (std::vector<std::string>{" Exit ", ""}));
    EXPECT_EQ(Toolbar.LastTooltipButton, 518);
}

TEST_F(TooltipTest, OffShowsNothingAndForgetsTheLastButton) {
    Settings.EnableToolTips = 2;
    OnTooltipRequest(510);
    Settings.EnableToolTips = 0;
    OnTooltipRequest(510);
    OnTooltipRequest(511);
    EXPECT_EQ(Toolbar.LastTooltipButton, 0);
    EXPECT_EQ(world().tooltipText, "");
    EXPECT_EQ(Heard().size(), 1u);
    Settings.EnableToolTips = 2;
    OnTooltipRequest(510);
    EXPECT_EQ(Spoken(), " Copy File ") << "announced again after tooltips were off";
}

TEST_F(TooltipTest, CyclingModesSpeaksStraightThroughTheVoice) {
    Settings.vRate = 3;
    SpeechPrefix = "Shortcut Pressed: ";
    Toolbar.LastTooltipButton = 505;
    world().tooltipText = " Search Files ";
    const char* words[] = {"ToolTips are Speak", "ToolTips are Both", "Tooltips are Off",
                           "ToolTips are Text"};
    for (const char* w : words) {
        CycleTooltipMode();
        EXPECT_EQ(Spoken(), w);
    }
    EXPECT_EQ(Settings.EnableToolTips, 1);
    EXPECT_EQ(Toolbar.LastTooltipButton, 0);
    EXPECT_EQ(world().tooltipText, "");
    EXPECT_EQ(world().voiceRate, 3);
    EXPECT_EQ(world().transcript.back().flags, 3u);
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: ") << "the prefix waits for the next message";
}

TEST_F(TooltipTest, AnUnknownModeStaysAndSpeechOffSaysNothing) {
    Settings.EnableToolTips = 7;
    CycleTooltipMode();
    EXPECT_EQ(Settings.EnableToolTips, 7);
    EXPECT_EQ(Spoken(), "");
    Settings.EnableToolTips = 0;
    Settings.DisableSpeech = 1;
    world().transcript.clear();
    CycleTooltipMode();
    EXPECT_EQ(Settings.EnableToolTips, 1);
    EXPECT_TRUE(world().transcript.empty());
}
