// The short beep of a command whose table row asks for one, and of a key
// that cannot act.
#pragma once

void CommandBeep();
