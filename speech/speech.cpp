#include "speech/speech.h"

#include "platform/platform.h"
#include "settings/settings.h"

std::string SpeechPrefix;

namespace {

bool HeldUntilWelcome = false;
// After the goodbye nothing more is said: a search or print that the session's
// end cut short may still come to its own end.
bool GoodbyeSaid = false;

constexpr unsigned Interrupting = platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak;
constexpr unsigned ToItsEnd = platform::SpeakPurgeBeforeSpeak;

// False when nothing was handed over, so a prefix keeps waiting for our voice.
bool HandToScreenReader(const std::string& text, unsigned flags) {
    if (text.empty() || !platform::ScreenReaderRunning()) return false;
    platform::RaiseNotification(text, flags);
    return true;
}

} // namespace

void SpeakText(const std::string& text) {
    if (HeldUntilWelcome || GoodbyeSaid) return;
    if (Settings.DisableSpeech != 0) {
        if (HandToScreenReader(SpeechPrefix + text, Interrupting)) SpeechPrefix.clear();
        return;
    }
    platform::VoiceSpeak(SpeechPrefix + text, Interrupting);
    SpeechPrefix.clear();
}

void SpeakTextWithoutPrefix(const std::string& text) {
    if (HeldUntilWelcome || GoodbyeSaid) return;
    if (Settings.DisableSpeech != 0)
        HandToScreenReader(text, Interrupting);
    else
        platform::VoiceSpeak(text, Interrupting);
}

void SpeakTextAndWait(const std::string& text) {
    if (HeldUntilWelcome || GoodbyeSaid) return;
    if (Settings.DisableSpeech != 0)
        HandToScreenReader(text, ToItsEnd);
    else
        platform::VoiceSpeak(text, ToItsEnd);
}

void SpeakEcho(const std::string& text) {
    SpeakText(Settings.DisableSpeech != 0 ? std::string() : text);
}

void StopSpeech() {
    if (platform::VoiceIsSpeaking())
        platform::VoiceSpeak("", platform::SpeakAsync | platform::SpeakPurgeBeforeSpeak);
}

void HoldSpeechUntilWelcome() {
    HeldUntilWelcome = true;
    GoodbyeSaid = false;
}

void SayGoodbye(const std::string& words) {
    SpeakTextAndWait(words);
    GoodbyeSaid = true;
}

void ResetSilence() {
    HeldUntilWelcome = false;
    GoodbyeSaid = false;
}

void Welcome(const std::string& words) {
    HeldUntilWelcome = false;
    GoodbyeSaid = false;
    SpeechPrefix = words;
}

void SpeakClipboardNotAvailable() {
    SpeakText("Clipboard Not Available");
}
