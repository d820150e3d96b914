// Commands and key handling that move through the result list and read it out.
#pragma once

// Column 1..4 of the selected row, as the list shows it.
void SpeakColumn(int column);
void SpeakLocation();
void JumpToNextFolder();
void FitColumns();
void ScrollSelectionToTop();
// True when a row was found and selected.
bool FirstLetterJump(int virtualKey);

// A click on a column header: the rows sorted by it, each click the other way.
extern int SortDescending;
void ResetResultsState(); // the sort order and `CurrentFile`
void SortRows(int column);
