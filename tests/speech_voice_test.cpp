#include "scenario.h"

#include "platform/key_codes.h"

#include "speech/voice_controls.h"

#include <vector>

using platform::testing::SpokenTexts;
using Texts = std::vector<std::string>;

namespace {

constexpr unsigned Async = 3, Wait = 2;

} // namespace

class SpeechTest : public ScenarioTest {};

TEST_F(SpeechTest, EachMessageInterruptsAndCarriesThePrefixOnce) {
    SpeechPrefix = "Opening Settings List : ";
    SpeakText("first");
    SpeakText("second");
    SpeakText("");
    ASSERT_EQ(world().transcript.size(), 3u);
    for (const auto& u : world().transcript)
        EXPECT_EQ(u.flags, Async);
    EXPECT_EQ(SpokenTexts(), (Texts{"Opening Settings List : first", "second", ""}));
    EXPECT_EQ(SpeechPrefix, "");
}

TEST_F(SpeechTest, WaitingSpeechNeitherSpeaksNorClearsThePrefix) {
    SpeechPrefix = "Welcome! ";
    SpeakTextAndWait("Exiting Lumafind");
    ASSERT_EQ(world().transcript.size(), 1u);
    EXPECT_EQ(world().transcript[0].flags, Wait);
    EXPECT_EQ(world().transcript[0].text, "Exiting Lumafind");
    EXPECT_EQ(SpeechPrefix, "Welcome! ");
}

TEST_F(SpeechTest, DisabledSpeechIsSilentAndKeepsThePrefixForLater) {
    Settings.DisableSpeech = 1;
    SpeechPrefix = "Welcome to Lumafind, version 4.43!";
    SpeakText("SearchBox has focus. Search term is texas");
    SpeakTextAndWait("Exiting Lumafind");
    EXPECT_TRUE(world().transcript.empty());
    Settings.DisableSpeech = 0;
    SpeakText("Font Size is  40");
    EXPECT_EQ(SpokenTexts(), Texts{"Welcome to Lumafind, version 4.43!Font Size is  40"});
}

// A search or print the session's end cut short may still finish after the
// window has gone: the goodbye is the last thing said, until a new start.
TEST_F(SpeechTest, NothingIsSaidAfterTheGoodbye) {
    SayGoodbye("Exiting Lumafind");
    SpeakText("Search Cancelled : Previous Result Shown");
    SpeakTextWithoutPrefix("late");
    SpeakTextAndWait("later");
    EXPECT_EQ(SpokenTexts(), Texts{"Exiting Lumafind"});
    EXPECT_EQ(world().transcript.back().flags, Wait);
    HoldSpeechUntilWelcome();
    Welcome("Welcome! ");
    SpeakText("again");
    EXPECT_EQ(SpokenTexts().back(), "Welcome! again");
}

TEST_F(SpeechTest, StopSpeechSilencesOnlyAVoiceThatIsSpeaking) {
    StopSpeech();
    EXPECT_TRUE(world().transcript.empty());
    world().voiceSpeaking = true;
    Settings.DisableSpeech = 1; // the check ignores it
    StopSpeech();
    ASSERT_EQ(world().transcript.size(), 1u);
    EXPECT_EQ(world().transcript[0].flags, Async);
    EXPECT_EQ(world().transcript[0].text, "");
}

TEST_F(SpeechTest, RateCyclesNormalFastSlowNormal) {
    Texts heard;
    std::vector<int> rates;
    for (int i = 0; i < 3; ++i) {
        CycleSpeechRate();
        rates.push_back(world().voiceRate);
        EXPECT_EQ(Settings.vRate, world().voiceRate);
    }
    EXPECT_EQ(rates, (std::vector<int>{3, -3, 0}));
    // Each announcement is preceded by a silencing of the voice.
    EXPECT_EQ(SpokenTexts(), (Texts{"", "Fast speech is on!", "", "Slow speech is on!", "",
                                    "Normal speech is on!"}));
}

TEST_F(SpeechTest, RateCycleCarriesTheShortcutAnnouncementAndObeysDisableSpeech) {
    SpeechPrefix = "Shortcut Pressed: Speech Speed : C-8 : ";
    CycleSpeechRate();
    EXPECT_EQ(platform::testing::LastSpoken(),
              "Shortcut Pressed: Speech Speed : C-8 : Fast speech is on!");
    EXPECT_EQ(SpeechPrefix, "");

    world().transcript.clear();
    Settings.DisableSpeech = 1;
    CycleSpeechRate();
    EXPECT_EQ(Settings.vRate, -3);
    EXPECT_EQ(world().voiceRate, -3);
    EXPECT_EQ(SpokenTexts(), Texts{""}); // silenced, nothing said
}

TEST_F(SpeechTest, RateFromAnEditedFileReturnsToNormalRatherThanGoingDead) {
    Settings.vRate = 5;
    CycleSpeechRate();
    EXPECT_EQ(Settings.vRate, 0);
    EXPECT_EQ(world().voiceRate, 0);
    EXPECT_EQ(platform::testing::LastSpoken(), "Normal speech is on!");
}

TEST_F(SpeechTest, RateCycleWithCustomAndDegenerateRates) {
    int rate = 0;
    EXPECT_EQ(StepSpeechRate(rate, -5, 7), "Fast speech is on!");
    EXPECT_EQ(rate, 7);
    EXPECT_EQ(StepSpeechRate(rate, -5, 7), "Slow speech is on!");
    EXPECT_EQ(rate, -5);
    // A slow rate of 0 matches first every time: the cycle stays at normal.
    rate = 0;
    EXPECT_EQ(StepSpeechRate(rate, 0, 3), "Normal speech is on!");
    EXPECT_EQ(StepSpeechRate(rate, 0, 3), "Normal speech is on!");
    EXPECT_EQ(rate, 0);
}

TEST_F(SpeechTest, VolumeKeysStrokeFiveTimesAndMuteOnceWithTwoBeeps) {
    VolumeUp();
    EXPECT_EQ(world().syntheticKeys, std::vector<int>(5, VkVolumeUp));
    world().syntheticKeys.clear();
    VolumeDown();
    EXPECT_EQ(world().syntheticKeys, std::vector<int>(5, VkVolumeDown));
    world().syntheticKeys.clear();
    MuteSpeakers();
    EXPECT_EQ(world().syntheticKeys, std::vector<int>{VkVolumeMute});
    EXPECT_EQ(world().beeps, (std::vector<std::pair<int, int>>{{275, 150}, {275, 150}}));
    EXPECT_TRUE(world().transcript.empty());
}

TEST_F(SpeechTest, StartGivesTheVoiceTheSavedRate) {
    Put("lumafind.ini", "[All]\r\nvRate=-3\r\n");
    Start();
    EXPECT_EQ(world().voiceRate, -3);
    SpeechPrefix.clear();
    CycleSpeechRate();
    EXPECT_EQ(platform::testing::LastSpoken(), "Normal speech is on!");
    EXPECT_EQ(world().voiceRate, 0);
}
