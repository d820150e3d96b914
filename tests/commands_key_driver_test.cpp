// The testing backend's key driver delivers keys in the message loop's order:
// accelerators, then dialog navigation, then the focused control.
#include "commands_fixture.h"

#include "backends/testing/testing.h"

using platform::testing::KeyMessage;
namespace pt = platform::testing;

namespace {
const char kRows[] = "Size,Date Modified,Filename\r\n"
                     "1,01/02/2023 10:00,\"C:\\a\\alpha.txt\"\r\n"
                     "2,01/02/2023 10:00,\"C:\\a\\beta.txt\"\r\n"
                     "3,01/02/2023 10:00,\"C:\\a\\bravo.txt\"\r\n";
}

class KeyDriverTest : public CommandsTest {
  protected:
    void BeforeStart() override { Put("results.txt", kRows); }
    std::vector<std::pair<unsigned, int>> Messages() {
        std::vector<std::pair<unsigned, int>> out;
        for (const KeyMessage& m : world().keyMessages)
            out.emplace_back(m.message, m.value);
        return out;
    }
};

TEST_F(KeyDriverTest, ModifiersAreHeldAroundTheKeyAndTheAcceleratorWinsOverTheControl) {
    Settings.SpeakShortcuts = 0;
    world().esRoots = folder;
    pt::KeyDown(17);
    EXPECT_NE(platform::KeyState(17) & 0x8000, 0);
    EXPECT_TRUE(platform::AsyncKeyDown(17));
    pt::PressKey('F');
    pt::KeyUp(17);
    EXPECT_EQ(platform::KeyState(17) & 0x8000, 0);
    // The control never sees the F going down, and no character is typed.
    EXPECT_EQ(Messages(), (std::vector<std::pair<unsigned, int>>{{pt::KeyDownMessage, 17},
                                                                 {pt::CommandMessage, 505},
                                                                 {pt::KeyUpMessage, 'F'},
                                                                 {pt::KeyUpMessage, 17}}));
    EXPECT_EQ(Settings.SearchType, 1);
}

TEST_F(KeyDriverTest, TypingAndEditingInTheSearchBox) {
    Settings.EnableSpeakLetters = 0;
    platform::SetSearchBoxText("");
    pt::TypeText("Ab 9");
    EXPECT_EQ(world().searchText, "Ab 9");
    Press(36); // Home
    Press(46); // Delete
    Press(39); // Right
    pt::TypeText("é");
    Press(35); // End
    Press(8);  // BackSpace
    EXPECT_EQ(world().searchText, "bé ");
    pt::PressKey(36, true); // Shift+Home selects back to the start
    pt::TypeText("x");
    EXPECT_EQ(world().searchText, "x");
    Press(20); // Caps Lock
    pt::TypeText("q");
    pt::PressKey('Q', true);
    EXPECT_EQ(world().searchText, "xQq");
}

TEST_F(KeyDriverTest, TabMovesTheFocusAndTheListKeysMoveTheSelection) {
    Press(VkTab);
    EXPECT_EQ(platform::FocusedControl(), platform::ResultListId);
    EXPECT_EQ(Spoken(), "Results List has focus. Top of List : alpha.txt");
    Press(VkDown);
    EXPECT_EQ(Spoken(), "beta.txt");
    Press(35); // End
    EXPECT_EQ(Spoken(), "Bottom of List : bravo.txt");
    Press(36);  // Home
    Press('B'); // first-letter jump from the list's own key notification
    EXPECT_EQ(Spoken(), "beta.txt");
    pt::PressKey(VkTab, true);
    EXPECT_EQ(platform::FocusedControl(), platform::SearchBoxId);
    EXPECT_TRUE(Spoken().starts_with("SearchBox has focus."));
}

TEST_F(KeyDriverTest, NothingIsDeliveredOnceTheWindowIsGone) {
    Press(VkEscape);
    ASSERT_FALSE(platform::MainWindowExists());
    Forget();
    pt::TypeText("abc");
    Press(VkReturn);
    EXPECT_TRUE(world().keyMessages.empty());
    EXPECT_TRUE(Heard().empty());
}
