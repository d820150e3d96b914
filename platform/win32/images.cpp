// The image library (GDI+) that the preview draws with.
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <objidl.h>

#include <gdiplus.h>

namespace platform {

using namespace win32;

// Never shut down: the preview may draw until the process ends.
void StartImageLibrary() {
    if (Win.imageLibraryToken) return;
    Gdiplus::GdiplusStartupInput input; // version 1
    Gdiplus::GdiplusStartup(&Win.imageLibraryToken, &input, nullptr);
}

} // namespace platform
