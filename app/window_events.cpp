// Window messages of the main window that are not commands.
#include "app/layout.h"
#include "appearance/appearance.h"
#include "appearance/toolbar.h"
#include "platform/events.h"
#include "platform/platform.h"

void OnSize() {
    LayoutWindow();
}

// Every font is made for a scale and every picture at a pixel size, so all
// are made again; the settings keep their sizes at 100 %.
void OnDpiChanged() {
    platform::SetDefaultFont(WindowFontName, WindowFontSize);
    ApplyFonts();
    ScaleToolbar();
    LayoutWindow();
}
