#include "speech/spelling.h"

#include "speech/speech.h"

void SpellSearchTerm() {
    SpeakNotAvailableYet();
}
void SpellFileName() {
    SpeakNotAvailableYet();
}
