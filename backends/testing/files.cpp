#include "backends/testing/testing.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform::testing {

std::string DrivePath(const std::string& windowsPath) {
    std::string path = TheWorld().programFolder + ".drives/";
    for (char c : windowsPath) {
        if (c == '\\') c = '/';
        if (c == ':') c = '_';
        path += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return path;
}

} // namespace platform::testing

namespace platform {

using testing::TheWorld;

static bool OnDrive(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\';
}

static std::string Resolve(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    if (OnDrive(path)) return testing::DrivePath(path);
    return TheWorld().currentFolder + path;
}

std::string ProgramPath() {
    return TheWorld().programFolder + TheWorld().programName;
}
std::string ProgramFolder() {
    return TheWorld().programFolder;
}
bool SetCurrentFolder(const std::string& folder) {
    std::error_code ec;
    std::string current = Resolve(folder);
    if (folder.empty() || !fs::is_directory(current, ec)) return false;
    TheWorld().currentFolder = current.back() == '/' ? current : current + "/";
    return true;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(Resolve(path), ec);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    return ReadFileWaiting(path, bytes, 0) == ReadResult::Read;
}

static bool ReadAll(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
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

ReadResult ReadFileWaiting(const std::string& path, std::string& bytes, int waitMs) {
    bytes.clear();
    testing::World& w = TheWorld();
    std::string file = Resolve(path);
    std::error_code ec;
    if (!fs::exists(file, ec)) return ReadResult::Missing;
    if (w.fileReads.Fails() || fs::is_directory(file, ec)) return ReadResult::Unreadable;
    auto held = w.heldFiles.find(file);
    for (int waited = 0; held != w.heldFiles.end() && held->second != 0; waited += w.readRetryMs) {
        if (waited >= waitMs) return ReadResult::Unreadable;
        if (held->second > 0) --held->second;
    }
    if (ReadAll(file, bytes)) return ReadResult::Read;
    bytes.clear();
    return ReadResult::Unreadable;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(Resolve(folder), ec))
        if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
    return names;
}

// Each save has a temporary of its own, so two programs saving the same file
// at once never write into one temporary.
static std::string TemporaryFor(const std::string& target) {
    static int serial = 0;
    return target + "." + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".new";
}

static bool WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return out.write(bytes.data(), std::streamsize(bytes.size())) && out.flush();
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
    if (TheWorld().fileWrites.Fails()) return false;
    std::string target = Resolve(path);
    std::error_code ec;
    std::string temporary = TemporaryFor(target);
    if (WriteAll(temporary, bytes)) {
        fs::rename(temporary, target, ec);
        if (!ec) return true;
    }
    fs::remove(temporary, ec);
    return false;
}

bool RemoveFile(const std::string& path) {
    if (TheWorld().fileRemovals.Fails()) return false;
    std::error_code ec;
    return fs::remove(Resolve(path), ec);
}

FileStamp StampOf(const std::string& path) {
    std::error_code ec;
    fs::path file = Resolve(path);
    auto written = fs::last_write_time(file, ec);
    if (ec) return {};
    auto size = fs::file_size(file, ec);
    if (ec) return {};
    return {int64_t(written.time_since_epoch().count()), int64_t(size)};
}

} // namespace platform
