#pragma once

// Everything start-up does before the window exists: the program folder as
// the current folder, the voice, the settings, the placeholder row.
void CreateProgramState();
// Restores the scroll position and the selected row of the previous run.
void RestoreListPosition(int topRow, int lastRow);
