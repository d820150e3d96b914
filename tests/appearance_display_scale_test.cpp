// The window at 150 % and 200 %: boxes, fonts, icons and the fitted window
// grow with the scale, and what is saved keeps its meaning on every monitor.
#include "scenario.h"

#include "app/layout.h"
#include "appearance/toolbar.h"
#include "command_table/command_table.h"
#include "platform/events.h"
#include "settings/window_fit.h"

#include <cstdlib>
#include <ostream>
#include <tuple>
#include <vector>

namespace {

using platform::Rect;

constexpr int Dpis[] = {96, 120, 144, 192};

// Off by at most a pixel or two from the box at 100 % grown by the factor;
// the rounding of each scaled margin adds up.
void ExpectScaled(const ControlBox& at96, const ControlBox& box, double factor, int dpi,
                  const char* what) {
    EXPECT_NEAR(box.x, at96.x * factor, 2) << what << " at " << dpi;
    EXPECT_NEAR(box.y, at96.y * factor, 2) << what << " at " << dpi;
    EXPECT_NEAR(box.width, at96.width * factor, 2) << what << " at " << dpi;
    EXPECT_NEAR(box.height, at96.height * factor, 2) << what << " at " << dpi;
}

void ExpectInside(const ControlBox& box, int width, int bottom, int dpi, const char* what) {
    EXPECT_GE(box.x, 0) << what << " at " << dpi;
    EXPECT_GE(box.y, 0) << what << " at " << dpi;
    EXPECT_LE(box.x + box.width, width) << what << " at " << dpi;
    EXPECT_LE(box.y + box.height, bottom) << what << " at " << dpi;
}

std::string IniValue(const std::string& ini, const std::string& key) {
    size_t at = ini.find("\n" + key + "=");
    if (at == std::string::npos) return "missing";
    size_t start = at + key.size() + 2;
    return ini.substr(start, ini.find('\r', start) - start);
}

} // namespace

// A window with everything grown by the factor looks like the one at 100 %:
// the same boxes grown by the same factor, and none past the client area.
TEST(DisplayScaleLayout, EveryBoxGrowsWithTheScale) {
    for (bool preview : {false, true}) {
        LayoutResult at96 = ComputeLayout(1264, 700, 30, 140, 36, preview, 1, 3, "a.txt");
        for (int dpi : Dpis) {
            double f = dpi / 96.0;
            int W = int(1264 * f), H = int(700 * f), S = int(30 * f), T = int(140 * f);
            LayoutResult l = ComputeLayout(W, H, S, T, 36, preview, 1, 3, "a.txt", dpi);
            ExpectScaled(at96.searchBox, l.searchBox, f, dpi, "search box");
            ExpectScaled(at96.list, l.list, f, dpi, "list");
            ExpectInside(l.searchBox, W, H - S, dpi, "search box");
            ExpectInside(l.list, W, H - S, dpi, "list");
            EXPECT_GE(l.list.y, l.searchBox.y + l.searchBox.height) << dpi;
            if (preview) {
                ExpectScaled(at96.preview, l.preview, f, dpi, "preview");
                ExpectInside(l.preview, W, H - S, dpi, "preview");
                EXPECT_GT(l.preview.x, l.list.x + l.list.width) << dpi;
            }
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(l.widths[c], at96.widths[c] * f, 2) << "column " << c << " at " << dpi;
        }
    }
}

// 125 % and 175 % make halves and quarters of a pixel: each margin is rounded on
// its own, to the nearest pixel, halves away from zero (12.5 is 13).
TEST(DisplayScaleLayout, FractionalScalesGiveExactPixels) {
    auto box = [](const ControlBox& b) { return std::make_tuple(b.x, b.y, b.width, b.height); };
    using Box = std::tuple<int, int, int, int>;
    EXPECT_EQ(ScaledPixels(10, 120), 13);
    EXPECT_EQ(ScaledPixels(5, 120), 6);
    EXPECT_EQ(ScaledPixels(30, 120), 38);
    EXPECT_EQ(ScaledPixels(10, 168), 18);
    EXPECT_EQ(ScaledPixels(5, 168), 9);
    EXPECT_EQ(ScaledPixels(30, 168), 53);
    EXPECT_EQ(ScaledPixels(-10, 120), -13);

    // 125 %: a search box of 2.7 x 36 x 1.25 = 121.5 pixels.
    LayoutResult l = ComputeLayout(1580, 875, 38, 175, 36, true, 1, 3, "a.txt", 120);
    EXPECT_EQ(box(l.searchBox), Box(13, 175, 1555, 122));
    EXPECT_EQ(box(l.list), Box(13, 302, 948, 528));
    EXPECT_EQ(box(l.preview), Box(973, 302, 594, 528));
    EXPECT_EQ(std::vector<int>(l.widths, l.widths + 4), (std::vector<int>{489, 489, 351, 251}));

    // 175 %: 170.1 pixels of search box.
    l = ComputeLayout(2212, 1225, 53, 245, 36, true, 1, 3, "a.txt", 168);
    EXPECT_EQ(box(l.searchBox), Box(18, 245, 2177, 170));
    EXPECT_EQ(box(l.list), Box(18, 424, 1327, 739));
    EXPECT_EQ(box(l.preview), Box(1362, 424, 832, 739));
    EXPECT_EQ(std::vector<int>(l.widths, l.widths + 4), (std::vector<int>{684, 684, 492, 351}));
    l = ComputeLayout(2212, 1225, 53, 245, 36, false, 1, 3, "a.txt", 168);
    EXPECT_EQ(box(l.list), Box(18, 424, 2177, 739));

    // The status bar: 8 pixels of margin, 30 of list frame (10, 38; 14, 53); a text
    // too long for the room leaves the list one row and no header.
    EXPECT_EQ(StatusAreaHeight(50, 1000, 125, 36, 75, 120), 60);
    EXPECT_EQ(StatusAreaHeight(900, 1000, 125, 36, 75, 120), 1000 - 125 - 122 - 13 - 38 - 1 * 75);
    EXPECT_EQ(StatusAreaHeight(50, 1400, 175, 36, 105, 168), 64);
    EXPECT_EQ(StatusAreaHeight(900, 1400, 175, 36, 105, 168), 1400 - 175 - 170 - 18 - 53 - 1 * 105);

    // The smallest window: 640 x 400 at 100 %, or the frame of 240 and three
    // search boxes' height (364.5 and 510.3 pixels), rounded up.
    platform::Rect tiny = SavedWindowRect(0, 0, 0, 0), work{0, 0, 3000, 2000};
    auto corners = [](const platform::Rect& r) {
        return std::make_tuple(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(corners(FitWindowRect(tiny, work, 36, 120)), std::make_tuple(0, 0, 800, 300 + 365));
    EXPECT_EQ(corners(FitWindowRect(tiny, work, 36, 168)), std::make_tuple(0, 0, 1120, 420 + 511));
}

// At 200 % a point is twice the pixels: the same screen, twice as many
// pixels high, allows the same largest font and the same smallest window.
TEST(DisplayScaleLayout, WindowFitCountsPointsAtTheScale) {
    for (int workHeight : {600, 860, 1040}) {
        int at96 = LargestFontSizeFor(workHeight);
        EXPECT_NEAR(LargestFontSizeFor(workHeight * 3 / 2, 144), at96, 1) << workHeight;
        EXPECT_NEAR(LargestFontSizeFor(workHeight * 2, 192), at96, 1) << workHeight;
    }
    platform::Rect work96{0, 0, 1600, 860}, work192{0, 0, 3200, 1720};
    EXPECT_EQ(FitFontSize(76, work192, 192), 76);
    EXPECT_LT(FitFontSize(76, {0, 0, 1600, 860}, 192), 76) << "the screen is half as tall";
    platform::Rect tiny = SavedWindowRect(0, 0, 0, 0);
    platform::Rect small96 = FitWindowRect(tiny, work96, 36);
    platform::Rect small192 = FitWindowRect(tiny, work192, 36, 192);
    EXPECT_EQ(small192.right - small192.left, 2 * (small96.right - small96.left));
    EXPECT_NEAR(small192.bottom - small192.top, 2 * (small96.bottom - small96.top), 1);
}

class DisplayScaleTest : public ScenarioTest {
  protected:
    static constexpr const char* SizedIni =
        "[All]\r\nLeft=0\r\nTop=0\r\nWidth=1200\r\nHeight=700\r\n"
        "FontSize=36\r\nIconSize=96\r\nShowToolbar=1\r\n";
    void StartAt(int dpi, const char* ini = SizedIni) {
        world().dpi = dpi;
        world().monitors = {
            {{0, 0, 1600 * dpi / 96, 900 * dpi / 96}, {0, 0, 1600 * dpi / 96, 860 * dpi / 96}}};
        world().controls[platform::StatusBarId].height = 30 * dpi / 96;
        world().controls[platform::ToolbarId].height = 140 * dpi / 96;
        std::filesystem::remove(folder + "lumafind.ini");
        if (ini) Put("lumafind.ini", ini);
        Start();
    }
    // Every font the window shows was made at this scale.
    void ExpectFontsAt(int dpi) {
        for (int id : {platform::MainWindowId, platform::SearchBoxId, platform::ResultListId,
                       platform::PreviewId, platform::StatusBarId})
            EXPECT_EQ(world().fontDpis[id], dpi) << "control " << id;
        EXPECT_EQ(world().defaultFontDpi, dpi);
        EXPECT_EQ(world().toolbarFontDpi, dpi);
        EXPECT_EQ(world().tooltipFontDpi, dpi);
    }
    int SeparatorWidth(size_t index) { return world().toolbar.at(index).separatorWidth; }
};

TEST_F(DisplayScaleTest, StartsAtTheMonitorsScale) {
    StartAt(144);
    ExpectFontsAt(144);
    EXPECT_EQ(world().fonts[platform::SearchBoxId], std::make_pair(std::string("Arial Black"), 36))
        << "sizes stay in points; the backend makes the pixels";
    EXPECT_EQ(world().toolbarIconSize, 144) << "96 at 100 %";
    EXPECT_EQ(SeparatorWidth(1), 45);
    EXPECT_EQ(world().controls[platform::SearchBoxId].height, 146) << "2.7 x 36 x 1.5";
    EXPECT_EQ(world().controls[platform::SearchBoxId].x, 15);
}

TEST_F(DisplayScaleTest, StartsAtFractionalScalesWithExactPixels) {
    const struct {
        int dpi, separator, boxX, boxHeight;
    } scales[] = {{120, 38, 13, 122}, {168, 53, 18, 170}}; // 37.5, 12.5, 121.5; 52.5, 17.5, 170.1
    for (const auto& s : scales) {
        ResetProgramState();
        StartAt(s.dpi);
        ExpectFontsAt(s.dpi);
        EXPECT_EQ(world().toolbarIconSize, s.dpi) << "96 at 100 %";
        EXPECT_EQ(SeparatorWidth(1), s.separator) << s.dpi;
        EXPECT_EQ(world().controls[platform::SearchBoxId].x, s.boxX) << s.dpi;
        EXPECT_EQ(world().controls[platform::SearchBoxId].height, s.boxHeight) << s.dpi;
    }
}

// Saved sizes are the window's own pixels; the first-start size, also for a
// file that lacks one, is a size at 100 %.
TEST_F(DisplayScaleTest, OnlyTheFirstStartSizeGrowsWithTheScale) {
    StartAt(192, "[All]\r\nWidth=2000\r\nHeight=1300\r\n");
    Rect r = world().placement.normal;
    EXPECT_EQ(std::make_pair(r.right - r.left, r.bottom - r.top), std::make_pair(2000, 1300));
    for (const char* ini : {static_cast<const char*>(nullptr), "[All]\r\nFontSize=36\r\n"}) {
        ResetProgramState();
        world().placement.normal = {0, 0, 1600, 800};
        StartAt(192, ini);
        r = world().placement.normal;
        EXPECT_EQ(std::make_pair(r.right - r.left, r.bottom - r.top), std::make_pair(3200, 1600))
            << (ini ? ini : "no file");
    }
}

// A window saved on a monitor at 200 % comes back there as it was, though
// the program starts on the primary monitor at 100 %.
TEST_F(DisplayScaleTest, AWindowSavedOnAMonitorOfAnotherScaleComesBackAsItWas) {
    world().monitors = {{{0, 0, 1600, 900}, {0, 0, 1600, 860}, 96},
                        {{1600, 0, 4800, 1800}, {1600, 0, 4800, 1720}, 192}};
    Put("lumafind.ini", "[All]\r\nLeft=1700\r\nTop=10\r\nWidth=2400\r\nHeight=1400\r\n"
                        "FontSize=36\r\nShowToolbar=1\r\n");
    LoadOrSaveSettings("get"); // a single read already puts it right
    EXPECT_EQ(world().dpi, 192);
    Rect r = world().placement.normal;
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom),
              std::make_tuple(1700, 10, 4100, 1410));
    Start();
    ExpectFontsAt(192);
    r = world().placement.normal;
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom),
              std::make_tuple(1700, 10, 4100, 1410));
}

// A real start: the window is made on the primary monitor at 100 % and only
// then moved to its saved place at 200 %, before the window has started, so
// no scale change is told to the program; what it made before must follow.
TEST_F(DisplayScaleTest, AStartOnTheSavedMonitorOfAnotherScaleMakesEveryFontThere) {
    world().monitors = {{{0, 0, 1600, 900}, {0, 0, 1600, 860}, 96},
                        {{1600, 0, 4800, 1800}, {1600, 0, 4800, 1720}, 192}};
    Put("lumafind.ini", "[All]\r\nLeft=1700\r\nTop=10\r\nWidth=2400\r\nHeight=1400\r\n"
                        "FontSize=36\r\nShowToolbar=1\r\n");
    Start();
    EXPECT_EQ(world().dpi, 192);
    ExpectFontsAt(192);
}

// The user hears the sizes of the settings, never the pixels of this monitor.
TEST_F(DisplayScaleTest, IconSizeIsSpokenAndSavedAtOneHundredPercent) {
    StartAt(192);
    OnCommand(CmdIconSize, 1);
    EXPECT_TRUE(Spoken().ends_with("Icon Size is  128")) << Spoken();
    EXPECT_EQ(world().toolbarIconSize, 256);
    platform::CloseMainWindow();
    EXPECT_EQ(IniValue(Get("lumafind.ini"), "IconSize"), " 128");
    EXPECT_EQ(IniValue(Get("lumafind.ini"), "FontSize"), " 36");
}

TEST_F(DisplayScaleTest, MovingToAnotherScaleMakesEverythingAgain) {
    StartAt(96);
    ExpectFontsAt(96);
    world().controls[platform::ToolbarId].height = 280;
    int statusAt96 = world().controls[platform::StatusBarId].height;
    platform::testing::ChangeDpi(192, {100, 50, 2500, 1450});
    ExpectFontsAt(192);
    EXPECT_EQ(world().fonts[platform::StatusBarId], std::make_pair(std::string("Arial Black"), 36));
    int status = world().controls[platform::StatusBarId].height;
    EXPECT_GE(status, 2 * statusAt96 - 8) << "its text twice as high";
    EXPECT_EQ(world().toolbarIconSize, 192);
    EXPECT_EQ(SeparatorWidth(1), 60);
    EXPECT_TRUE(world().toolbarExists);
    const platform::testing::Control& box = world().controls[platform::SearchBoxId];
    EXPECT_EQ(box.y, 280) << "below the toolbar at its new height";
    EXPECT_EQ(box.height, 194) << "2.7 x 36 x 2";
    const platform::testing::Control& list = world().controls[platform::ResultListId];
    EXPECT_EQ(list.x, 20);
    EXPECT_EQ(list.y + list.height, world().clientHeight - status - 10)
        << "above the status bar at its new height, a gap of 5 at 100 % between";
    EXPECT_EQ(list.width, world().clientWidth - 40);

    platform::CloseMainWindow();
    std::string ini = Get("lumafind.ini");
    EXPECT_EQ(IniValue(ini, "IconSize"), " 96");
    EXPECT_EQ(IniValue(ini, "FontSize"), " 36");
    EXPECT_EQ(IniValue(ini, "Width"), " 2400") << "the window's own pixels, where Windows put it";
    EXPECT_EQ(IniValue(ini, "Left"), " 100");
}

// The captions' own size after Ctrl+E stays theirs on the new monitor.
TEST_F(DisplayScaleTest, CaptionSizeAfterAnIconSizeChangeSurvivesTheMove) {
    StartAt(96);
    Settings.IconSize = 48;
    CycleIconSize();
    platform::testing::ChangeDpi(144, {0, 0, 1800, 1050});
    EXPECT_EQ(world().toolbarFont, std::make_pair(std::string("Arial Black"), 18));
    EXPECT_EQ(world().toolbarFontDpi, 144);
    EXPECT_EQ(world().toolbarIconSize, 96) << "64 at 100 %";
    NextToolbarPage();
    EXPECT_EQ(world().toolbarFont, std::make_pair(std::string("Arial Black"), 24))
        << "a later rebuild starts from the window font, as at 100 %";
}
