#pragma once

#include "platform/events.h"

#include <string>

// Everything start-up does before the window exists: the program folder as
// the current folder, the voice and the settings.
void CreateProgramState();
// Every process-wide record back as a new process has it, one subsystem at a
// time (the settings at their defaults).
void ResetProgramState();
// Restores the scroll position and the selected row of the previous run.
void RestoreListPosition(int topRow, int lastRow);
