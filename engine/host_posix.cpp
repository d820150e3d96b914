// The host system on Linux. Paths are shown as Wine shows them, with Z:\ standing for /.
#include "engine/es.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace es {

namespace {

Kind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) return Kind::Folder;
    if (S_ISLNK(mode)) return Kind::Link;
    return Kind::File;
}

Kind KindOfDirent(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
        return Kind::Link;
    case DT_UNKNOWN:
        return Kind::Unknown;
    default:
        return Kind::File;
    }
}

bool WriteAll(int fd, std::string_view content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

// The type comes from the directory entry itself, so listing needs no stat per entry.
namespace {

// As ReadItem, from the open folder.
bool ReadItemAt(int folder, const char* name, int64_t& size, int64_t& modified) {
    struct stat st;
    if (::fstatat(folder, name, &st, 0) != 0 &&
        ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    size = static_cast<int64_t>(st.st_size);
    modified = static_cast<int64_t>(st.st_mtime);
    return true;
}

int64_t StampOf(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

bool ListFolder(const std::string& host, FolderListing& listing) {
    listing.names.clear();
    listing.ends.clear();
    listing.kinds.clear();
    listing.sizes.clear();
    listing.modified.clear();
    DIR* dir = ::opendir(host.c_str());
    if (!dir) return false;
    struct stat st;
    listing.id = {};
    listing.stamp = 0;
    if (::fstat(::dirfd(dir), &st) == 0) {
        listing.id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
        listing.stamp = StampOf(st);
    }
    while (const dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        int64_t size = 0, modified = 0;
        if (listing.withInfo && !ReadItemAt(::dirfd(dir), n, size, modified)) continue;
        listing.names += n;
        listing.ends.push_back(static_cast<uint32_t>(listing.names.size()));
        listing.kinds.push_back(KindOfDirent(e->d_type));
        if (!listing.withInfo) continue;
        listing.sizes.push_back(size);
        listing.modified.push_back(modified);
    }
    ::closedir(dir);
    return true;
}

FolderId IdOfFolder(const std::string& host) {
    struct stat st;
    if (::stat(host.c_str(), &st) != 0) return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

Kind KindOf(const std::string& host, bool followLink) {
    struct stat st;
    int r = followLink ? ::stat(host.c_str(), &st) : ::lstat(host.c_str(), &st);
    return r == 0 ? KindOfMode(st.st_mode) : Kind::Unknown;
}

// A link reports what it points to; a broken link reports itself.
bool ReadItem(const std::string& host, int64_t& size, int64_t& modified) {
    struct stat st;
    if (::stat(host.c_str(), &st) != 0 && ::lstat(host.c_str(), &st) != 0) return false;
    size = static_cast<int64_t>(st.st_size);
    modified = static_cast<int64_t>(st.st_mtime);
    return true;
}

bool ReadItemWithKind(const std::string& host, Kind& kind, bool& shownAsFolder, int64_t& size,
                      int64_t& modified) {
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0) return false;
    kind = KindOfMode(st.st_mode);
    shownAsFolder = kind == Kind::Folder;
    struct stat target;
    if (kind == Kind::Link && ::stat(host.c_str(), &target) == 0) {
        shownAsFolder = S_ISDIR(target.st_mode);
        st = target;
    }
    size = static_cast<int64_t>(st.st_size);
    modified = static_cast<int64_t>(st.st_mtime);
    return true;
}

int64_t ChangeStamp(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 ? StampOf(st) : 0;
}

std::string JoinHost(const std::string& folder, std::string_view name) {
    std::string out = folder;
    if (!out.ends_with('/')) out += '/';
    out += name;
    return out;
}

std::string CleanFolder(const std::string& host) {
    std::filesystem::path p(host);
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(p, error);
    if (!error) p = absolute;
    p = p.lexically_normal();
    if (!p.has_filename() && p != p.root_path()) p = p.parent_path();
    return p.string();
}

std::string ShownPath(const std::string& host) {
    std::string out = host.starts_with('/') ? "Z:" + host : host;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

// Z:\home\ann and z:/home/ann both name /home/ann; other paths are taken as they are.
std::string HostPath(const std::string& shown) {
    bool drive = shown.size() >= 2 && (shown[0] == 'z' || shown[0] == 'Z') && shown[1] == ':';
    if (!drive) return shown;
    std::string out = shown.substr(2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out.starts_with('/') ? out : "/" + out;
}

std::string ProgramFolder() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty()) return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool LocalTime(int64_t seconds, std::tm& out) {
    time_t t = static_cast<time_t>(seconds);
    return ::localtime_r(&t, &out) != nullptr;
}

void UseTimeZone(bool set, const std::string& tz) {
    if (set)
        ::setenv("TZ", tz.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

// Into room made once from the file's size: a saved index is megabytes.
bool ReadWholeFile(const std::string& host, std::string& content) {
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    size_t have = content.size();
    size_t expected = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    content.resize(have + expected + 65536);
    ssize_t n;
    while ((n = ::read(fd, content.data() + have, content.size() - have)) > 0) {
        have += static_cast<size_t>(n);
        if (have == content.size()) content.resize(have * 2);
    }
    content.resize(have);
    ::close(fd);
    return n == 0;
}

bool WriteNewFile(const std::string& host, std::string_view content) {
    NewFile file;
    if (!CreateNewFile(host, file)) return false;
    if (AppendToFile(file, content)) return FinishNewFile(file);
    CloseNewFile(file);
    return false;
}

bool CreateNewFile(const std::string& host, NewFile& file) {
    file.handle = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file.handle >= 0;
}

bool AppendToFile(NewFile& file, std::string_view piece) {
    return WriteAll(static_cast<int>(file.handle), piece);
}

bool FinishNewFile(NewFile& file) {
    int fd = static_cast<int>(std::exchange(file.handle, -1));
    bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

void CloseNewFile(NewFile& file) {
    ::close(static_cast<int>(std::exchange(file.handle, -1)));
}

bool RenameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void RemoveFile(const std::string& host) {
    ::unlink(host.c_str());
}

long ProcessId() {
    return static_cast<long>(::getpid());
}

void WriteOut(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void WriteError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace es

int main(int argc, char** argv) {
    return es::Main(std::vector<std::string>(argv + 1, argv + argc));
}
