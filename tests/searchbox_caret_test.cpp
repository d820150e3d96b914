#include "searchbox_test_support.h"

#include "platform/events.h"
#include "search/history.h"
#include "searchbox/search_box.h"

TEST_F(SearchBoxTest, BackSpaceAndDeleteNameTheCharacterAboutToGo) {
    Holding("a.c", 2);
    Press(VkBack);
    EXPECT_EQ(Box(), "ac");
    Press(VkDelete);
    EXPECT_EQ(Box(), "a");
    EXPECT_EQ(Heard(), (Texts{"Erase Period", "Delete c"}));
}

TEST_F(SearchBoxTest, BackSpaceAtTheStartAndDeleteAtTheEndNameNothing) {
    Holding("ab", 0);
    Press(VkBack);
    Holding("ab", 2);
    Press(VkDelete);
    EXPECT_EQ(Box(), "ab");
    EXPECT_EQ(Heard(), Texts{"Delete "});
    Holding("ab", 0);
    Press(VkBack);
    EXPECT_EQ(Heard(), Texts{"Erase "});
}

TEST_F(SearchBoxTest, WithASelectionTheSelectionIsWhatIsNamed) {
    Holding("texas", 0, 5); // as the box is after start-up
    Press(VkBack);
    EXPECT_EQ(Box(), "");
    EXPECT_EQ(Heard(), Texts{"Erase texas"});
    Holding("aBc", 1, 2);
    Press(VkDelete);
    EXPECT_EQ(Box(), "ac");
    EXPECT_EQ(Heard(), Texts{"Delete Capital B"});
    Holding("abcd", 1, 3);
    Press(VkDelete);
    EXPECT_EQ(Box(), "ad");
    EXPECT_EQ(Heard(), Texts{"Delete bc"});
}

TEST_F(SearchBoxTest, ArrowsNameTheCharacterPassedAndStopAtTheEnds) {
    Holding("aB", 2);
    Press(VkRight);
    EXPECT_EQ(Caret(), 2);
    Press(VkLeft);
    Press(VkLeft);
    Press(VkLeft);
    EXPECT_EQ(Caret(), 0);
    Press(VkRight);
    EXPECT_EQ(Heard(), (Texts{"Right Arrow : Capital B", "Left Arrow : Capital B", "Left Arrow : a",
                              "Left Arrow : a", "Right Arrow : a"}));
    EXPECT_EQ(CharLeftOfCaret(), "a");
    EXPECT_EQ(CharRightOfCaret(), "B");
}

TEST_F(SearchBoxTest, HomeAndEndTellWhetherControlWasHeld) {
    Holding("abc", 1);
    Press(VkHome);
    Press(VkEnd);
    EXPECT_EQ(Heard(),
              (Texts{"Home Key : Start of Search Term : ", "End Key : End of Search Term : "}));
    // The Control key is named as it goes down, then the release speaks.
    Forget();
    Press(VkHome, false, true);
    EXPECT_EQ(Heard(), (Texts{"Control", "Control Home : Start of Search Term : "}));
    Forget();
    Press(VkEnd, false, true);
    EXPECT_EQ(Heard(), (Texts{"Control", "Control End : End of Search Term : "}));
}

TEST_F(SearchBoxTest, UpAndDownStepThroughTheHistory) {
    SearchHistory = "houston++++dallas++++texas";
    Settings.SearchTermNumber = 1;
    Holding("houston", 7);
    Texts terms;
    for (int key : {VkDown, VkDown, VkDown, VkUp, VkDown, VkUp}) {
        Press(key);
        terms.push_back(Box());
    }
    EXPECT_EQ(terms, (Texts{"dallas", "texas", "houston", "houston", "dallas", "houston"}));
    EXPECT_EQ(Heard().front(), "Search Term is : dallas");
    EXPECT_EQ(Heard().back(), "Search Term is : houston");
    EXPECT_EQ(Settings.SearchTermNumber, 1);
    EXPECT_EQ(SearchHistory, "houston++++dallas++++texas");
}

TEST_F(SearchBoxTest, FocusCopiesTheTermAndSpeaksItSpreadAfterTheWelcome) {
    Start();
    SpeechPrefix = "Welcome to Lumafind, version 4.43!"; // as if the start were still speaking
    world().focus = platform::ResultListId;
    platform::SetSearchBoxText("a*b?c");
    platform::testing::GiveFocus(platform::SearchBoxId);
    EXPECT_EQ(Settings.SearchTerm, "a*b?c");
    EXPECT_EQ(Heard().back(),
              "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is a *b ?c");
    world().focus = platform::ResultListId;
    platform::SetSearchBoxText("   ");
    platform::testing::GiveFocus(platform::SearchBoxId);
    EXPECT_EQ(Heard().back(), "SearchBox has focus. Search term is Empty");
}

TEST_F(SearchBoxTest, WheelOverTheBoxChangesTheFontOnce) {
    EXPECT_TRUE(OnSearchBoxMouseWheel(120));
    EXPECT_EQ(Settings.FontSize, 40);
    EXPECT_EQ(world().fonts[platform::SearchBoxId].second, 40);
    EXPECT_EQ(Heard(), Texts{"Font Size is  40"});
    OnSearchBoxMouseWheel(-240);
    EXPECT_EQ(Settings.FontSize, 36);
}
