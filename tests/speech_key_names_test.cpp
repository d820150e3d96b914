#include "scenario.h"

#include "base/text.h"
#include "platform/key_codes.h"
#include "speech/key_names.h"

#include <vector>

namespace {

struct Naming {
    int key;
    const char *name, *shiftedName, *characters; // unshifted, then shifted
};

} // namespace

class KeyNameTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        KeyName = KeyChar = CurrentWord = "";
    }
    void Hold(bool shift, bool capsLock) {
        world().keyStates[VkShift] = shift ? 0xFF80 : 0;
        world().keyStates[VkCapital] = capsLock ? 1 : 0;
    }
    void ExpectNamed(int key, const std::string& name, const std::string& character) {
        NameKey(key);
        EXPECT_EQ(KeyName, name) << "key " << key;
        EXPECT_EQ(KeyChar, character) << "key " << key;
    }
};

TEST_F(KeyNameTest, LettersAreCapitalExactlyWhenTheyComeOutUpperCase) {
    Hold(false, false);
    ExpectNamed('A', "A", "A");
    Hold(true, false);
    ExpectNamed('A', "Capital A", "A");
    Hold(false, true);
    ExpectNamed('Z', "Capital Z", "Z");
    Hold(true, true);
    ExpectNamed('Z', "Z", "Z");
    // Holding the Caps Lock key down (toggled off) does not make capitals.
    world().keyStates[VkShift] = 0;
    world().keyStates[VkCapital] = 0xFF80;
    ExpectNamed('Q', "Q", "Q");
}

TEST_F(KeyNameTest, DigitKeysWithAndWithoutShift) {
    const char* const shifted[] = {
        "Right Parenthesis", "Exclamation Mark", "At Symbol", "Pound Sign",
        "Dollar Sign",       "Percent Sign",     "Caret",     "Ampersand",
        "Asterisk",          "Left Parenthesis"};
    const std::string shiftedCharacters = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
        Hold(false, true); // Caps Lock changes nothing but letters
        ExpectNamed('0' + d, std::to_string(d), std::to_string(d));
        Hold(true, false);
        ExpectNamed('0' + d, shifted[d], shiftedCharacters.substr(d, 1));
    }
}

TEST_F(KeyNameTest, PunctuationKeysWithAndWithoutShift) {
    const Naming table[] = {{32, "Space", "Space", "  "},
                            {109, "Dash", "Dash", "--"},
                            {186, "Semi Colon", "Colon", ";:"},
                            {187, "Equal", "Plus", "=+"},
                            {189, "Dash", "Under Score", "-_"},
                            {190, "Period", "Greater Than", ".>"},
                            {191, "Forward Slash", "Question Mark", "/?"},
                            {220, "Back Slash", "Pipe", "\\|"},
                            {222, "Single Quote", "Double Quote", "'\""}};
    for (const Naming& n : table) {
        Hold(false, false);
        ExpectNamed(n.key, n.name, std::string(1, n.characters[0]));
        Hold(true, false);
        ExpectNamed(n.key, n.shiftedName, std::string(1, n.characters[1]));
    }
}

TEST_F(KeyNameTest, UnnamedKeysClearTheLastName) {
    ExpectNamed('A', "A", "A");
    for (int key : {8, 13, 16, 20, 46, 112, 188, 192, 219, 221}) {
        Hold(false, false);
        ExpectNamed(key, "", "");
        Hold(true, false);
        ExpectNamed(key, "", "");
    }
}

TEST_F(KeyNameTest, CharacterDescriptionsKeepTheirOwnWording) {
    const std::string characters = " `~?.!;:<>='/,[]{}\\|-_+*@#$%^&()\r\"";
    const std::vector<std::string> descriptions = SplitAll(
        "Space,Back Quote,Tilde,Question Mark,Period,Exclamation Point,SemiColon,Colon,"
        "Less Than,Greater Than,Equal,Apostrophe,Forward Slash,Comma,Left Bracket,"
        "Right Bracket,Left Curly Bracket,Right Curly Bracket,Back Slash,Pipe,Dash,Underline,"
        "Plus Sign,Asterisk,At Sign,Pound Sign,Dollar Sign,Per Cent,Caret,Ampersand,"
        "Left Parenthesis,Right Parenthesis, New Line,\"",
        ",");
    ASSERT_EQ(characters.size(), descriptions.size());
    for (size_t i = 0; i < characters.size(); ++i)
        EXPECT_EQ(DescribeCharacter(characters.substr(i, 1)), descriptions[i]) << characters[i];
}

TEST_F(KeyNameTest, OtherCharactersAreSpokenAsTheyAreWithCapitalsMarked) {
    EXPECT_EQ(DescribeCharacter("e"), "e");
    EXPECT_EQ(DescribeCharacter("E"), "Capital E");
    EXPECT_EQ(DescribeCharacter("7"), "7");
    EXPECT_EQ(DescribeCharacter(""), "");
    EXPECT_EQ(DescribeCharacter("\xC3\x89"), "Capital \xC3\x89"); // É
    EXPECT_EQ(DescribeCharacter("\xC3\xA9"), "\xC3\xA9");         // é
    EXPECT_EQ(DescribeCharacter("\xC3\x97"), "\xC3\x97");         // ×, not a letter
    EXPECT_EQ(DescribeCharacter("\xC3\x9F"), "\xC3\x9F");         // ß has no capital form here
    EXPECT_EQ(DescribeCharacter("\xC5\xA0"), "Capital \xC5\xA0"); // Š
    EXPECT_EQ(DescribeCharacter("\xC5\x82"), "\xC5\x82");         // ł
    EXPECT_EQ(DescribeCharacter("\xCE\xA9"), "Capital \xCE\xA9"); // Ω
    EXPECT_EQ(DescribeCharacter("\xD0\x96"), "Capital \xD0\x96"); // Ж
    EXPECT_EQ(DescribeCharacter("\xD0\xB6"), "\xD0\xB6");         // ж
}

// The first and last letters of each run of capitals, and the small letters
// just beside them.
TEST_F(KeyNameTest, CapitalsAreMarkedToTheEndsOfEachAlphabet) {
    auto utf8 = [](char32_t c) {
        std::string text;
        AppendCodePoint(text, c);
        return text;
    };
    // Latin Extended-A (0x100 A macron ... 0x17E z caron), Greek, Cyrillic.
    for (char32_t capital : {0x100, 0x136, 0x139, 0x147, 0x14A, 0x176, 0x178, 0x179, 0x17D, 0x391,
                             0x3A9, 0x400, 0x410, 0x42F})
        EXPECT_EQ(DescribeCharacter(utf8(capital)), "Capital " + utf8(capital))
            << std::hex << uint32_t(capital);
    for (char32_t small : {0x101, 0x137, 0x138, 0x13A, 0x148, 0x149, 0x14B, 0x177, 0x17A, 0x17E,
                           0x3B1, 0x3C2, 0x3C9, 0x430, 0x44F, 0x450})
        EXPECT_EQ(DescribeCharacter(utf8(small)), utf8(small)) << std::hex << uint32_t(small);
}

TEST_F(KeyNameTest, SpeakKeySpeaksAndCollectsByEnableSpeakLetters) {
    const size_t heard[] = {0, 2, 0, 2};
    const char* const collected[] = {"", "", "TT", "TT"};
    for (int letters = 0; letters <= 3; ++letters) {
        world().transcript.clear();
        CurrentWord.clear();
        Settings.EnableSpeakLetters = letters;
        NameKey('T');
        SpeakKey();
        SpeakKey();
        EXPECT_EQ(world().transcript.size(), heard[letters]) << letters;
        if (heard[letters] > 0) {
            EXPECT_EQ(platform::testing::LastSpoken(), "T");
        }
        EXPECT_EQ(CurrentWord, collected[letters]) << letters;
    }
}
