#include "speech/key_names.h"

// Placeholders until key naming lands.
std::string KeyName;
std::string KeyChar;
std::string CurrentWord;

void NameKey(int) {}
std::string DescribeCharacter(const std::string& character) { return character; }
void SpeakKey() {}
