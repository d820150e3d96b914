// The outside programs: the engine's window on F3, the magnifier and Narrator
// after the product page, the choice between them, and the build time.
#include "commands_fixture.h"

#include "actions/outside_programs.h"
#include "base/version.h"

#include <regex>

namespace {

using KeyEvent = platform::testing::World::KeyEvent;

// Windows + Control + Enter, each event with scan code 69; up events flag 2.
const std::vector<KeyEvent> kNarratorChord = {{91, 69, 0}, {17, 69, 0}, {13, 69, 0},
                                              {13, 69, 2}, {17, 69, 2}, {91, 69, 2}};

const char kEngine32[] = "c:\\program files (x86)\\everything\\everything.exe";
const char kEngine64[] = "C:\\Program Files\\Everything\\everything.exe";

} // namespace

class OutsideProgramsTest : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0; // each test hears only the command's own words
        Put("lumafind-help.html", "<html></html>");
    }
    void Install(const std::string& windowsPath) {
        scenario::WriteFile(platform::testing::DrivePath(windowsPath), "MZ");
    }
    Texts Started() { return world().startedPrograms; }
    std::string Lupa(const std::string& numbers) { return folder + "lupa.exe  " + numbers; }
};

TEST_F(OutsideProgramsTest, CtrlF1StartsTheMagnifierWithItsNineteenNumbers) {
    Put("lupa.exe", "MZ");
    // Position 11 is the hover mode; the simple form (1) has 0 where the full
    // form (2) has 1 in positions 2, 4 and 5.
    const char* simple[] = {
        "96 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0", "96 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 1 0 0",
        "96 0 0 0 0 0 0 0 0 0 2 0 0 0 0 0 1 0 0", "96 0 0 0 0 0 0 0 0 0 3 0 0 0 0 0 1 0 0"};
    const char* full[] = {
        "96 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 1 0 0", "96 1 0 1 1 0 0 0 0 0 1 0 0 0 0 0 1 0 0",
        "96 1 0 1 1 0 0 0 0 0 2 0 0 0 0 0 1 0 0", "96 1 0 1 1 0 0 0 0 0 3 0 0 0 0 0 1 0 0"};
    for (int hover = 0; hover <= 3; ++hover) {
        for (int tool : {1, 2}) {
            Settings.ExternalTool = tool;
            Settings.UseHover = hover;
            world().startedPrograms.clear();
            Forget();
            Ctrl(VkF1);
            EXPECT_EQ(Started(), Texts{Lupa((tool == 1 ? simple : full)[hover])})
                << "tool " << tool << ", hover " << hover;
            EXPECT_EQ(Heard(), Texts{"Opening Lumafind Web Site"})
                << "the magnifier starts silently";
        }
    }
    // As the magnifier reads it: its own name, then the nineteen numbers.
    auto args = platform::testing::SplitCommandLine(Started().back());
    EXPECT_EQ(args.size(), 20u);
    EXPECT_TRUE(world().keyEvents.empty());
}

TEST_F(OutsideProgramsTest, OnlyTheSimpleMagnifierIsHandedTheCallersNumber) {
    Settings.UseHover = 1;
    Settings.ExternalTool = 1;
    int n = 7;
    StartLupa(n);
    EXPECT_EQ(n, 7);
    Settings.ExternalTool = 2;
    StartLupa(n);
    EXPECT_EQ(n, 0) << "the full form clears it";
    EXPECT_EQ(Started(), (Texts{Lupa("96 0 0 0 0 0 0 0 0 0 1 0 7 0 0 0 1 0 0"),
                                Lupa("96 1 0 1 1 0 0 0 0 0 1 0 0 0 0 0 1 0 0")}));
}

TEST_F(OutsideProgramsTest, NothingStartsWithoutTheMagnifierOrWithNoToolChosen) {
    Settings.ExternalTool = 2;
    Ctrl(VkF1);
    Put("lupa.exe", "MZ");
    Settings.ExternalTool = 0;
    Ctrl(VkF1);
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(world().keyEvents.empty());
    EXPECT_EQ(Heard(), (Texts{"Opening Lumafind Web Site", "Opening Lumafind Web Site"}));
    EXPECT_EQ(world().openedPages.size(), 2u);
}

TEST_F(OutsideProgramsTest, NarratorIsSwitchedByTheChordAndEveryKeyGoesUpAgain) {
    Put("lupa.exe", "MZ"); // chosen is Narrator, not the magnifier beside the program
    Settings.ExternalTool = 3;
    Ctrl(VkF1);
    EXPECT_EQ(world().keyEvents, kNarratorChord);
    EXPECT_TRUE(Started().empty());
    EXPECT_EQ(Heard(), Texts{"Opening Lumafind Web Site"});
    // Twice switches it back: the same chord again, nothing left held down.
    Ctrl(VkF1);
    std::vector<KeyEvent> twice = kNarratorChord;
    twice.insert(twice.end(), kNarratorChord.begin(), kNarratorChord.end());
    EXPECT_EQ(world().keyEvents, twice);
}

TEST_F(OutsideProgramsTest, ActionRowTwoOpensThePageThenStartsTheChosenTool) {
    Put("lupa.exe", "MZ");
    Settings.ExternalTool = 2;
    Settings.UseHover = 3;
    Press(VkF2);
    platform::ListSelectItem(1);
    Forget();
    Press(VkReturn);
    EXPECT_EQ(world().openedPages, Texts{folder + "lumafind-help.html"});
    EXPECT_EQ(Started(), Texts{Lupa("96 1 0 1 1 0 0 0 0 0 3 0 0 0 0 0 1 0 0")});
    Settings.ExternalTool = 3;
    Press(VkReturn);
    EXPECT_EQ(world().keyEvents, kNarratorChord);
    EXPECT_EQ(Heard(), Texts{}) << "the row opens the page without a word";
    EXPECT_EQ(Settings.SearchType, 6);
}

TEST_F(OutsideProgramsTest, CtrlShiftBStepsThroughTheToolsByName) {
    Settings.ExternalTool = 0;
    for (int i = 0; i < 4; ++i)
        CtrlShift('B');
    EXPECT_EQ(Heard(), (Texts{"External Tool is Simple Lupa", "External Tool is Lupa",
                              "External Tool is Narrator", "External Tool is None"}));
    EXPECT_EQ(Settings.ExternalTool, 0);
    EXPECT_EQ(Beeps(), 4);
    // A hand-edited value outside the list starts over at None.
    for (int odd : {7, -3}) {
        Settings.ExternalTool = odd;
        Forget();
        CtrlShift('B');
        EXPECT_EQ(Heard(), Texts{"External Tool is None"}) << odd;
        EXPECT_EQ(Settings.ExternalTool, 0);
    }
}

TEST_F(OutsideProgramsTest, F3OpensTheEngineWindowFromEitherInstallationOrSaysItIsMissing) {
    Press(VkF3);
    EXPECT_EQ(Heard(), Texts{"Everything Not Found"});
    EXPECT_TRUE(Started().empty());
    EXPECT_EQ(Beeps(), 1);

    Install(kEngine64);
    Forget();
    Press(VkF3);
    EXPECT_EQ(Heard(), Texts{"Opening Everything"});
    EXPECT_EQ(Started(), Texts{kEngine64}) << "no arguments";

    // Both installed: the 32-bit place is the one always used.
    Install("C:\\Program Files (x86)\\Everything\\Everything.exe");
    world().startedPrograms.clear();
    Press(VkF3);
    EXPECT_EQ(Started(), Texts{kEngine32});
}

TEST_F(OutsideProgramsTest, AnEngineWindowThatCannotStartIsNotReportedAsOpening) {
    Install(kEngine32);
    world().processStarts.failAt = world().processStarts.calls + 1;
    Press(VkF3);
    EXPECT_EQ(Heard(), Texts{"Cannot Open Everything"});
    EXPECT_TRUE(Started().empty());
}

TEST_F(OutsideProgramsTest, BuildTimeIsTheStampsDateYearFirstAndItsTime) {
    // File times of known moments: 1 January 1970 is 116444736000000000.
    EXPECT_EQ(BuildTimeText(116444736000000000), "   Compiled: 1970/01/01 00:00");
    EXPECT_EQ(BuildTimeText(133537247990000000), "   Compiled: 2024/02/29 23:59");
    EXPECT_EQ(BuildTimeText(125911583700000000), "   Compiled: 1999/12/31 23:59");
    EXPECT_EQ(BuildTimeText(157520160000000000), "   Compiled: 2100/03/01 00:00");
    EXPECT_TRUE(std::regex_match(
        world().caption, std::regex(R"(Lumafind 4\.43   Compiled: 20\d\d/\d\d/\d\d \d\d:\d\d)")))
        << world().caption;
}
