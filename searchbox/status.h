#pragma once

#include <string>

// Three blanks, then the text, in the status bar.
void SetStatusText(const std::string& text);
// Puts the text there as SetStatusText does, but without fitting the layout
// to it, and only when it differs; true when it did.
bool PutStatusText(const std::string& text);
// The status bar shows its text from the first line: a new text, a new layout.
void ShowStatusFromStart();
// A text longer than the status bar's room is read a page of lines at a time:
// shows the next page (after the last, the first) and says which it is.
void ShowNextStatusPage();
// Sends a command to the main window and returns once it has run.
void RunCommand(int commandId);
