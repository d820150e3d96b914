#include "speech/speech.h"

#include "platform/platform.h"
#include "settings/settings.h"

std::string SpeechPrefix;

void SpeakText(const std::string& text) {
    if (Settings.DisableSpeech != 0) return;
    platform::VoiceSpeak(SpeechPrefix + text,
                         platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak);
    SpeechPrefix.clear();
}

void SpeakTextAndWait(const std::string& text) {
    if (Settings.DisableSpeech != 0) return;
    platform::VoiceSpeak(text, platform::SpeakPurgeBeforeSpeak);
}

void StopSpeech() {
    if (platform::VoiceIsSpeaking())
        platform::VoiceSpeak("", platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak);
}

void SpeakNotAvailableYet() {
    SpeakText("Not Available Yet");
}

void SpeakClipboardNotAvailable() {
    SpeakText("Clipboard Not Available");
}
