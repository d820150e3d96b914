#include "appearance/appearance.h"

#include "app/layout.h"
#include "appearance/contrast.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

namespace {

constexpr int Black = 0;
constexpr int Yellow = 65535;
constexpr int Blue = 16711680;
constexpr int White = 16777215;

struct ColorScheme {
    int foreground, background;
    const char* name;
};

constexpr ColorScheme Schemes[] = {
    {Yellow, Blue, "Yellow on Blue"},
    {Black, White, "Black on White"},
    {White, Black, "White on Black"},
    {Black, Yellow, "Black on Yellow"},
};

// The content font goes to the search box, the list, the preview surface and
// the status bar, which shows the selected row whole.
void SetContentFont() {
    platform::SetControlFont(platform::SearchBoxId, Settings.FontName, Settings.FontSize);
    platform::RedrawControl(platform::SearchBoxId);
    platform::SetControlFont(platform::ResultListId, Settings.FontName, Settings.FontSize);
    platform::RedrawControl(platform::ResultListId);
    platform::SetControlFont(platform::PreviewId, Settings.FontName, Settings.FontSize);
    platform::SetControlFont(platform::StatusBarId, Settings.FontName, Settings.FontSize);
}

} // namespace

void ChangeFontSize(int delta) {
    Settings.FontSize += delta;
    if (Settings.FontSize < SmallestFontSize) Settings.FontSize = SmallestFontSize;
    SetContentFont();
    if (delta != 0) SpeakText("Font Size is " + NumberText(Settings.FontSize));
}

void ApplyFonts() {
    SetContentFont();
}

std::string ColorSchemeName() {
    for (const ColorScheme& s : Schemes)
        if (s.background == Settings.BG) return s.name;
    return {};
}

// Black on Yellow is reached only from the INI file, so it leaves the cycle alone.
void CycleColorScheme() {
    for (int i = 0; i < 3; ++i) {
        if (Schemes[i].background != Settings.BG) continue;
        const ColorScheme& next = Schemes[(i + 1) % 3];
        Settings.FG = next.foreground;
        Settings.BG = next.background;
        break;
    }
    SpeakText(ColorSchemeName());
    ApplyColors();
}

// The toolbar, status bar and tooltip keep their own colours.
void ApplyColors() {
    platform::SetControlColors(platform::SearchBoxId, Settings.FG, Settings.BG);
    platform::SetControlColors(platform::ResultListId, Settings.FG, Settings.BG);
    SelectionColors selection = SelectionColorsFor(Settings.FG, Settings.BG);
    platform::ListSetSelectionColors(selection.foreground, selection.background);
    platform::SearchBoxSetSelectionColors(selection.foreground, selection.background);
    platform::SetControlColors(platform::PreviewId, Settings.FG, PreviewBackground());
    platform::RedrawControl(platform::ResultListId);
    platform::RedrawControl(platform::SearchBoxId);
}

void OnMouseWheel(int delta) {
    if (delta > 0) ChangeFontSize(4);
    if (delta < 0) ChangeFontSize(-4);
    ApplyColors();
    LayoutWindow();
}
