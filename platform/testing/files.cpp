#include "platform/testing/testing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace platform {

using testing::TheWorld;

static std::string Resolve(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    return TheWorld().currentFolder + path;
}

std::string ProgramPath() {
    return TheWorld().programFolder + TheWorld().programName;
}
std::string ProgramFolder() {
    return TheWorld().programFolder;
}
void SetCurrentFolder(const std::string& folder) {
    TheWorld().currentFolder = folder;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(Resolve(path), ec);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::ifstream in(Resolve(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
    if (TheWorld().fileWrites.Fails()) return false;
    std::string target = Resolve(path);
    std::string temporary = target + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size()))) return false;
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    return !ec;
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(Resolve(path), ec);
}

} // namespace platform
