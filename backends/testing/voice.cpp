// The voice: every text spoken goes into the transcript with its flags.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void VoiceCreate() {}

void VoiceSpeak(const std::string& text, unsigned flags) {
    TheWorld().transcript.push_back({flags, text});
    TheWorld().events.push_back(((flags & SpeakAsync) ? "speak: " : "wait: ") + text);
}

bool VoiceIsSpeaking() {
    return TheWorld().voiceSpeaking;
}

void VoiceSetRate(int rate) {
    TheWorld().voiceRate = rate;
}

} // namespace platform
