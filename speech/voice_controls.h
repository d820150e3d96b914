// Speaking speed and the system volume.
#pragma once

#include <string>

// Ctrl+8: normal, fast, slow, normal.
void CycleSpeechRate();
// The saved rate, given to the voice at start so the user hears the speed
// they chose last time.
void ApplySpeechRate();
// Steps `rate` through the cycle and returns the words for the new rate.
std::string StepSpeechRate(int& rate, int slowRate, int fastRate);

// System master volume through the keyboard's volume keys.
void VolumeUp();
void VolumeDown();
void MuteSpeakers();
