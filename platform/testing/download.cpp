#include "platform/testing/testing.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace platform {

using testing::TheWorld;

bool Download(const std::string& url, std::string& bytes, size_t limit) {
    testing::World& w = TheWorld();
    bytes.clear();
    w.downloadsAsked.push_back(url);
    if (w.downloads.Fails()) return false;
    auto answer = w.web.find(url);
    if (answer == w.web.end() || answer->second.status != 200) return false;
    if (answer->second.body.size() > limit) return false;
    bytes = answer->second.body;
    return true;
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
