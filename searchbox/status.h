#pragma once

#include <string>

// Three blanks, then the text, in the status bar.
void SetStatusText(const std::string& text);
// Puts the text there as SetStatusText does, but without fitting the layout
// to it, and only when it differs; true when it did.
bool PutStatusText(const std::string& text);
// Sends a command to the main window and returns once it has run.
void RunCommand(int commandId);
