#include "speech/voice_controls.h"

#include "platform/key_codes.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/beep.h"
#include "speech/speech.h"

namespace {

constexpr const char* NormalSpeechWords = "Normal speech is on!";
constexpr const char* FastSpeechWords = "Fast speech is on!";
constexpr const char* SlowSpeechWords = "Slow speech is on!";

constexpr int VolumeStrokes = 5;

constexpr unsigned Interrupting = platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak;

void PressRepeatedly(int key, int times) {
    for (int i = 0; i < times; ++i)
        platform::SendKeyPress(key);
}

} // namespace

std::string StepSpeechRate(int& rate, int slowRate, int fastRate) {
    if (rate == slowRate) {
        rate = 0;
        return NormalSpeechWords;
    }
    if (rate == 0) {
        rate = fastRate;
        return FastSpeechWords;
    }
    if (rate == fastRate) {
        rate = slowRate;
        return SlowSpeechWords;
    }
    // A rate from a hand-edited file: back to normal, so the key never goes dead.
    rate = 0;
    return NormalSpeechWords;
}

// The words go out with the pending prefix (the shortcut's announcement), so
// that it is not left to ride in front of some later, unrelated message.
void CycleSpeechRate() {
    platform::VoiceSpeak("", Interrupting);
    std::string words = StepSpeechRate(Settings.vRate, Settings.SlowRate, Settings.FastRate);
    platform::VoiceSetRate(Settings.vRate);
    SpeakText(words);
}

void ApplySpeechRate() {
    platform::VoiceSetRate(Settings.vRate);
}

void VolumeUp() {
    PressRepeatedly(VkVolumeUp, VolumeStrokes);
}

void VolumeDown() {
    PressRepeatedly(VkVolumeDown, VolumeStrokes);
}

// One press toggles the mute; two beeps tell the user it happened.
void MuteSpeakers() {
    platform::SendKeyPress(VkVolumeMute);
    CommandBeep();
    CommandBeep();
}
