// The image preview: where a picture goes in the pane, what the pane shows
// for every kind of row, and when the image is decoded.
#include "results_fixture.h"

#include "app/layout.h"
#include "command_table/command_ids.h"
#include "platform/events.h"
#include "preview/preview.h"

using platform::testing::Idle;
using platform::testing::KeyDown;
using platform::testing::KeyUp;
using platform::testing::PressKey;

namespace {

constexpr int White = 16777215, Black = 0, Blue = 16711680;

PreviewPlace Place(int x, int y, int width, int height) {
    return {x, y, width, height};
}

} // namespace

std::ostream& operator<<(std::ostream& out, const PreviewPlace& p) {
    return out << "(" << p.x << ", " << p.y << ") " << p.width << " x " << p.height;
}

TEST(PreviewFit, SmallImagesShowAtTheirOwnSizeOrFillThePaneWhenResizing) {
    // A 400 x 300 pane.
    EXPECT_EQ(FitPreviewImage(100, 50, 400, 300, false), Place(150, 125, 100, 50));
    EXPECT_EQ(FitPreviewImage(100, 50, 400, 300, true), Place(0, 50, 400, 200));
    EXPECT_EQ(FitPreviewImage(30, 60, 400, 300, true), Place(125, 0, 150, 300));
    EXPECT_EQ(FitPreviewImage(400, 300, 400, 300, false), Place(0, 0, 400, 300));
}

TEST(PreviewFit, LargeImagesOnlyEverShrinkKeepingTheirProportions) {
    // Wider than the pane but not taller: the width decides, centred vertically.
    EXPECT_EQ(FitPreviewImage(800, 100, 400, 300, false), Place(0, 125, 400, 50));
    // Taller only: the height decides.
    EXPECT_EQ(FitPreviewImage(100, 600, 400, 300, false), Place(175, 0, 50, 300));
    // A camera photo in a tall narrow pane.
    EXPECT_EQ(FitPreviewImage(6000, 4000, 300, 700, false), Place(0, 250, 300, 200));
    // 1000 / 3 = 333.33 rounds down; (400 - 333) / 2 = 33.5 goes to the even 34.
    EXPECT_EQ(FitPreviewImage(1000, 900, 400, 300, true), Place(34, 0, 333, 300));
    // 500 / 1.75 = 285.7 is rounded up, on either side.
    EXPECT_EQ(FitPreviewImage(700, 500, 400, 300, false), Place(0, 7, 400, 286));
    EXPECT_EQ(FitPreviewImage(500, 700, 300, 400, false), Place(7, 0, 286, 400));
}

TEST(PreviewFit, HalvesOfTheCentringGoToTheEvenPixel) {
    EXPECT_EQ(FitPreviewImage(100, 50, 401, 301, false), Place(150, 126, 100, 50));
    EXPECT_EQ(FitPreviewImage(100, 50, 403, 303, false), Place(152, 126, 100, 50));
}

TEST(PreviewFit, NothingIsPlacedForAnEmptyImageOrPane) {
    EXPECT_EQ(FitPreviewImage(0, 50, 400, 300, true), Place(0, 0, 0, 0));
    EXPECT_EQ(FitPreviewImage(100, 0, 400, 300, false), Place(0, 0, 0, 0));
    EXPECT_EQ(FitPreviewImage(100, 50, 0, 300, false), Place(0, 0, 0, 0));
    // A hair-thin picture keeps at least one pixel.
    EXPECT_EQ(FitPreviewImage(10000, 1, 400, 300, false), Place(0, 150, 400, 1));
}

class PreviewTest : public ResultsTest {
  protected:
    void SetUp() override {
        ResultsTest::SetUp();
        Settings.ShowPreview = 1;
        Settings.PreviewResize = 0;
        LayoutWindow();
        SetPane(402, 302); // a one-pixel border around 400 x 300
        world().focus = platform::ResultListId;
    }
    void SetPane(int width, int height) {
        world().controls[platform::PreviewId].width = width;
        world().controls[platform::PreviewId].height = height;
    }
    // An image file the decoder reads with this size.
    std::string Image(const std::string& name, int width, int height) {
        Put(name, "image");
        world().decodableImages[folder + name] = {width, height};
        return name;
    }
    // The files as rows of the list, in the program folder; row 1 selected.
    void ShowFiles(std::initializer_list<const char*> names) {
        ResultRows.Clear();
        for (const char* name : names)
            ResultRows.Add("10", "01/15/2023 10:23", folder, name, false);
        platform::ListDeleteAllItems();
        ShowResultRows();
        Idle();
        world().transcript.clear();
    }
    // A command from the toolbar; the loop then finds its queue empty.
    void Command(int id) {
        OnCommand(id, 0);
        Idle();
    }
    const platform::testing::World::PreviewPane& Pane() { return world().preview; }
    void ExpectImageAt(int x, int y, int width, int height) {
        EXPECT_TRUE(Pane().image);
        EXPECT_EQ(Place(Pane().x, Pane().y, Pane().width, Pane().height),
                  Place(x, y, width, height));
    }
    // The default scheme's yellow stands out on the default blue background.
    void ExpectText(const std::string& text) {
        EXPECT_FALSE(Pane().image);
        EXPECT_EQ(Pane().text, text);
        EXPECT_EQ(Pane().textX, 50);
        EXPECT_EQ(Pane().textY, 50);
        EXPECT_EQ(Pane().textColour, Settings.FG);
    }
};

TEST_F(PreviewTest, EachKindOfRowShowsWhatItIs) {
    Image("square.png", 100, 50);
    Put("notes.txt", "text");
    Put("drawing.svg", "<svg/>"); // an image extension the decoder refuses
    Image("empty.gif", 0, 40);
    Put("damaged.jpg", "garbage"); // listed nowhere: it does not decode
    ShowFiles({"square.png", "notes.txt", "gone.png", "drawing.svg", "empty.gif", "damaged.jpg"});
    ExpectImageAt(150, 125, 100, 50);
    EXPECT_EQ(Pane().background, Blue);

    PressKey(VkDown);
    ExpectText("Not An Image");
    PressKey(VkDown); // a missing file leaves the pane clear
    EXPECT_FALSE(Pane().image);
    EXPECT_EQ(Pane().text, "");
    EXPECT_EQ(Pane().background, Blue);
    PressKey(VkDown);
    ExpectText("Cannot Show This Image");
    PressKey(VkDown);
    ExpectText("Cannot Show This Image"); // zero width: nothing is drawn
    PressKey(VkDown);
    ExpectText("Cannot Show This Image");
    EXPECT_EQ(world().keptWidth, 0); // nothing of the earlier image is kept
    EXPECT_EQ(Spoken(), "Bottom of List : damaged.jpg");
}

// At 150 % the texts keep their distance from the corner to the eye; a
// picture is shown in its own pixels, as at 100 %.
TEST_F(PreviewTest, TextsStartFartherInAtALargerScale) {
    world().dpi = 144;
    LayoutWindow(); // the status bar's text grows with the scale
    SetPane(402, 302);
    Image("square.png", 100, 50);
    Put("notes.txt", "notes");
    ShowFiles({"square.png", "notes.txt"});
    ExpectImageAt(150, 125, 100, 50);
    PressKey(VkDown);
    EXPECT_EQ(Pane().text, "Not An Image");
    EXPECT_EQ(Pane().textX, 75);
    EXPECT_EQ(Pane().textY, 75);
}

// 50 pixels at 125 % and 175 % are 62.5 and 87.5: rounded up, not cut.
TEST_F(PreviewTest, TextsStartAtWholePixelsAtFractionalScales) {
    Put("notes.txt", "notes");
    for (auto [dpi, at] : {std::pair{120, 63}, std::pair{168, 88}}) {
        world().dpi = dpi;
        LayoutWindow();
        ShowFiles({"notes.txt"});
        EXPECT_EQ(Pane().text, "Not An Image");
        EXPECT_EQ(Pane().textX, at) << dpi;
        EXPECT_EQ(Pane().textY, at) << dpi;
    }
}

TEST_F(PreviewTest, TextThatWouldFadeIntoTheBackgroundIsBlackOrWhite) {
    Put("notes.txt", "text");
    ShowFiles({"notes.txt"});
    const struct {
        int fg, imageBG, shown;
    } cases[] = {{65535, 2, 65535},        // yellow on blue: as the scheme has it
                 {65535, 0, Black},        // yellow on white fades: black
                 {Black, 1, White},        // black on black: white
                 {White, 0, Black},        // white on white: black
                 {16711680, 1, White},     // blue on black is too dark: white
                 {16711680, 0, 16711680}}; // blue on white stands out
    for (const auto& c : cases) {
        Settings.FG = c.fg;
        Settings.ImageBG = c.imageBG;
        RefreshPreview();
        EXPECT_EQ(Pane().textColour, c.shown) << c.fg << " on " << c.imageBG;
    }
}

TEST_F(PreviewTest, ExtensionsAreFoundAnywhereInTheImageListText) {
    // ".jp" and ".ti" occur inside ".jpg" and ".tiff"; ".JPG" does not occur.
    Image("a.jp", 20, 20);
    Image("b.ti", 20, 20);
    Image("c.JPG", 20, 20);
    ShowFiles({"a.jp", "b.ti", "c.JPG"});
    EXPECT_TRUE(Pane().image);
    PressKey(VkDown);
    EXPECT_TRUE(Pane().image);
    PressKey(VkDown);
    ExpectText("Not An Image");
}

// One step beside an image name: no extension, the letters without their
// period, a folder named like a picture. A final dot is the fragment "." and
// counts, as ".jp" does.
TEST_F(PreviewTest, NamesWithoutAnImageExtensionAreNotImagesWhateverTheirBytes) {
    Image("README", 20, 20);
    Image("x.pg", 20, 20); // "pg" occurs in ".jpg", ".pg" does not
    Image("pics.png/notes", 20, 20);
    Image("photo.", 20, 20);
    ShowFiles({"README", "x.pg", "pics.png/notes", "photo."});
    ExpectText("Not An Image");
    PressKey(VkDown);
    ExpectText("Not An Image");
    PressKey(VkDown);
    ExpectText("Not An Image");
    PressKey(VkDown);
    EXPECT_TRUE(Pane().image);
    EXPECT_EQ(world().lastDecoded, folder + "photo.");
}

TEST_F(PreviewTest, TheRowIsSpokenBeforeItsImageIsDecodedOnceTheKeysAreQuiet) {
    Image("a.png", 10, 10);
    Image("b.png", 10, 10);
    Image("c.png", 10, 10);
    Image("d.png", 10, 10);
    ShowFiles({"a.png", "b.png", "c.png", "d.png"});
    int decodes = world().imageDecodes;

    platform::ListSelectItem(1); // the selection change alone
    EXPECT_EQ(Spoken(), "b.png");
    EXPECT_EQ(world().imageDecodes, decodes);
    EXPECT_FALSE(Pane().image); // never the last row's picture meanwhile
    Idle();
    EXPECT_EQ(world().imageDecodes, decodes + 1);
    EXPECT_EQ(world().lastDecoded, folder + "b.png");
    Idle(); // nothing more to do
    EXPECT_EQ(world().imageDecodes, decodes + 1);

    // Down held: two rows passed over, each spoken, none decoded.
    KeyDown(VkDown);
    KeyDown(VkDown);
    EXPECT_EQ(Spoken(), "Bottom of List : d.png");
    EXPECT_EQ(world().imageDecodes, decodes + 1);
    KeyUp(VkDown);
    EXPECT_EQ(world().imageDecodes, decodes + 2);
    EXPECT_EQ(world().lastDecoded, folder + "d.png");
}

// The picture is decoded away from the window's thread: the next key is
// answered meanwhile, and what arrives for a row already left is dropped.
TEST_F(PreviewTest, APictureForARowTheUserHasLeftIsDropped) {
    Image("a.png", 10, 10);
    Image("b.png", 20, 20);
    Image("c.png", 30, 30);
    ShowFiles({"a.png", "b.png", "c.png"});
    world().holdImages = true;
    platform::ListSelectItem(1);
    Idle(); // b.png asked for
    PressKey(VkDown);
    EXPECT_EQ(Spoken(), "Bottom of List : c.png");
    ASSERT_EQ(world().pendingImages.size(), 2u);
    platform::testing::DeliverImages(1); // b.png, after its row was left
    EXPECT_EQ(world().lastDecoded, folder + "b.png");
    EXPECT_FALSE(Pane().image);
    EXPECT_EQ(world().keptWidth, 10) << "nothing of b.png was kept";
    platform::testing::DeliverImages();
    ExpectImageAt(185, 135, 30, 30);

    // Turned off and on again while a picture is on its way: the one asked
    // for before is dropped, the one asked for after is shown.
    PressKey(VkUp);
    Command(CmdPreview);
    Command(CmdPreview);
    platform::testing::DeliverImages(1);
    EXPECT_FALSE(Pane().image);
    platform::testing::DeliverImages();
    EXPECT_TRUE(Pane().image);
    EXPECT_EQ(world().lastDecoded, folder + "b.png");
    EXPECT_EQ(Pane().width, 20); // in the pane as the layout sized it
}

TEST_F(PreviewTest, APictureTooLargeIsRefusedOnItsSizeBeforeDecoding) {
    Image("huge.png", 10001, 6400); // just past 64 million pixels
    Image("large.png", 10000, 6400);
    ShowFiles({"large.png", "huge.png"});
    ExpectImageAt(0, 22, 400, 256);
    const auto& asked = world().imageRequests.back();
    EXPECT_EQ(asked.maxPixels, 64000000u);
    EXPECT_EQ(std::pair(asked.wantedWidth, asked.wantedHeight), std::pair(400, 300))
        << "decoded no larger than the pane";
    int decodes = world().imageDecodes;
    PressKey(VkDown);
    ExpectText("Cannot Show This Image");
    EXPECT_EQ(world().imageDecodes, decodes);
    EXPECT_EQ(world().imagesRefused, 1);
    EXPECT_EQ(world().keptWidth, 0) << "the earlier picture is let go";
}

TEST_F(PreviewTest, ACtrlHeldAfterAChordDoesNotHoldBackTheImage) {
    Image("a.png", 10, 10);
    Image("b.png", 10, 10);
    ShowFiles({"a.png", "b.png"});
    KeyDown(VkControl);
    PressKey(VkDown);
    EXPECT_EQ(world().lastDecoded, folder + "b.png");
    KeyUp(VkControl);
}

TEST_F(PreviewTest, TheBackgroundCyclesWhiteBlackBlueAndRedrawsThePane) {
    Image("wide.png", 800, 100);
    ShowFiles({"wide.png"});
    const struct {
        const char* said;
        int colour;
    } steps[] = {{"Image Background is White", White},
                 {"Image Background is Black", Black},
                 {"Image Background is Blue", Blue}};
    for (const auto& step : steps) {
        int beeps = int(world().beeps.size());
        Command(CmdImageBGColor);
        EXPECT_EQ(Spoken(), step.said);
        EXPECT_EQ(Pane().background, step.colour);
        ExpectImageAt(0, 125, 400, 50);
        EXPECT_EQ(int(world().beeps.size()), beeps + 1);
    }
    // A value edited by hand starts again at White; drawn meanwhile on black.
    Settings.ImageBG = 7;
    RefreshPreview();
    Idle();
    EXPECT_EQ(Pane().background, Black);
    Command(CmdImageBGColor);
    EXPECT_EQ(Spoken(), "Image Background is White");
    EXPECT_EQ(Settings.ImageBG, 0);
}

TEST_F(PreviewTest, AClickOnThePaneTogglesResizingAndRefitsTheImage) {
    Image("small.png", 40, 30);
    ShowFiles({"small.png"});
    ExpectImageAt(180, 135, 40, 30);
    world().focus = platform::SearchBoxId;

    OnCommand(platform::PreviewId, 1); // its double click: neither a click nor a shortcut
    EXPECT_EQ(Settings.PreviewResize, 0);
    EXPECT_EQ(SpeechPrefix, "");
    OnCommand(platform::PreviewId, 0);
    Idle();
    EXPECT_EQ(Settings.PreviewResize, 1);
    EXPECT_EQ(Spoken(), "Preview Resize is ON"); // after the list's own focus speech
    EXPECT_EQ(Spoken(1), "Results List has focus. Bottom of List : small.png");
    EXPECT_EQ(world().beeps.size(), 1u);
    EXPECT_EQ(world().focus, platform::ResultListId);
    // The layout gave the pane its own size again; the image now fills it
    // edge to edge in one direction, 4 : 3, centred in the other.
    int cw = 0, ch = 0;
    platform::PreviewClientSize(cw, ch);
    ASSERT_GT(cw, 40);
    EXPECT_TRUE(Pane().image);
    bool byWidth = Pane().width == cw;
    EXPECT_TRUE(byWidth || Pane().height == ch);
    EXPECT_NEAR(Pane().width * 3.0 / 4.0, Pane().height, 1.0);
    EXPECT_LE(std::abs(2 * Pane().x + Pane().width - cw), 1);
    EXPECT_LE(std::abs(2 * Pane().y + Pane().height - ch), 1);

    OnCommand(platform::PreviewId, 0);
    Idle();
    EXPECT_EQ(Spoken(), "Preview Resize is OFF");
    EXPECT_EQ(Pane().width, 40);
}

TEST_F(PreviewTest, WithThePreviewOffNothingIsDecodedAndLayoutHidesThePane) {
    Image("a.png", 10, 10);
    Image("b.png", 10, 10);
    ShowFiles({"a.png", "b.png"});
    Command(CmdPreview);
    EXPECT_EQ(Spoken(), "Show Preview is OFF");
    EXPECT_FALSE(world().controls[platform::PreviewId].visible);
    int decodes = world().imageDecodes, shows = Pane().shows;
    PressKey(VkDown);
    EXPECT_EQ(world().imageDecodes, decodes);
    EXPECT_EQ(Pane().shows, shows);

    Command(CmdPreview);
    EXPECT_EQ(Spoken(), "Show Preview is ON");
    EXPECT_TRUE(world().controls[platform::PreviewId].visible);
    EXPECT_EQ(world().lastDecoded, folder + "b.png");
    EXPECT_TRUE(Pane().image);
    // Showing the pane decodes once, though it lays the window out as well.
    EXPECT_EQ(world().imageDecodes, decodes + 1);
}
