#include "searchbox_test_support.h"

#include "searchbox/search_box.h"

namespace {

const std::string Refused = " : Invalid Search String Character";

} // namespace

class TypingTest : public SearchBoxTest, public ::testing::WithParamInterface<int> {};

TEST_P(TypingTest, LettersAndWordsAreSpokenAsEnableSpeakLettersSays) {
    const Texts expected[] = {{}, {"T", "E", "Space : "}, {"TE"}, {"T", "E", "Space : TE"}};
    Settings.EnableSpeakLetters = GetParam();
    Type("te ");
    EXPECT_EQ(Box(), "te ");
    EXPECT_EQ(Heard(), expected[GetParam()]);
    EXPECT_EQ(CurrentWord, "");
}

TEST_P(TypingTest, TheSixteenCharactersAreRefusedWhateverTheSetting) {
    Settings.EnableSpeakLetters = GetParam();
    const std::pair<const char*, const char*> refused[] = {
        {"~", "Tilde"},         {"@", "At Sign"},
        {"#", "Pound Sign"},    {"$", "Dollar Sign"},
        {"^", "Caret"},         {"&", "Ampersand"},
        {"[", "Left Bracket"},  {"{", "Left Curly Bracket"},
        {"]", "Right Bracket"}, {"}", "Right Curly Bracket"},
        {";", "SemiColon"},     {"'", "Apostrophe"},
        {"<", "Less Than"},     {">", "Greater Than"},
        {",", "Comma"},         {"`", "Back Quote"}};
    Holding("ab", 1);
    for (const auto& [character, description] : refused) {
        Type(character);
        EXPECT_EQ(platform::testing::LastSpoken(), description + Refused) << character;
    }
    EXPECT_EQ(Box(), "ab");
    EXPECT_EQ(Caret(), 1);
    // The five keys that type a refused character unshifted beep at once,
    // unless keys are not spoken at all.
    EXPECT_EQ(world().beeps.size(), GetParam() == 0 ? 0u : 5u);
}

INSTANTIATE_TEST_SUITE_P(EnableSpeakLetters, TypingTest, ::testing::Values(0, 1, 2, 3));

TEST_F(SearchBoxTest, WordsCollectOnlyWhatWasTypedSinceTheLastSpace) {
    Settings.EnableSpeakLetters = 2;
    Type("tex");
    EXPECT_EQ(CurrentWord, "TEX");
    EXPECT_TRUE(Heard().empty());
    Press(VkBack);
    Type("as dallas ");
    EXPECT_EQ(Box(), "teas dallas ");
    EXPECT_EQ(Heard(), (Texts{"Erase x", "TEAS", "DALLAS"}));
}

TEST_F(SearchBoxTest, ShiftedKeysAreNamedWhereTheirCharacterMayBeTyped) {
    Type("A!%*():_+|\"?>");
    EXPECT_EQ(Box(), "A!%*():_+|\"?");
    // Shift itself is named each time, then the key; ">" is named on the key
    // and then refused as a character.
    Texts expected;
    for (const char* name : {"Capital A", "Exclamation Mark", "Percent Sign", "Asterisk",
                             "Left Parenthesis", "Right Parenthesis", "Colon", "Under Score",
                             "Plus", "Pipe", "Double Quote", "Question Mark", "Greater Than"}) {
        expected.push_back("Shift");
        expected.push_back(name);
    }
    expected.push_back("Greater Than" + Refused);
    EXPECT_EQ(Heard(), expected);
}

TEST_F(SearchBoxTest, UnshiftedQuoteBeepsButShiftedQuoteIsTyped) {
    Press(VkOem7);
    EXPECT_EQ(world().beeps, (std::vector<std::pair<int, int>>{{275, 150}}));
    EXPECT_EQ(Box(), "");
    EXPECT_EQ(Heard(), Texts{"Apostrophe : Invalid Search String Character"});
    Forget();
    Press(VkOem7, true);
    EXPECT_EQ(Box(), "\"");
    EXPECT_EQ(Heard(), (Texts{"Shift", "Double Quote"}));
    EXPECT_TRUE(world().beeps.empty());
}

TEST_F(SearchBoxTest, ShiftTwoSaysNothingOnTheKeyThenRefusesTheAtSign) {
    Press('2', true);
    EXPECT_EQ(Box(), "");
    EXPECT_EQ(Heard(), (Texts{"Shift", "At Sign" + Refused}));
}

TEST_F(SearchBoxTest, CapsLockNamesCapitalsAndIsAnnouncedOnRelease) {
    Press(VkCapital);
    EXPECT_EQ(Heard(), Texts{"Cap ON"});
    Forget();
    Type("a");
    Press('B', true);
    EXPECT_EQ(Box(), "Ab");
    EXPECT_EQ(Heard(), (Texts{"Capital A", "Shift", "B"}));
    Forget();
    Press(VkCapital);
    EXPECT_EQ(Heard(), Texts{"Cap OFF"});
}

TEST_F(SearchBoxTest, FullCharacterCodesAreCompared) {
    // U+0140 and U+0123 share their low byte with "@" and "#".
    EXPECT_FALSE(IsRefusedCharacter(0x140));
    EXPECT_FALSE(IsRefusedCharacter(0x123));
    Type("\xC5\x80");
    EXPECT_EQ(Box(), "\xC5\x80");
    EXPECT_TRUE(Heard().empty());
}

TEST_F(SearchBoxTest, WithLettersOffOnlyReleasesSpeak) {
    Settings.EnableSpeakLetters = 0;
    Holding("abc", 1);
    Press(VkDelete);
    Press(VkBack);
    Press(VkShift);
    Press(VkControl);
    Press(VkSpace);
    Type("X");
    EXPECT_EQ(Box(), " Xc");
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(world().beeps.empty());
    Press(VkLeft);
    Press(VkHome);
    Press(VkEnd);
    Press(VkCapital);
    EXPECT_EQ(Heard(), (Texts{"Left Arrow : Capital X", "Home Key : Start of Search Term : ",
                              "End Key : End of Search Term : ", "Cap ON"}));
}
