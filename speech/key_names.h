// Spoken names of keys and characters.
#pragma once

#include <string>

extern std::string KeyName;
extern std::string KeyChar;
extern std::string CurrentWord;

void NameKey(int virtualKey);
std::string DescribeCharacter(const std::string& character);
void SpeakKey();
