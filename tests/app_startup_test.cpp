#include "scenario.h"

#include "platform/key_codes.h"

#include <algorithm>

class StartupTest : public ScenarioTest {};

TEST_F(StartupTest, FirstStartSpeaksWelcomeBeforeTheFirstMessage) {
    Start();
    // The search box hears of its focus at once and carries the welcome.
    EXPECT_EQ(Spoken(),
              "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is texas");
    EXPECT_EQ(SpeechPrefix, "");
    EXPECT_EQ(world().focus, platform::SearchBoxId);
    EXPECT_EQ(world().searchText, "texas");
    EXPECT_EQ(ResultRows.Count(), 1);
    EXPECT_EQ(ResultRows.Name(1), "<empty>");
}

// The preview needs the image library before anything of the window can draw.
TEST_F(StartupTest, TheImageLibraryStartsOnceFirstWhenTheWindowIsInitialised) {
    Start();
    EXPECT_EQ(world().imageLibraryStarts, 1);
    const std::vector<std::string>& events = world().events;
    auto init = std::find(events.begin(), events.end(), "message: init dialog");
    ASSERT_NE(init, events.end());
    ASSERT_NE(init + 1, events.end());
    EXPECT_EQ(init[1], "images: started");
}

// A program folder that cannot be made current: its files cannot be reached by
// name, so the user is told and nothing is saved where that name would land.
TEST_F(StartupTest, AnUnusableProgramFolderIsSaidAndNothingIsSavedElsewhere) {
    world().programFolder = folder + "gone/";
    Start();
    EXPECT_NE(Spoken().find("The program folder cannot be used: settings will not be kept."),
              std::string::npos);
    platform::CloseMainWindow();
    EXPECT_FALSE(std::filesystem::exists(folder + "lumafind.ini"));
    EXPECT_FALSE(std::filesystem::exists(folder + "gone"));
}

// Restoring the last result and its row would each say something, and each
// would cut off the one before: the welcome is the first thing heard, once.
TEST_F(StartupTest, NothingIsSaidBeforeTheWelcome) {
    Put("results.txt", "Size,Date Modified,Filename\r\n"
                       "1,01/02/2023 10:00,\"C:\\a\\alpha.txt\"\r\n"
                       "2,01/02/2023 10:00,\"C:\\a\\beta.txt\"\r\n");
    Put("lumafind.ini", "[All]\r\nLastRow=2\r\nFocusOnRE=0\r\n");
    Start();
    ASSERT_EQ(platform::testing::SpokenTexts(),
              std::vector<std::string>{
                  "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is texas"});
    EXPECT_EQ(world().selected, 1);
    // Speech goes on as ever once the user is greeted.
    platform::testing::PressKey(VkTab);
    EXPECT_EQ(Spoken(), "Results List has focus. Bottom of List : beta.txt");
}

// With the focus left in the search box after a search, start-up puts it there
// before the welcome, and no second focus message comes: the welcome must be
// heard all the same.
TEST_F(StartupTest, TheWelcomeIsHeardWhenTheSearchBoxHadTheFocusAlready) {
    Put("lumafind.ini", "[All]\r\nFocusOnRE=1\r\nSearchTerm=maps\r\n");
    Start();
    EXPECT_EQ(platform::testing::SpokenTexts(),
              std::vector<std::string>{
                  "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is maps"});
    EXPECT_EQ(SpeechPrefix, "");
}
