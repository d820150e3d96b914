// Saved window values that would hide the window or its text: fitted to the
// monitor the window comes up on, and saved back fitted.
#include "scenario.h"

#include "app/layout.h"
#include "settings/window_fit.h"

#include <climits>
#include <cmath>
#include <ostream>

namespace platform {
bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
} // namespace platform

namespace {

using platform::Rect;

const Rect Primary{0, 0, 1600, 860};

int Width(const Rect& r) {
    return r.right - r.left;
}
int Height(const Rect& r) {
    return r.bottom - r.top;
}
bool Inside(const Rect& r, const Rect& work) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
           r.bottom <= work.bottom;
}

// A list row of a bold font at 96 dots per inch: the line (ascent and descent of
// a heavy face, about 1.41 em) and a few pixels of padding.
int RowPixels(int points) {
    return int(std::ceil(points * 96.0 / 72.0 * 1.41)) + 4;
}

} // namespace

TEST(WindowFit, FontSizeKeepsTheSearchBoxAndOneRowOnTheScreen) {
    EXPECT_EQ(FitFontSize(0, Primary), 8);
    EXPECT_EQ(FitFontSize(-5, Primary), 8);
    EXPECT_EQ(FitFontSize(36, Primary), 36);
    EXPECT_EQ(FitFontSize(INT_MIN, Primary), 8);
    for (int workHeight : {600, 860, 1040, 2120}) {
        int largest = FitFontSize(99999, {0, 0, 1600, workHeight});
        EXPECT_GE(largest, 36) << workHeight; // the default size is always allowed
        // Caption and frame 31, toolbar with 96-pixel icons and captions 140,
        // status bar 30: what is left shows the list's header and one row.
        LayoutResult l = ComputeLayout(1580, workHeight - 31, 30, 140, largest, false, 1, 1, "a");
        EXPECT_GE(l.list.height, 2 * RowPixels(largest)) << workHeight;
        EXPECT_LE(l.list.y + l.list.height, workHeight - 31 - 30) << workHeight;
    }
    // A taller screen allows a larger font: a size chosen there is kept there.
    EXPECT_GT(FitFontSize(99999, {0, 0, 3840, 2120}), FitFontSize(99999, Primary));
    EXPECT_EQ(FitFontSize(120, {0, 0, 3840, 2120}), 120);
    EXPECT_EQ(FitFontSize(99999, {0, 0, 640, 300}), 8); // never below the floor
}

TEST(WindowFit, SizeIsUsableAndNoLargerThanTheWorkArea) {
    for (Rect wanted : {SavedWindowRect(100, 100, 0, 0), SavedWindowRect(100, 100, -5, -800)}) {
        Rect r = FitWindowRect(wanted, Primary, 36);
        EXPECT_GE(Width(r), SmallestWindowWidth);
        // High enough for the search box, the list header and one row.
        LayoutResult l =
            ComputeLayout(Width(r) - 16, Height(r) - 31, 30, 140, 36, false, 1, 1, "a");
        EXPECT_GE(l.list.height, 2 * RowPixels(36));
    }
    Rect huge = FitWindowRect(SavedWindowRect(0, 0, 99999, 99999), Primary, 36);
    EXPECT_EQ(huge, Primary);
    // A size that fits is left alone, even a small one with a small font.
    EXPECT_EQ(FitWindowRect(SavedWindowRect(10, 20, 900, 700), Primary, 36),
              (Rect{10, 20, 910, 720}));
    EXPECT_EQ(Height(FitWindowRect(SavedWindowRect(10, 20, 900, 420), Primary, 8)), 420);
    // A screen smaller than the smallest window: the work area is the limit.
    EXPECT_EQ(FitWindowRect(SavedWindowRect(0, 0, 0, 0), {0, 0, 500, 350}, 8),
              (Rect{0, 0, 500, 350}));
}

TEST(WindowFit, PositionComesOntoTheWorkArea) {
    Rect off = FitWindowRect(SavedWindowRect(100000, 100000, 1000, 700), Primary, 36);
    EXPECT_EQ(off, (Rect{600, 160, 1600, 860}));
    EXPECT_EQ(FitWindowRect(SavedWindowRect(-5000, -5000, 1000, 700), Primary, 36),
              (Rect{0, 0, 1000, 700}));
    // The work area of a screen with its taskbar at the top, left of the primary.
    Rect left{-1280, 40, 0, 1024};
    EXPECT_EQ(FitWindowRect(SavedWindowRect(-1300, 0, 800, 600), left, 36),
              (Rect{-1280, 40, -480, 640}));
    for (int v : {INT_MIN, -1, INT_MAX})
        EXPECT_TRUE(Inside(FitWindowRect(SavedWindowRect(v, v, v, v), Primary, 36), Primary)) << v;
}

// MonitorFromRect's documented choice: the monitor a rectangle overlaps most,
// otherwise the nearest one.
TEST(WindowFit, TestingBackendPicksTheMonitorAsWindowsDoes) {
    platform::testing::ResetWorld();
    auto& monitors = platform::testing::TheWorld().monitors;
    monitors.push_back({{1600, 0, 3520, 1080}, {1600, 0, 3520, 1040}});
    EXPECT_EQ(platform::WorkAreaNear({1000, 0, 1900, 500}), Primary);     // 600 vs 300 wide
    EXPECT_EQ(platform::WorkAreaNear({1400, 0, 2000, 500}).left, 1600);   // 200 vs 400 wide
    EXPECT_EQ(platform::WorkAreaNear({5000, 100, 6000, 600}).left, 1600); // right of both
    EXPECT_EQ(platform::WorkAreaNear({-900, 5000, -100, 6000}), Primary); // below the primary
    EXPECT_EQ(platform::WorkAreaNear({1000, 500, 1000, 500}), Primary);   // empty, inside it
}

class WindowFitTest : public ScenarioTest {
  protected:
    void StartWithIni(const std::string& body) {
        Put("lumafind.ini", "[All]\r\n" + body);
        Start();
    }
    std::string Saved() {
        platform::CloseMainWindow();
        return Get("lumafind.ini");
    }
    Rect Window() { return world().placement.normal; }
};

TEST_F(WindowFitTest, UnusableValuesAreFittedAndSavedFitted) {
    StartWithIni("Left=100000\r\nTop=-5000\r\nWidth=0\r\nHeight=-20\r\nFontSize=0\r\n");
    EXPECT_TRUE(Inside(Window(), Primary));
    EXPECT_GE(Width(Window()), SmallestWindowWidth);
    EXPECT_EQ(Window().right, Primary.right);
    EXPECT_EQ(Window().top, 0);
    EXPECT_EQ(world().fonts[platform::SearchBoxId].second, 8);
    const std::string ini = Saved();
    EXPECT_NE(ini.find("FontSize= 8\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Left= " + std::to_string(Window().left) + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Width= " + std::to_string(Width(Window())) + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Top= 0\r\n"), std::string::npos);
}

TEST_F(WindowFitTest, AHugeFontStillShowsARow) {
    StartWithIni("FontSize=99999\r\n");
    int points = world().fonts[platform::ResultListId].second;
    EXPECT_EQ(points, Settings.FontSize);
    EXPECT_GE(points, 36);
    EXPECT_GE(world().controls[platform::ResultListId].height, 2 * RowPixels(points));
    EXPECT_NE(Saved().find("FontSize= " + std::to_string(points) + "\r\n"), std::string::npos);
}

// A second, larger monitor to the right: a window saved there comes back there
// at its size, not shrunk to the primary monitor.
TEST_F(WindowFitTest, AWindowOnAnotherMonitorKeepsItsPlaceAndSize) {
    world().monitors.push_back({{1600, 0, 3520, 1080}, {1600, 0, 3520, 1040}});
    StartWithIni("Left= 1700\r\nTop= 20\r\nWidth= 1800\r\nHeight= 1000\r\n");
    EXPECT_EQ(Window(), (Rect{1700, 20, 3500, 1020}));
    const std::string ini = Saved();
    for (const char* line :
         {"Left= 1700\r\n", "Top= 20\r\n", "Width= 1800\r\n", "Height= 1000\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
}

// The monitor it was on is gone: the window comes onto the one that is left.
TEST_F(WindowFitTest, AWindowFromAMissingMonitorComesOntoTheRemainingOne) {
    StartWithIni("Left= 1700\r\nTop= 20\r\nWidth= 1800\r\nHeight= 1000\r\n");
    EXPECT_EQ(Window(), Primary);
}
