#include "speech/key_names.h"

#include "base/text.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <string_view>

std::string KeyName;
std::string KeyChar;
std::string CurrentWord;

namespace {

constexpr const char* CapitalWord = "Capital ";

struct NamedKey {
    int key;
    const char *name, *shiftedName;
    const char *character, *shiftedCharacter;
};

constexpr NamedKey NamedKeys[] = {
    {48, "0", "Right Parenthesis", "0", ")"},
    {49, "1", "Exclamation Mark", "1", "!"},
    {50, "2", "At Symbol", "2", "@"},
    {51, "3", "Pound Sign", "3", "#"},
    {52, "4", "Dollar Sign", "4", "$"},
    {53, "5", "Percent Sign", "5", "%"},
    {54, "6", "Caret", "6", "^"},
    {55, "7", "Ampersand", "7", "&"},
    {56, "8", "Asterisk", "8", "*"},
    {57, "9", "Left Parenthesis", "9", "("},
    {32, "Space", "Space", " ", " "},
    {109, "Dash", "Dash", "-", "-"},
    {186, "Semi Colon", "Colon", ";", ":"},
    {187, "Equal", "Plus", "=", "+"},
    {189, "Dash", "Under Score", "-", "_"},
    {190, "Period", "Greater Than", ".", ">"},
    {191, "Forward Slash", "Question Mark", "/", "?"},
    {220, "Back Slash", "Pipe", "\\", "|"},
    {222, "Single Quote", "Double Quote", "'", "\""},
};

struct CharacterName {
    std::string_view character;
    const char* description;
};

constexpr CharacterName CharacterNames[] = {
    {" ", "Space"},
    {"`", "Back Quote"},
    {"~", "Tilde"},
    {"?", "Question Mark"},
    {".", "Period"},
    {"!", "Exclamation Point"},
    {";", "SemiColon"},
    {":", "Colon"},
    {"<", "Less Than"},
    {">", "Greater Than"},
    {"=", "Equal"},
    {"'", "Apostrophe"},
    {"/", "Forward Slash"},
    {",", "Comma"},
    {"[", "Left Bracket"},
    {"]", "Right Bracket"},
    {"{", "Left Curly Bracket"},
    {"}", "Right Curly Bracket"},
    {"\\", "Back Slash"},
    {"|", "Pipe"},
    {"-", "Dash"},
    {"_", "Underline"},
    {"+", "Plus Sign"},
    {"*", "Asterisk"},
    {"@", "At Sign"},
    {"#", "Pound Sign"},
    {"$", "Dollar Sign"},
    {"%", "Per Cent"},
    {"^", "Caret"},
    {"&", "Ampersand"},
    {"(", "Left Parenthesis"},
    {")", "Right Parenthesis"},
    {"\r", " New Line"},
};

void NameLetter(int key) {
    KeyChar = std::string(1, char(key));
    bool upper = CapsLockOn() != ShiftDown();
    KeyName = upper ? CapitalWord + KeyChar : KeyChar;
}

void NameOtherKey(int key) {
    for (const NamedKey& k : NamedKeys) {
        if (k.key != key) continue;
        bool shift = ShiftDown();
        KeyName = shift ? k.shiftedName : k.name;
        KeyChar = shift ? k.shiftedCharacter : k.character;
        return;
    }
}

// Latin Extended-A pairs each capital with its small letter, mostly capital first.
bool IsUpperLatinExtended(char32_t c) {
    if (c >= 0x100 && c <= 0x137) return c % 2 == 0;
    if (c >= 0x139 && c <= 0x148) return c % 2 == 1;
    if (c >= 0x14A && c <= 0x177) return c % 2 == 0;
    if (c == 0x178) return true;
    if (c >= 0x179 && c <= 0x17E) return c % 2 == 1;
    return false;
}

} // namespace

bool ShiftDown() {
    return (platform::KeyState(VkShift) & 0x8000) != 0;
}

// The toggle bit alone: holding the Caps Lock key down does not make letters capital.
bool CapsLockOn() {
    return (platform::KeyState(VkCapital) & 1) != 0;
}

bool IsUpperLetter(char32_t c) {
    if (LowerCodePoint(c) != c) return true;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return true; // Greek
    if (c >= 0x400 && c <= 0x42F) return true;               // Cyrillic
    return IsUpperLatinExtended(c);
}

void NameKey(int virtualKey) {
    KeyName.clear();
    KeyChar.clear();
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        NameLetter(virtualKey);
    else
        NameOtherKey(virtualKey);
}

std::string DescribeCharacter(const std::string& character) {
    for (const CharacterName& c : CharacterNames)
        if (c.character == character) return c.description;
    size_t pos = 0;
    if (character.empty()) return character;
    char32_t code = NextCodePoint(character, pos);
    if (pos == character.size() && IsUpperLetter(code)) return CapitalWord + character;
    return character;
}

void SpeakKey() {
    int letters = Settings.EnableSpeakLetters;
    if (letters == 1 || letters == 3) SpeakEcho(KeyName);
    if (letters > 1) CurrentWord += KeyChar;
}

void DropLastCharacter(std::string& text) {
    if (text.empty()) return;
    size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.erase(end);
}

void ResetSpeechState() {
    KeyName.clear();
    KeyChar.clear();
    CurrentWord.clear();
    Welcome(""); // nothing held back, nothing waiting
}
