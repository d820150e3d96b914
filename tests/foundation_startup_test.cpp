#include "scenario.h"

class StartupTest : public ScenarioTest {};

TEST_F(StartupTest, FirstStartSpeaksWelcomeBeforeTheFirstMessage) {
    Start();
    EXPECT_EQ(SpeechPrefix, "Welcome to Lumafind, version 4.43!");
    EXPECT_EQ(world().focus, platform::SearchBoxId);
    EXPECT_EQ(world().searchText, "texas");
    EXPECT_EQ(ResultRows.Count(), 1);
    EXPECT_EQ(ResultRows.Name(1), "<empty>");
}
