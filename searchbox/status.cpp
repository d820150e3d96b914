#include "searchbox/status.h"

#include "app/layout.h"
#include "app/main_window.h"
#include "platform/platform.h"

bool PutStatusText(const std::string& text) {
    std::string line = "   " + text;
    if (line == MainWindow.StatusText) return false;
    MainWindow.StatusText = line;
    platform::SetStatusBarText(line);
    return true;
}

void SetStatusText(const std::string& text) {
    MainWindow.StatusText.clear(); // set even when unchanged, as it always was
    PutStatusText(text);
    FitStatusArea();
    platform::RedrawControl(platform::StatusBarId);
}

void RunCommand(int commandId) {
    platform::SendCommand(commandId);
}
