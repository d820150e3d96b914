#include "speech/beep.h"

#include "platform/platform.h"

void CommandBeep() {
    platform::Beep(275, 150);
}
