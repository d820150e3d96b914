// With our voice off and a screen reader running, the reader hears what the
// voice would have said, once; what the reader reads itself from the focused
// control (typed keys, the caret, the focused row) is left to it.
#include "commands_fixture.h"

using platform::testing::Utterance;
namespace pt = platform::testing;

namespace {

constexpr unsigned Async = 3, Wait = 2;

const char kRows[] = "Size,Date Modified,Filename\r\n"
                     "2048,03/04/2024 05:06,\"C:\\Data\\Texas.txt\"\r\n"
                     "10,03/04/2024 05:06,\"C:\\Data\\Texas Notes.txt\"\r\n";

// Notifications as (flags, text), for readable failures.
std::vector<std::pair<unsigned, std::string>> Notified() {
    std::vector<std::pair<unsigned, std::string>> out;
    for (const Utterance& u : pt::TheWorld().notifications)
        out.emplace_back(u.flags, u.text);
    return out;
}

using Notes = std::vector<std::pair<unsigned, std::string>>;

} // namespace

class ScreenReaderTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        Settings.DisableSpeech = 1;
        world().screenReaderRunning = true;
    }
};

TEST_F(ScreenReaderTest, EachMessageOnceWithThePrefixOnlyWhereTheVoiceWouldSayIt) {
    SpeechPrefix = "Shortcut Pressed: Copy Results : CS-C : ";
    SpeakTextAndWait("File Search for texas"); // the voice leaves the prefix waiting too
    SpeakTextWithoutPrefix("ToolTips are Text");
    SpeakText("Search Results Copied to Clipboard");
    SpeakText("Invalid Search Term");
    SpeakText("");
    EXPECT_EQ(Notified(), (Notes{{Wait, "File Search for texas"},
                                 {Async, "ToolTips are Text"},
                                 {Async, "Shortcut Pressed: Copy Results : CS-C : "
                                         "Search Results Copied to Clipboard"},
                                 {Async, "Invalid Search Term"}}));
    EXPECT_EQ(SpeechPrefix, "");
    EXPECT_TRUE(world().transcript.empty());
}

TEST_F(ScreenReaderTest, EchoesHandOverOnlyAWaitingPrefix) {
    SpeakEcho("Top of List : texas.txt");
    EXPECT_TRUE(world().notifications.empty());
    SpeechPrefix = "Opening Settings List : ";
    SpeakEcho("Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF");
    SpeakEcho("2 Icon Size - Ctrl+E  -  96");
    EXPECT_EQ(Notified(), (Notes{{Async, "Opening Settings List : "}}));
    EXPECT_EQ(SpeechPrefix, "");
}

TEST_F(ScreenReaderTest, NothingGoesToTheReaderWhileTheVoiceSpeaksOrNoReaderRuns) {
    Settings.DisableSpeech = 0;
    SpeakText("Search Results Copied to Clipboard");
    SpeakTextAndWait("Exiting Lumafind");
    SpeakEcho("T");
    EXPECT_EQ(pt::SpokenTexts(),
              (Texts{"Search Results Copied to Clipboard", "Exiting Lumafind", "T"}));
    // The voice off and no reader: silence, and the prefix waits for the voice.
    Settings.DisableSpeech = 1;
    world().screenReaderRunning = false;
    SpeechPrefix = "Welcome to Lumafind, version 4.43!";
    SpeakText("SearchBox has focus. Search term is texas");
    SpeakTextAndWait("Exiting Lumafind");
    EXPECT_TRUE(world().notifications.empty());
    EXPECT_EQ(world().transcript.size(), 3u);
    EXPECT_EQ(SpeechPrefix, "Welcome to Lumafind, version 4.43!");
    // A reader that starts meanwhile is heard at the next message.
    world().screenReaderRunning = true;
    SpeakText("Font Size is  40");
    EXPECT_EQ(Notified(), (Notes{{Async, "Welcome to Lumafind, version 4.43!Font Size is  40"}}));
}

// The whole program driven by keys, as a user with a screen reader works it.
class ScreenReaderKeysTest : public CommandsTest {
  protected:
    void BeforeStart() override { Put("results.txt", kRows); }
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0;
        world().screenReaderRunning = true;
        Press(FKey(9));
        Forget();
        world().processHandler = [this](const std::vector<std::string>&) {
            Put("results.txt", kRows);
            return platform::ProcessResult{true, false, false, 0};
        };
    }
    Texts NotifiedTexts() {
        Texts out;
        for (const Utterance& u : world().notifications)
            out.push_back(u.text);
        return out;
    }
};

TEST_F(ScreenReaderKeysTest, SearchCopyToggleAndRefusalsReachTheReaderButTypedKeysDoNot) {
    EXPECT_EQ(Settings.DisableSpeech, 1);
    platform::SetFocusTo(platform::SearchBoxId);
    platform::SetSearchBoxText("");
    pt::TypeText("texas");
    Press(VkLeft);
    Press(VkBack);
    EXPECT_TRUE(world().notifications.empty());
    platform::SetSearchBoxText("texas");
    Ctrl('F');
    Press(VkDown); // the reader reads the focused row itself
    Ctrl('1');
    Ctrl('0');
    CtrlShift('C');
    Ctrl('6'); // the tooltip cycle speaks past the prefix
    platform::SetFocusTo(platform::SearchBoxId);
    pt::TypeText("<");
    platform::SetSearchBoxText("bad;term");
    Ctrl('F');
    EXPECT_EQ(NotifiedTexts(),
              (Texts{"File Search for texas", "Search is complete : 2 Matches : texas.txt",
                     "texas notes.txt", "Line 2 of  2 : File : texas notes.txt",
                     "Search Results Copied to Clipboard", "ToolTips are Speak",
                     "Less Than : Invalid Search String Character", "Invalid Search Term"}));
    EXPECT_TRUE(world().transcript.empty());
}

TEST_F(ScreenReaderKeysTest, TheReaderHearsEachShortcutButNotTheOneThatSilencedTheVoice) {
    Settings.SpeakShortcuts = 1;
    Press(FKey(9));
    Press(FKey(9));
    EXPECT_EQ(Heard(), (Texts{"Speech is Enabled", "Speech is Disabled"}));
    CtrlShift('C');
    EXPECT_EQ(NotifiedTexts(),
              Texts{"Shortcut Pressed: Copy Results : CS-C : Search Results Copied to Clipboard"});
    // Without a reader the announcement waits for the voice, as before.
    world().screenReaderRunning = false;
    Press(FKey(9));
    Press(FKey(9));
    EXPECT_EQ(SpeechPrefix, "Shortcut Pressed: Disable Speech : F9 : ");
}
