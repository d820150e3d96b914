#include "preview/preview.h"

#include "speech/speech.h"

// The image preview pane comes with its own work; until then the surface
// stays empty.
void RefreshPreview() {}

void CycleImageBackground() {
    SpeakNotAvailableYet();
}
void TogglePreviewResize() {
    SpeakNotAvailableYet();
}
