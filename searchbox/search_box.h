// The search box's key handler: speaks what is typed and refuses what may not
// be typed.
#pragma once

#include <string>

std::string CharLeftOfCaret();
std::string CharRightOfCaret();
