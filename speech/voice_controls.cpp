#include "speech/voice_controls.h"

// Placeholders until the voice controls land.
void CycleSpeechRate() {}
void VolumeUp() {}
void VolumeDown() {}
void MuteSpeakers() {}
