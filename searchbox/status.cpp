#include "searchbox/status.h"

#include "app/layout.h"
#include "platform/platform.h"

void SetStatusText(const std::string& text) {
    platform::SetStatusBarText("   " + text);
    FitStatusArea();
    platform::RedrawControl(platform::StatusBarId);
}

void RunCommand(int commandId) {
    platform::SendCommand(commandId);
}
