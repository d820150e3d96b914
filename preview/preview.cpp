#include "preview/preview.h"

#include "base/display_scale.h"
#include "base/text.h"
#include "platform/platform.h"
#include "results/result_list.h"
#include "search/file_types.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

constexpr const char* NotAnImage = "Not An Image";
// A file with an image extension that the decoder refuses (.svg, most .webp,
// a damaged file), or one with nothing in it to show.
constexpr const char* CannotShowImage = "Cannot Show This Image";
// Where the texts start, at 100 %; a picture is shown in its own pixels.
constexpr int TextX = 50, TextY = 50;

const char* const BackgroundNames[] = {"White", "Black", "Blue"};

struct PreviewRecord {
    bool requestPending = false;
    // The picture the pane waits for; a delivery with another token is for a
    // row the user has left.
    uint64_t token = 0;
    bool waiting = false;
    // The last load: the image's own size, and whether it can be drawn.
    bool loaded = false;
    int width = 0, height = 0;
    PreviewPlace place;
};
PreviewRecord Preview;

int Round(double value) {
    return int(RoundHalfEven(value));
}

int Background() {
    return ImageBackgroundColour(Settings.ImageBG);
}

// Relative luminance of a Windows colour value (red in the lowest byte).
double Luminance(int colour) {
    auto channel = [](int value) {
        double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 255) + 0.7152 * channel((colour >> 8) & 255) +
           0.0722 * channel((colour >> 16) & 255);
}

double Contrast(int a, int b) {
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The scheme's text colour, unless it would fade into the pane's background
// (yellow on white): then black or white, whichever stands out more.
int TextColour() {
    int bg = Background();
    if (Contrast(Settings.FG, bg) >= 3.0) return Settings.FG;
    return Contrast(0, bg) >= Contrast(16777215, bg) ? 0 : 16777215;
}

} // namespace

int ImageBackgroundColour(int imageBG) {
    switch (imageBG) {
    case 0:
        return 16777215;
    case 2:
        return 16711680;
    default:
        return 0;
    }
}

PreviewPlace FitPreviewImage(int w, int h, int cw, int ch, bool resize) {
    PreviewPlace p{0, 0, w, h};
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0) return {};
    if (resize || cw < w || ch < h) {
        double f = std::max(double(w) / cw, double(h) / ch);
        p.width = std::max(1, Round(w / f));
        p.height = std::max(1, Round(h / f));
    }
    p.x = Round((cw - p.width) / 2.0);
    p.y = Round((ch - p.height) / 2.0);
    return p;
}

void RefreshPreview() {
    Preview.requestPending = Preview.waiting = false;
    ++Preview.token;
    if (Settings.ShowPreview == 0) return;
    platform::ShowControl(platform::PreviewId, true);
    platform::PreviewShowBlank(Background());
    if (!platform::FileExists(CurrentFile)) return;
    std::string_view file = CurrentFile;
    size_t dot = file.rfind('.');
    std::string_view ext = dot == std::string_view::npos ? std::string_view() : file.substr(dot);
    if (!ext.empty() && std::string_view(ImageExtensions).find(ext) != std::string_view::npos) {
        Preview.requestPending = true; // after the row is spoken, when the keys are quiet
        return;
    }
    platform::PreviewShowText(NotAnImage, WindowPixels(TextX), WindowPixels(TextY), TextColour(),
                              Background());
}

// Asked for only once the keys are quiet: a held key passes rows it would be
// a waste to decode, and each decode takes a share of the processor.
void OnIdle() {
    if (!Preview.requestPending || platform::KeyInputPending()) return;
    Preview.requestPending = false;
    Preview.waiting = true;
    int cw = 0, ch = 0;
    platform::PreviewClientSize(cw, ch);
    platform::PreviewRequestImage(CurrentFile, cw, ch, LargestPreviewPicture, Preview.token);
}

void OnPreviewImage(uint64_t token, bool decoded, int width, int height) {
    if (token != Preview.token || !Preview.waiting) return;
    Preview.waiting = false;
    LoadPreviewImage(decoded, width, height);
    DrawPreviewImage();
}

// Only what the pane shows is kept: a camera photo held at its own size would
// cost about 100 MB.
void LoadPreviewImage(bool decoded, int w, int h) {
    Preview.loaded = false;
    Preview.width = w;
    Preview.height = h;
    Preview.place = {};
    if (decoded && w > 0 && h > 0) {
        int cw = 0, ch = 0;
        platform::PreviewClientSize(cw, ch);
        Preview.place = FitPreviewImage(w, h, cw, ch, Settings.PreviewResize != 0);
        Preview.loaded = true;
    }
    platform::PreviewKeepImage(Preview.place.width, Preview.place.height, Background());
}

void DrawPreviewImage() {
    if (!Preview.loaded) {
        platform::PreviewShowText(CannotShowImage, WindowPixels(TextX), WindowPixels(TextY),
                                  TextColour(), Background());
        return;
    }
    // A pane squeezed to nothing has no room for the image.
    if (Preview.place.width <= 0) {
        platform::PreviewShowBlank(Background());
        return;
    }
    platform::PreviewShowImage(Preview.place.x, Preview.place.y, Background());
}

void CycleImageBackground() {
    Settings.ImageBG = Settings.ImageBG >= 0 && Settings.ImageBG < 2 ? Settings.ImageBG + 1 : 0;
    SpeakText(std::string("Image Background is ") + BackgroundNames[Settings.ImageBG]);
    RefreshPreview();
}

void TogglePreviewResize() {
    Settings.PreviewResize = Settings.PreviewResize != 0 ? 0 : 1;
}

void ResetPreviewState() {
    Preview = PreviewRecord();
}
