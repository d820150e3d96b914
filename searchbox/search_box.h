// The search box's key handler: speaks what is typed and refuses what may not
// be typed. Its message handlers are the OnSearchBox* events of platform/events.h.
#pragma once

#include <string>

// The character just left of the selection start, or "" at the start.
std::string CharLeftOfCaret();
// The character just right of the selection end, or "" at the end.
std::string CharRightOfCaret();

// One of the characters a search term may never hold, refused as typed.
bool IsRefusedCharacter(unsigned character);
