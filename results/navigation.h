// Commands and key handling that move through the result list and read it out.
#pragma once

void SpeakColumn(int column);
void SpeakLocation();
void JumpToNextFolder();
void FitColumns();
void ScrollSelectionToTop();
// True when a row was found and selected.
bool FirstLetterJump(int virtualKey);
