#include "actions/copy_files.h"

#include "speech/speech.h"

void CopySelectedFile() {
    SpeakNotAvailableYet();
}
void CopyResultList() {
    SpeakNotAvailableYet();
}
