#include "backends/testing/testing.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace platform {

using testing::TheWorld;

// Simulated time in steps of a tenth of a second: the server's answer and
// pieces arrive, the user's keys are taken, the limits are checked and the
// progress is reported, as the real wait does while the worker downloads.
DownloadOutcome Download(const std::string& url, std::string& bytes, size_t limit,
                         const DownloadLimits& limits, const DownloadProgressReport& progress) {
    constexpr int64_t Step = 100;
    testing::World& w = TheWorld();
    bytes.clear();
    w.downloadsAsked.push_back(url);
    w.downloadLimits.push_back(limits);
    w.lastDownloadMs = 0;
    if (w.downloads.Fails()) return DownloadOutcome::Failed;
    auto found = w.web.find(url);
    if (found == w.web.end()) return DownloadOutcome::Failed; // nothing listens there
    const testing::World::WebAnswer& answer = found->second;
    DownloadProgress now;
    int64_t lastActivity = 0, answeredAt = 0;
    for (int64_t t = 0;; t += Step) {
        w.lastDownloadMs = now.elapsedMs = t;
        auto& during = w.duringDownload;
        for (auto at = during.begin(); at != during.end();) {
            if (at->atMs > t) {
                ++at;
                continue;
            }
            int key = at->key;
            at = during.erase(at);
            if (key == testing::CloseRequest) return DownloadOutcome::ClosedByUser;
            if (key == 0x1B) return DownloadOutcome::Cancelled;
        }
        if (!now.answered && answer.answerAfterMs >= 0 && t >= answer.answerAfterMs) {
            if (answer.status != 200) return DownloadOutcome::Failed;
            now.answered = true;
            answeredAt = lastActivity = t;
            if (answer.announcesLength) now.expected = answer.body.size();
        }
        if (now.answered) {
            size_t due = answer.body.size();
            if (answer.pieceBytes > 0 && answer.pieceEveryMs > 0)
                due = std::min<size_t>(due, size_t((t - answeredAt) / answer.pieceEveryMs) *
                                                answer.pieceBytes);
            if (due > now.received) now.received = due, lastActivity = t;
            if (now.received > limit) return DownloadOutcome::Failed;
            if (now.received == answer.body.size()) {
                bytes = answer.body;
                return DownloadOutcome::Finished;
            }
        }
        if (t >= limits.wholeMs) return DownloadOutcome::TimedOut;
        if (t - lastActivity >= (now.answered ? limits.readMs : limits.connectMs + limits.readMs))
            return DownloadOutcome::TimedOut;
        if (t % 1000 == 0 && progress) progress(now);
    }
}

// Stands in for the PE check: a file Windows could start begins with "MZ".
bool IsStartableProgram(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes) && bytes.rfind("MZ", 0) == 0;
}

bool VerifySignature(const std::string& publicKey, std::string_view data,
                     std::string_view signature) {
    return signature.size() == 64 && signature == testing::TestSignature(publicKey, data);
}

// As MoveFileExW without MOVEFILE_REPLACE_EXISTING: an existing target stays.
bool MoveFileTo(const std::string& from, const std::string& to) {
    if (TheWorld().fileMoves.Fails()) return false;
    std::error_code ec;
    std::string source = from[0] == '/' ? from : TheWorld().currentFolder + from;
    std::string target = to[0] == '/' ? to : TheWorld().currentFolder + to;
    if (!fs::exists(source, ec) || fs::exists(target, ec)) return false;
    fs::rename(source, target, ec);
    return !ec;
}

bool StartProgramAfterExit(const std::string& path) {
    if (TheWorld().processStarts.Fails()) return false;
    TheWorld().startedAfterExit.push_back(path);
    return true;
}

} // namespace platform

namespace platform::testing {

std::string TestSignature(std::string_view publicKey, std::string_view data) {
    std::string signature;
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        uint64_t hash = 14695981039346656037ull ^ seed;
        for (std::string_view part : {publicKey, std::string_view("|"), data})
            for (unsigned char c : part)
                hash = (hash ^ c) * 1099511628211ull;
        for (int i = 0; i < 8; ++i)
            signature += char(hash >> (56 - 8 * i));
    }
    return signature;
}

} // namespace platform::testing
