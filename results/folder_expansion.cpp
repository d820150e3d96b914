#include "results/folder_expansion.h"

#include "speech/speech.h"

void ExpandFolder() {
    SpeakNotAvailableYet();
}
void ExpandParentFolder() {
    SpeakNotAvailableYet();
}
