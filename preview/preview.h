#pragma once

// Shows the selected image result in the preview pane, fitted to its size.
void RefreshPreview();
