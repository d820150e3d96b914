#include "searchbox/status.h"

#include "app/layout.h"
#include "app/main_window.h"
#include "platform/platform.h"
#include "speech/speech.h"

namespace {

constexpr const char* StatusShownWhole = "Status Text Is Shown Whole";
constexpr const char* StatusNotShown = "Status Bar Has No Room";

} // namespace

// `force` sets the text even when unchanged; only a new text starts again at its first line,
// so that a row refreshed in place keeps the page being read.
static bool Put(const std::string& text, bool force) {
    std::string line = "   " + text;
    bool changed = line != MainWindow.StatusText;
    if (!changed && !force) return false;
    MainWindow.StatusText = line;
    platform::SetStatusBarText(line);
    if (changed) ShowStatusFromStart();
    return true;
}

bool PutStatusText(const std::string& text) {
    return Put(text, false);
}

void SetStatusText(const std::string& text) {
    Put(text, true); // set even when unchanged, as it always was
    FitStatusArea();
    platform::RedrawControl(platform::StatusBarId);
}

void ShowStatusFromStart() {
    MainWindow.StatusFirstLine = 0;
    platform::SetStatusBarFirstLine(0);
}

// Pages of as many lines as the bar shows; after the last, the first again.
void ShowNextStatusPage() {
    platform::StatusLineCount lines = platform::StatusBarLines();
    if (lines.shown < 1) return SpeakText(StatusNotShown);
    if (lines.total <= lines.shown) {
        ShowStatusFromStart();
        return SpeakText(StatusShownWhole);
    }
    int pages = (lines.total + lines.shown - 1) / lines.shown;
    int page = (MainWindow.StatusFirstLine / lines.shown + 1) % pages;
    MainWindow.StatusFirstLine = page * lines.shown;
    platform::SetStatusBarFirstLine(MainWindow.StatusFirstLine);
    platform::RedrawControl(platform::StatusBarId);
    SpeakText("Status Page " + std::to_string(page + 1) + " of " + std::to_string(pages));
}

void RunCommand(int commandId) {
    platform::SendCommand(commandId);
}
