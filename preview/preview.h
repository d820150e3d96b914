#pragma once

// Shows the selected image result in the preview pane, fitted to its size.
// The image itself is decoded later, once the keys are quiet (OnIdle), so the
// row is spoken first and rows passed over by a held key are never decoded.
void RefreshPreview();
// Decodes `CurrentFile` and keeps it at the size the pane shows it; false
// when a key came meanwhile and the picture was let go, to be decoded later.
bool LoadPreviewImage();
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

void ResetPreviewState();
