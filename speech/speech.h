// The one voice and the ways every part of the program speaks through it.
#pragma once

#include <string>

// Words the next `SpeakText` begins with; emptied when spoken.
extern std::string SpeechPrefix;

// While speech is disabled, what these would have said (prefix and all) goes
// to a running screen reader instead, once; without one they are silent.

// Interrupting and asynchronous.
void SpeakText(const std::string& text);
// The same, leaving a waiting prefix for the next message.
void SpeakTextWithoutPrefix(const std::string& text);
// Interrupting and blocking until said; neither speaks nor clears the prefix.
void SpeakTextAndWait(const std::string& text);
// For what the focused control shows already: a typed key or word, the text
// at the caret, the focused row. A screen reader says that itself, so while
// speech is disabled only a waiting prefix is handed to it.
void SpeakEcho(const std::string& text);
void StopSpeech();
// From the window's creation to the welcome the program is silent: what start-up
// shows (the last result, its row, the list's focus) is not news to the user,
// and each message would cut off the one before.
void HoldSpeechUntilWelcome();
// Said to its end as the program closes; nothing is said after it.
void SayGoodbye(const std::string& words);
// Neither held for the welcome nor silent after a goodbye (a fresh start).
void ResetSilence();
// The welcome rides on the next message.
void Welcome(const std::string& words);
// Said instead of a confirmation when another program kept the clipboard.
void SpeakClipboardNotAvailable();
