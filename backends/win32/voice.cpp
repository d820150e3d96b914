// The one speech voice. Nothing here fails: without a voice (or where it
// cannot speak, as under Wine) the program goes on silently. When
// LUMAFIND_SPEECH_LOG names a file, every spoken text is appended to it (and
// every text handed to a screen reader), so that tests and sighted helpers
// can hear the program.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <objbase.h>
#include <sapi.h>

#include <iterator>

namespace platform::win32 {

struct VoiceRecord {
    ISpVoice* voice = nullptr;
    bool logChecked = false;
    std::wstring logPath;
};

static VoiceRecord Voice;

// {6C44DF74-72B9-4992-A1EC-EF996E0422D4}
static const IID VoiceInterfaceId = {
    0x6C44DF74, 0x72B9, 0x4992, {0xA1, 0xEC, 0xEF, 0x99, 0x6E, 0x04, 0x22, 0xD4}};

static const std::wstring& SpeechLogPath() {
    if (!Voice.logChecked) {
        Voice.logChecked = true;
        wchar_t buffer[MAX_PATH * 4];
        DWORD n = GetEnvironmentVariableW(L"LUMAFIND_SPEECH_LOG", buffer, DWORD(std::size(buffer)));
        if (n > 0 && n < std::size(buffer)) Voice.logPath.assign(buffer, n);
    }
    return Voice.logPath;
}

// Opened, appended and closed each time, so a reader sees every line at once.
void AppendToSpeechLog(std::string_view tag, const std::string& text) {
    const std::wstring& path = SpeechLogPath();
    if (path.empty()) return;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = std::string(tag) + "\t" + text + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace platform::win32

namespace platform {

using namespace win32;

void VoiceCreate() {
    CoInitialize(nullptr);
    CLSID voiceClass;
    if (FAILED(CLSIDFromProgID(L"SAPI.SpVoice", &voiceClass))) return;
    void* voice = nullptr;
    if (SUCCEEDED(CoCreateInstance(voiceClass, nullptr, CLSCTX_ALL, VoiceInterfaceId, &voice)))
        Voice.voice = static_cast<ISpVoice*>(voice);
}

void VoiceSpeak(const std::string& text, unsigned flags) {
    AppendToSpeechLog(std::to_string(flags), text);
    if (Voice.voice) Voice.voice->Speak(Widen(text).c_str(), DWORD(flags), nullptr);
}

bool VoiceIsSpeaking() {
    SPVOICESTATUS status{};
    if (!Voice.voice || FAILED(Voice.voice->GetStatus(&status, nullptr))) return false;
    return status.dwRunningState == SPRS_IS_SPEAKING;
}

void VoiceSetRate(int rate) {
    if (Voice.voice) Voice.voice->SetRate(rate);
}

} // namespace platform
