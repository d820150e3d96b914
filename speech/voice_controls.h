// Speaking speed and the system volume.
#pragma once

void CycleSpeechRate();
void VolumeUp();
void VolumeDown();
void MuteSpeakers();
