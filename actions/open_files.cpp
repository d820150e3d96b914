#include "actions/open_files.h"

#include "speech/speech.h"

void OpenSelectedFile() {
    SpeakNotAvailableYet();
}
void OpenSelectedFolder() {
    SpeakNotAvailableYet();
}
