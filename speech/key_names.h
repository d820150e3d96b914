// Spoken names of keys and characters.
#pragma once

#include <string>

// The name of the key last given to `NameKey`, and the character it types
// (letters always in upper case), or empty for keys that are not named.
extern std::string KeyName;
extern std::string KeyChar;
// What was typed since the last Space, collected while words are spoken.
extern std::string CurrentWord;
// The key and word being typed, and the pending prefix, cleared.
void ResetSpeechState();

// Names the key by the current Shift and Caps Lock state.
void NameKey(int virtualKey);
// A character as the voice should say it; "" for "".
std::string DescribeCharacter(const std::string& character);
// Speaks `KeyName` and collects `KeyChar` as `EnableSpeakLetters` says.
void SpeakKey();

bool ShiftDown();
bool CapsLockOn();
bool IsUpperLetter(char32_t c);
// Drops the last character, never half of one.
void DropLastCharacter(std::string& text);
