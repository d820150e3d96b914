// The programs the user may start from Lumafind: the engine's window, the
// magnifier and the screen reader; and the build time the caption shows.
#pragma once

#include <cstdint>
#include <string>

void OpenSearchEngineWindow();
void CycleExternalTool();
// Right after the product page opens: the magnifier or Narrator, by ExternalTool.
void StartExternalTool();
// Starts lupa.exe from the program folder; n is handed on only to the simple form.
void StartLupa(int& n);
// Windows + Control + Enter, the system's own switch for Narrator.
void ToggleNarrator();

// "   Compiled: " with the date and time of the build stamp (100-nanosecond
// intervals since 1 January 1601), year first as the Date column shows dates.
std::string BuildTimeText(int64_t stamp);
// The same for this build.
std::string BuildTimeText();
