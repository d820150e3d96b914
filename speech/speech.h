// The one voice and the ways every part of the program speaks through it.
#pragma once

#include <string>

// Words the next `SpeakText` begins with; emptied when spoken.
extern std::string SpeechPrefix;

// Interrupting and asynchronous; silent while speech is disabled.
void SpeakText(const std::string& text);
// Interrupting and blocking until said; neither speaks nor clears the prefix.
void SpeakTextAndWait(const std::string& text);
void StopSpeech();
// What a command whose work is not built yet says, rather than silence.
void SpeakNotAvailableYet();
// Said instead of a confirmation when another program kept the clipboard.
void SpeakClipboardNotAvailable();
