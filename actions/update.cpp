#include "actions/update.h"

#include "app/main_window.h"
#include "base/version.h"
#include "platform/platform.h"
#include "speech/speech.h"

#include <algorithm>
#include <cstdint>

namespace {

// The release key: whoever signs with its private half can replace the program.
constexpr unsigned char CompiledReleaseKey[] = {
    0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a,
    0x86, 0x48, 0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04, 0xbe, 0x78, 0xcb, 0x2b, 0xcf,
    0x7e, 0x34, 0x96, 0xee, 0x52, 0x26, 0x2b, 0x53, 0x67, 0x66, 0x48, 0x68, 0xc1, 0x1b, 0xd6, 0xb2,
    0x84, 0x8e, 0xb5, 0x60, 0x02, 0x42, 0xfa, 0xfa, 0x6e, 0xb6, 0x0a, 0x0a, 0x0e, 0x9c, 0x90, 0x61,
    0xe5, 0x44, 0x35, 0xea, 0xd1, 0x2d, 0x9f, 0x8a, 0x0b, 0x74, 0xa1, 0xd5, 0xce, 0x8c, 0xdf, 0x3b,
    0x4b, 0xa3, 0x62, 0xc2, 0xdc, 0x5b, 0x66, 0xbb, 0xda, 0xd7, 0xaa};

constexpr size_t MaxNoteSize = 4096;
// Ten times the program file as built, so a release may grow.
constexpr size_t MaxProgramSize = size_t(16) << 20;

// A dead or stalled server is given up on after these; a slow but working
// one still brings the largest file accepted within the whole-download limit.
constexpr int64_t ConnectLimitMs = 15000;
constexpr int64_t ReadLimitMs = 30000;
constexpr int64_t AnswerAllowanceMs = 60000;
constexpr int64_t SlowestBytesPerSecond = 32 * 1024;
constexpr int64_t ProgressEveryMs = 10000;

constexpr const char* NewFile = "lumafind.tmp";
constexpr const char* ProgramFile = "lumafind.exe";
constexpr const char* OldFile = "lumafind.old";
// The previous "lumafind.old", kept until the new file is in place so that a
// failed swap can put it back too.
constexpr const char* OlderFile = "lumafind.older";

bool IsVersion(std::string_view text) {
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && digit)
            digit = false;
        else
            return false;
    }
    return digit;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool FromHex(std::string_view hex, std::string& bytes) {
    if (hex.size() % 2) return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += char(high * 16 + low);
    }
    return true;
}

// Takes one line and its line end (LF or CR LF) off the front of the text.
bool TakeLine(std::string_view& text, std::string_view& line) {
    size_t end = text.find('\n');
    if (end == std::string_view::npos) {
        line = text, text = {};
        return !line.empty();
    }
    line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    text.remove_prefix(end + 1);
    return true;
}

// One INTEGER of the signature, as 32 big-endian bytes.
bool TakeInteger(std::string_view& der, std::string& out) {
    if (der.size() < 2 || der[0] != 0x02) return false;
    size_t length = uint8_t(der[1]);
    if (length == 0 || length > 33 || der.size() < 2 + length) return false;
    std::string_view value = der.substr(2, length);
    der.remove_prefix(2 + length);
    while (value.size() > 1 && value[0] == 0)
        value.remove_prefix(1);
    if (value.size() > 32) return false;
    out += std::string(32 - value.size(), '\0');
    out += value;
    return true;
}

std::string ReleaseKey() {
    std::string key;
    if (platform::ReadWholeFile(platform::ProgramFolder() + ReleaseKeyFileName, key) &&
        !key.empty())
        return key;
    return std::string(reinterpret_cast<const char*>(CompiledReleaseKey),
                       sizeof CompiledReleaseKey);
}

// All or nothing: either the new file is "lumafind.exe" and the previous one
// "lumafind.old", or every file is back as it was and the download is gone.
bool InstallProgramFile(const std::string& program) {
    const std::string folder = platform::ProgramFolder();
    const std::string fresh = folder + NewFile, current = folder + ProgramFile,
                      old = folder + OldFile, older = folder + OlderFile;
    if (!platform::ReplaceFile(fresh, program)) {
        platform::RemoveFile(fresh);
        return false;
    }
    bool keptOld = platform::FileExists(old);
    if (keptOld) {
        if (platform::FileExists(older)) platform::RemoveFile(older);
        if (!platform::MoveFileTo(old, older)) {
            platform::RemoveFile(fresh);
            return false;
        }
    }
    bool installed = false;
    if (platform::MoveFileTo(current, old)) {
        installed = platform::MoveFileTo(fresh, current);
        if (!installed) platform::MoveFileTo(old, current);
    }
    if (installed) {
        if (keptOld) platform::RemoveFile(older);
        return true;
    }
    if (keptOld) platform::MoveFileTo(older, old);
    platform::RemoveFile(fresh);
    return false;
}

platform::DownloadLimits LimitsFor(size_t largest) {
    platform::DownloadLimits limits{ConnectLimitMs, ReadLimitMs,
                                    AnswerAllowanceMs +
                                        int64_t(largest) * 1000 / SlowestBytesPerSecond};
    std::string shorter = platform::EnvironmentText(TestLimitsVariable);
    int64_t* fields[] = {&limits.connectMs, &limits.readMs, &limits.wholeMs};
    size_t at = 0;
    for (int64_t* field : fields) {
        size_t end = std::min(shorter.find(',', at), shorter.size());
        int64_t value = 0;
        bool digits = end > at;
        for (size_t i = at; i < end && digits; ++i) {
            digits = shorter[i] >= '0' && shorter[i] <= '9';
            value = value * 10 + (shorter[i] - '0');
            digits = digits && value < (int64_t(1) << 40);
        }
        if (digits && value > 0 && value < *field) *field = value;
        if (end >= shorter.size()) break;
        at = end + 1;
    }
    return limits;
}

std::string ProgressText(const platform::DownloadProgress& p) {
    if (!p.answered) return WaitingForServerText;
    if (p.expected > 0)
        return DownloadedText +
               std::to_string(std::min<uint64_t>(p.received, p.expected) * 100 / p.expected) +
               PercentText;
    if (p.received < 1024) return DownloadedText + std::to_string(p.received) + " Bytes";
    if (p.received < (1u << 20))
        return DownloadedText + std::to_string(p.received >> 10) + " Kilobytes";
    return DownloadedText + std::to_string(p.received >> 20) + " Megabytes";
}

// Says how far the download has come every ten seconds of it.
platform::DownloadOutcome DownloadSpeakingProgress(const std::string& address, std::string& bytes,
                                                   size_t largest) {
    int64_t nextReport = ProgressEveryMs;
    return platform::Download(address, bytes, largest, LimitsFor(largest),
                              [&](const platform::DownloadProgress& progress) {
                                  if (progress.elapsedMs < nextReport) return;
                                  while (nextReport <= progress.elapsedMs)
                                      nextReport += ProgressEveryMs;
                                  SpeakText(ProgressText(progress));
                              });
}

// What a download that did not finish leaves to say; false when it finished.
bool DownloadStopped(platform::DownloadOutcome outcome) {
    using platform::DownloadOutcome;
    switch (outcome) {
    case DownloadOutcome::Finished:
        return false;
    case DownloadOutcome::Cancelled:
        SpeakText(UpdateCancelledText);
        break;
    case DownloadOutcome::ClosedByUser:
        // Closed the usual way: the settings are saved and the exit is said.
        platform::CloseMainWindow();
        break;
    case DownloadOutcome::Failed:
    case DownloadOutcome::TimedOut:
        SpeakText(UpdateFailedText);
        break;
    }
    return true;
}

} // namespace

bool ParseReleaseNote(std::string_view text, ReleaseNote& note) {
    std::string_view rest = text, line;
    if (!TakeLine(rest, line) || line != "lumafind-release 1") return false;
    if (!TakeLine(rest, line) || line.substr(0, 8) != "version ") return false;
    note.version = std::string(line.substr(8));
    if (!IsVersion(note.version)) return false;
    note.signedHead = std::string(text.substr(0, text.size() - rest.size()));
    if (!TakeLine(rest, line) || line.substr(0, 10) != "signature ") return false;
    std::string der;
    if (!FromHex(line.substr(10), der) || !RawSignatureFromDer(der, note.signature)) return false;
    while (TakeLine(rest, line))
        if (!line.empty()) return false;
    return true;
}

int CompareVersions(std::string_view a, std::string_view b) {
    while (!a.empty() || !b.empty()) {
        uint64_t x = 0, y = 0;
        while (!a.empty() && a[0] != '.')
            x = x * 10 + uint64_t(a[0] - '0'), a.remove_prefix(1);
        while (!b.empty() && b[0] != '.')
            y = y * 10 + uint64_t(b[0] - '0'), b.remove_prefix(1);
        if (x != y) return x < y ? -1 : 1;
        if (!a.empty()) a.remove_prefix(1);
        if (!b.empty()) b.remove_prefix(1);
    }
    return 0;
}

bool RawSignatureFromDer(std::string_view der, std::string& raw) {
    raw.clear();
    if (der.size() < 2 || der[0] != 0x30 || size_t(uint8_t(der[1])) != der.size() - 2) return false;
    der.remove_prefix(2);
    if (!TakeInteger(der, raw) || !TakeInteger(der, raw) || !der.empty()) {
        raw.clear();
        return false;
    }
    return true;
}

std::string UpdateAddress() {
    std::string address = platform::EnvironmentText("LUMAFIND_UPDATE_URL");
    return address.empty() ? DefaultUpdateAddress : address;
}

void UpdateProgram() {
    SpeakTextAndWait(UpdatingText);
    const std::string address = UpdateAddress();
    std::string noteText, program;
    ReleaseNote note;
    if (DownloadStopped(DownloadSpeakingProgress(address + ".sig", noteText, MaxNoteSize))) return;
    if (!ParseReleaseNote(noteText, note)) return SpeakText(UpdateNotGenuineText);
    // The note is not yet vouched for here; trusting its version can only
    // keep the program as it is.
    if (CompareVersions(note.version, ProgramVersion) <= 0) return SpeakText(UpToDateText);
    // Without a starter the program would close and never come back.
    if (!platform::IsStartableProgram(platform::ProgramFolder() + StarterFileName))
        return SpeakText(StarterMissingText);
    if (DownloadStopped(DownloadSpeakingProgress(address, program, MaxProgramSize))) return;
    if (!platform::VerifySignature(ReleaseKey(), note.signedHead + program, note.signature))
        return SpeakText(UpdateNotGenuineText);
    if (!InstallProgramFile(program)) return SpeakText(UpdateNotInstalledText);
    SpeakTextAndWait(UpdateDoneText);
    MainWindow.RestartPending = 1;
    platform::CloseMainWindow();
}
