#include "searchbox/clipboard.h"

#include "speech/speech.h"

void CopySearchTerm() {
    SpeakNotAvailableYet();
}
void CutSearchTerm() {
    SpeakNotAvailableYet();
}
void PasteIntoSearchBox() {
    SpeakNotAvailableYet();
}
