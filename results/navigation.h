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

// Where the list's Up, Down, Page Up, Page Down, Home or End key moves the
// selection from item `at` (0-based), with `top` the first item shown and
// `perPage` rows shown whole; -1 when the selection stays.
int ListMoveTarget(int virtualKey, int at, int count, int top, int perPage);

// A click on a column header: the rows sorted by it, each click the other way.
extern int SortDescending;
void ResetResultsState(); // the sort order and `CurrentFile`
void SortRows(int column);
