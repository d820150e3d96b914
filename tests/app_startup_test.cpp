#include "scenario.h"

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
