// Spelling out: every character of the search term or the selected name, one
// after another, the ones a voice would swallow named in words.
#include "commands_fixture.h"

#include "command_table/command_ids.h"
#include "platform/events.h"
#include "results/result_list.h"
#include "searchbox/status.h"
#include "settings/search_type.h"
#include "speech/spelling.h"

TEST(SpellingOf, EachCharacterThenAColonTheNamedOnesInWords) {
    EXPECT_EQ(SpellingOf(""), "");
    EXPECT_EQ(SpellingOf("a"), "a :");
    // Two blanks where a named character follows another entry.
    EXPECT_EQ(SpellingOf("a*b"), "a :  asterisk : b :");
    EXPECT_EQ(SpellingOf("C:\\x"), "C :  colon :  backslash : x :");
    EXPECT_EQ(SpellingOf("?.,_-"), "question mark :  period :  comma :  underscore :  dash :");
    // Letters keep their case unmarked, digits stay digits.
    EXPECT_EQ(SpellingOf("Ab7"), "A : b : 7 :");
}

TEST(SpellingOf, BlanksAreTrimmedOnlyAtTheEndsOfTheWhole) {
    EXPECT_EQ(SpellingOf(" a"), "space : a :");
    EXPECT_EQ(SpellingOf("a "), "a :  space :");
    EXPECT_EQ(SpellingOf("a  b"), "a :  space :  space : b :");
    EXPECT_EQ(SpellingOf(" "), "space :");
}

TEST(SpellingOf, OtherCharactersStandAsTheyAreEvenBeyondAscii) {
    EXPECT_EQ(SpellingOf("a&b'c"), "a : & : b : ' : c :");
    EXPECT_EQ(SpellingOf("(f)"), "( : f : ) :");
    EXPECT_EQ(SpellingOf("\"|/"), "\" : | : / :");
    // A character of two, three or four bytes is one character.
    EXPECT_EQ(SpellingOf("caf\xC3\xA9"), "c : a : f : \xC3\xA9 :");
    EXPECT_EQ(SpellingOf("\xE2\x82\xAC"
                         "5"),
              "\xE2\x82\xAC : 5 :");
    EXPECT_EQ(SpellingOf("\xF0\x9F\x98\x80!"), "\xF0\x9F\x98\x80 : ! :");
    EXPECT_EQ(SpellingOf("\xC3\x9C-"), "\xC3\x9C :  dash :");
}

class SpellingTest : public CommandsTest {
  protected:
    void BeforeStart() override {
        Put("results.txt", "Size,Date Modified,Filename\r\n"
                           ",01/02/2024 03:04,\"c:\\data\\my docs\"\r\n"
                           "5,01/02/2024 03:04,\"c:\\data\\R2-D2 caf\xC3\xA9.txt\"\r\n");
    }
};

TEST_F(SpellingTest, CtrlMSpellsTheSearchBoxWithoutABeep) {
    world().searchText = "a*b";
    Ctrl('M');
    EXPECT_EQ(Heard(),
              Texts{"Shortcut Pressed: Spell Search Term : C-M : Spelling Search Term: a :  "
                    "asterisk : b :"});
    EXPECT_EQ(Beeps(), 0);
    EXPECT_EQ(Settings.SearchTerm, "a*b");
    Forget();
    world().searchText = "";
    RunCommand(CmdSpellSearchTerm);
    EXPECT_EQ(Heard(), Texts{"Spelling Search Term: "});
}

TEST_F(SpellingTest, TheSearchTermIsCutToItsLimitFirst) {
    world().searchText = std::string(300, 'q');
    RunCommand(CmdSpellSearchTerm);
    EXPECT_EQ(Settings.SearchTerm, std::string(259, 'q'));
    std::string spelled;
    for (int i = 0; i < 259; ++i)
        spelled += i ? " q :" : "q :";
    EXPECT_EQ(Heard(), Texts{"Spelling Search Term: " + spelled});
}

TEST_F(SpellingTest, CtrlZSpellsTheNameAsTheListShowsIt) {
    platform::testing::GiveFocus(platform::ResultListId);
    SelectRow(2);
    Forget();
    Ctrl('Z');
    EXPECT_EQ(Heard(),
              Texts{"Shortcut Pressed: Spell Name : C-Z : Spelling File Name: r : 2 :  "
                    "dash : d : 2 :  space : c : a : f : \xC3\xA9 :  period : t : x : t :"});
    EXPECT_EQ(Beeps(), 0);
    // A folder row shows its mark in front of the name, and that is what is spelled.
    SelectRow(1);
    Forget();
    RunCommand(CmdSpellName);
    EXPECT_EQ(Heard(),
              Texts{"Spelling File Name: ( : f : ) :  space : m : y :  space : d : o : c : s :"});
}

TEST_F(SpellingTest, NoSelectedRowSpellsNothing) {
    platform::ListDeleteAllItems();
    platform::ListSetItemCount(2);
    RunCommand(CmdSpellName);
    EXPECT_EQ(Heard(), Texts{"Spelling File Name: "});
}
