#pragma once

#include <cstdint>

// Shows the selected image result in the preview pane, fitted to its size.
// The image is asked for once the keys are quiet (OnIdle) and decoded away
// from the window's thread, so the row is spoken first, rows passed over by a
// held key are never decoded, and a picture for a row already left is dropped.
void RefreshPreview();
// Keeps the delivered picture (its own size w x h) at the size the pane shows it.
void LoadPreviewImage(bool decoded, int w, int h);
// Draws the kept image centred in the pane, or says why there is none.
void DrawPreviewImage();
// The pane's background behind an image, and whether a click resizes it.
void CycleImageBackground();
void TogglePreviewResize();

// Where an image of w x h goes in a pane of cw x ch: enlarged or shrunk to
// touch two opposite edges when `resize`, otherwise only ever shrunk; centred.
struct PreviewPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PreviewPlace&) const = default;
};
PreviewPlace FitPreviewImage(int w, int h, int cw, int ch, bool resize);
// The pane's background colour for `ImageBG`.
int ImageBackgroundColour(int imageBG);
// Past this many pixels a picture is not shown: decoded at four bytes a pixel
// it could take the memory the program needs.
constexpr uint64_t LargestPreviewPicture = 64ull * 1000 * 1000;

void ResetPreviewState();
