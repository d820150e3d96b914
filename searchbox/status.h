#pragma once

#include <string>

// Three blanks, then the text, in the status bar.
void SetStatusText(const std::string& text);
// Sends a command to the main window and returns once it has run.
void RunCommand(int commandId);
