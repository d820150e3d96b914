#pragma once

// Shows the selected image result in the preview pane, fitted to its size.
void RefreshPreview();
// The pane's background behind an image, and whether a click resizes it.
void CycleImageBackground();
void TogglePreviewResize();
