#include "searchbox/search_box.h"

#include "app/events.h"

// Placeholders until the key handler lands.
std::string CharLeftOfCaret() { return {}; }
std::string CharRightOfCaret() { return {}; }
bool OnSearchBoxSetFocus() { return false; }
bool OnSearchBoxChar(unsigned) { return false; }
bool OnSearchBoxKeyDown(int) { return false; }
bool OnSearchBoxKeyUp(int) { return false; }
bool OnSearchBoxMouseWheel(int) { return false; }
