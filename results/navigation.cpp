#include "results/navigation.h"

#include "app/events.h"

// Placeholders until the list navigation lands.
void SpeakColumn(int) {}
void SpeakLocation() {}
void JumpToNextFolder() {}
void FitColumns() {}
void ScrollSelectionToTop() {}
bool FirstLetterJump(int) { return false; }
void OnListSetFocus() {}
void OnListRawKeyDown(int) {}
bool OnListKeyDown(int) { return false; }
void OnListDoubleClick() {}
void OnListColumnClick(int) {}
