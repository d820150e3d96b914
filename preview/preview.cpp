#include "preview/preview.h"

// The image preview pane comes with its own work; until then the surface
// stays empty.
void RefreshPreview() {}
