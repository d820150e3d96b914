#include "platform/testing/testing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

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
    std::FILE* file = std::fopen(Resolve(path).c_str(), "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    std::fclose(file);
    return ok;
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
