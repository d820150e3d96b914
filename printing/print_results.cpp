#include "printing/print_results.h"

#include "speech/speech.h"

void PrintResultList() {
    SpeakNotAvailableYet();
}
