#include "actions/update.h"

#include "speech/speech.h"

void UpdateProgram() {
    SpeakNotAvailableYet();
}
