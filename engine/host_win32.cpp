// The host system on Windows. Paths are native; texts are UTF-8 inside and UTF-16 at the API.
#include "engine/es.h"
#include "engine/win32_file.h"
#include "engine/win32_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <windows.h>
#include <winternl.h>

// The directory listing of ntdll, which MinGW does not declare. It brings each entry's size and
// date with its name, so no match needs a call of its own.
namespace {
struct FullDirEntry {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER EndOfFile;
    LARGE_INTEGER AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;
    ULONG EaSize; // the reparse tag, for a reparse point
    WCHAR FileName[1];
};
constexpr NTSTATUS StatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
} // namespace

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apc, PVOID context,
                                               PIO_STATUS_BLOCK io, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS kind, BOOLEAN single,
                                               PUNICODE_STRING mask, BOOLEAN restart);

namespace es {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return L"";
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return "";
    int size = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring out(n, L'\0');
    out.resize(GetCurrentDirectoryW(n, out.data()));
    return out;
}

// Inside es paths are kept in their ordinary form, which is also the form they are shown in.
// A \\?\ path of another kind (a volume name) has no ordinary form and keeps its prefix.
std::wstring WithoutPrefix(std::wstring w) {
    for (wchar_t& c : w)
        if (c == L'/') c = L'\\';
    if (w.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + w.substr(8);
    bool drive = w.size() >= 6 && w[5] == L':';
    if (w.starts_with(L"\\\\?\\") && drive) return w.substr(4);
    return w;
}

// Length of "C:" or "\\server\share" at the start of an absolute path; 0 when it has none.
size_t RootLength(std::wstring_view w) {
    if (w.size() >= 3 && w[1] == L':' && w[2] == L'\\') return 2;
    if (!w.starts_with(L"\\\\")) return 0;
    size_t server = w.find(L'\\', 2);
    if (server == std::wstring_view::npos || server == 2) return 0;
    size_t share = w.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? w.size() : share;
}

// Joins a relative path to the folder it is relative to. GetFullPathNameW is not used on the
// names themselves: it turns CON into a device and drops a final dot or blank.
std::wstring Absolute(std::wstring w) {
    if (RootLength(w) > 0 || w.starts_with(L"\\\\")) return w;
    if (w.size() >= 2 && w[1] == L':') { // C:name, relative to that drive's current folder
        wchar_t drive[3] = {w[0], L':', 0}, folder[MAX_PATH];
        DWORD n = GetFullPathNameW(drive, MAX_PATH, folder, nullptr);
        if (n == 0 || n >= MAX_PATH) return w;
        return WithoutPrefix(folder) + L'\\' + w.substr(2);
    }
    std::wstring current = WithoutPrefix(CurrentFolder());
    if (w.starts_with(L'\\')) return current.substr(0, RootLength(current)) + w;
    return current + L'\\' + w;
}

// Absolute, in the ordinary form, "." and ".." resolved, no separator at the end unless it is
// the top ("C:\\"); a path without a root it can be given is returned as it is.
std::wstring CleanPath(std::wstring w) {
    w = WithoutPrefix(std::move(w));
    if (w.starts_with(L"\\\\.\\") || w.starts_with(L"\\\\?\\")) return w; // a device or volume
    w = Absolute(std::move(w));
    size_t rootLength = RootLength(w);
    if (rootLength == 0) return w;
    std::wstring out = w.substr(0, rootLength);
    std::wstring_view rest = std::wstring_view(w).substr(rootLength);
    while (!rest.empty()) {
        size_t cut = rest.find(L'\\');
        std::wstring_view name = rest.substr(0, cut);
        rest = cut == std::wstring_view::npos ? std::wstring_view() : rest.substr(cut + 1);
        if (name.empty() || name == L".") continue;
        if (name == L"..") {
            size_t up = out.rfind(L'\\');
            out.resize(up == std::wstring::npos ? rootLength : std::max(rootLength, up));
            continue;
        }
        out += L'\\';
        out += name;
    }
    if (out.size() == rootLength) out += L'\\'; // the top folder, not the volume
    return out;
}

// Every path goes to the system in the \\?\ form, which takes each name as it stands: a
// folder named CON, aux or COM1, a file lpt1.txt, a name ending in a dot or a blank are what
// they are on disk, and MAX_PATH does not apply. The system then cleans nothing up, so
// CleanPath does.
std::wstring ApiPath(const std::string& host) {
    std::wstring w = CleanPath(Widen(host));
    size_t rootLength = RootLength(w);
    if (rootLength == 2) return L"\\\\?\\" + w;
    if (rootLength > 2) return L"\\\\?\\UNC\\" + w.substr(2);
    return w;
}

// Junctions and symbolic links are not entered; other reparse points (cloud files) are ordinary.
bool IsLink(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (tag == IO_REPARSE_TAG_MOUNT_POINT || tag == IO_REPARSE_TAG_SYMLINK);
}

int64_t UnixSeconds(FILETIME t) {
    uint64_t ticks = (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000) - 11644473600LL;
}

HANDLE OpenFolder(const std::string& host, DWORD access) {
    return CreateFileW(ApiPath(host).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Nanoseconds since 1970, as finely as the system keeps them.
int64_t StampOf(const FILETIME& t) {
    uint64_t ticks = (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<int64_t>(ticks - 116444736000000000ull) * 100;
}

// Wine shows a Unix link as a plain folder, so loops are found by the folder's identity. Only
// the file index is asked for: the volume serial costs Wine a trip to its mount manager per
// folder, and the walk never crosses a volume (mount points are links, and Wine gives all the
// folders of one drive one serial).
FolderId IdOfOpenFolder(HANDLE folder) {
    IO_STATUS_BLOCK io;
    FILE_INTERNAL_INFORMATION info;
    if (NtQueryInformationFile(folder, &io, &info, sizeof info, FileInternalInformation) < 0)
        return {};
    return {0, static_cast<uint64_t>(info.IndexNumber.QuadPart)};
}

void AddEntry(const FullDirEntry& e, FolderListing& listing) {
    std::wstring_view n(e.FileName, e.FileNameLength / sizeof(WCHAR));
    if (n == L"." || n == L"..") return;
    listing.names += Narrow(n);
    listing.ends.push_back(static_cast<uint32_t>(listing.names.size()));
    ULONG a = e.FileAttributes;
    listing.kinds.push_back(IsLink(a, e.EaSize)            ? Kind::Link
                            : a & FILE_ATTRIBUTE_DIRECTORY ? Kind::Folder
                                                           : Kind::File);
    listing.sizes.push_back(e.EndOfFile.QuadPart);
    FILETIME t{e.LastWriteTime.LowPart, static_cast<DWORD>(e.LastWriteTime.HighPart)};
    listing.modified.push_back(UnixSeconds(t));
}

// Reads the entries of an open folder a large buffer at a time.
bool ReadEntries(HANDLE folder, FolderListing& listing) {
    thread_local std::vector<LONGLONG> buffer(256 * 1024 / sizeof(LONGLONG));
    ULONG length = static_cast<ULONG>(buffer.size() * sizeof(LONGLONG));
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK io;
        NTSTATUS status =
            NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer.data(), length,
                                 FileFullDirectoryInformation, FALSE, nullptr, restart);
        if (status == StatusNoMoreFiles) return true;
        if (status < 0) return !restart; // a folder that fails midway keeps what was read
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto& e = *reinterpret_cast<const FullDirEntry*>(at);
            AddEntry(e, listing);
            if (e.NextEntryOffset == 0) break;
            at += e.NextEntryOffset;
        }
    }
}

} // namespace

FolderId IdOfFolder(const std::string& host) {
    HANDLE folder = OpenFolder(host, FILE_READ_ATTRIBUTES);
    if (folder == INVALID_HANDLE_VALUE) return {};
    FolderId id = IdOfOpenFolder(folder);
    CloseHandle(folder);
    return id;
}

bool ListFolder(const std::string& host, FolderListing& listing) {
    listing.names.clear();
    listing.ends.clear();
    listing.kinds.clear();
    listing.sizes.clear();
    listing.modified.clear();
    DWORD access =
        FILE_LIST_DIRECTORY | SYNCHRONIZE | (listing.withStamp ? FILE_READ_ATTRIBUTES : 0);
    HANDLE folder = OpenFolder(host, access);
    if (folder == INVALID_HANDLE_VALUE) return false;
    listing.id = IdOfOpenFolder(folder);
    listing.stamp = 0;
    FILETIME written;
    if (listing.withStamp && GetFileTime(folder, nullptr, nullptr, &written))
        listing.stamp = StampOf(written);
    bool ok = ReadEntries(folder, listing);
    CloseHandle(folder);
    return ok;
}

Kind KindOf(const std::string& host, bool followLink) {
    DWORD a = GetFileAttributesW(ApiPath(host).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return Kind::Unknown;
    if (!followLink && (a & FILE_ATTRIBUTE_REPARSE_POINT)) return Kind::Link;
    return a & FILE_ATTRIBUTE_DIRECTORY ? Kind::Folder : Kind::File;
}

bool ReadItem(const std::string& host, int64_t& size, int64_t& modified) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ApiPath(host).c_str(), GetFileExInfoStandard, &data)) return false;
    size =
        static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    modified = UnixSeconds(data.ftLastWriteTime);
    return true;
}

// Kinds as a listing gives them: a reparse point is a link only by its tag (a cloud file's
// folder is an ordinary folder), which only the reparse points' rare case asks for. A link's own
// attributes tell whether it stands for a folder.
bool ReadItemWithKind(const std::string& host, Kind& kind, bool& shownAsFolder, int64_t& size,
                      int64_t& modified) {
    std::wstring path = ApiPath(host);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    DWORD a = data.dwFileAttributes;
    shownAsFolder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool link = false;
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(path.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            link = IsLink(found.dwFileAttributes, found.dwReserved0);
            FindClose(search);
        }
    }
    kind = link ? Kind::Link : shownAsFolder ? Kind::Folder : Kind::File;
    size =
        static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    modified = UnixSeconds(data.ftLastWriteTime);
    return true;
}

int64_t ChangeStamp(const std::string& host) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ApiPath(host).c_str(), GetFileExInfoStandard, &data)) return 0;
    return StampOf(data.ftLastWriteTime);
}

std::string JoinHost(const std::string& folder, std::string_view name) {
    std::string out = folder;
    if (!out.ends_with('\\') && !out.ends_with('/')) out += '\\';
    out += name;
    return out;
}

std::string ShownPath(const std::string& host) {
    return Narrow(WithoutPrefix(Widen(host)));
}

std::string CleanFolder(const std::string& host) {
    return Narrow(CleanPath(Widen(host)));
}

std::string HostPath(const std::string& shown) {
    return Narrow(WithoutPrefix(Widen(shown)));
}

std::string ProgramFolder() {
    wchar_t buffer[32768];
    DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    std::string path = Narrow(std::wstring_view(buffer, n));
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string HomeFolder() {
    std::string home = Environment("USERPROFILE");
    return home.empty() ? "C:\\" : home;
}

std::string Environment(const char* name) {
    const wchar_t* value = _wgetenv(Widen(name).c_str());
    return value ? Narrow(value) : "";
}

bool LocalTime(int64_t seconds, std::tm& out) {
    __time64_t t = seconds;
    return _localtime64_s(&out, &t) == 0;
}

void UseTimeZone(bool set, const std::string& tz) {
    _putenv_s("TZ", set ? tz.c_str() : "");
    _tzset();
}

// Into room made once from the file's size: a saved index is megabytes.
bool ReadWholeFile(const std::string& host, std::string& content) {
    HANDLE file = CreateFileW(ApiPath(host).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    size_t have = content.size();
    size_t expected =
        GetFileSizeEx(file, &size) && size.QuadPart > 0 ? static_cast<size_t>(size.QuadPart) : 0;
    content.resize(have + expected + 65536);
    DWORD n = 0;
    bool ok;
    while ((ok = ReadFile(file, content.data() + have,
                          static_cast<DWORD>(std::min<size_t>(content.size() - have, 1 << 30)), &n,
                          nullptr)) &&
           n > 0) {
        have += n;
        if (have == content.size()) content.resize(have * 2);
    }
    content.resize(have);
    CloseHandle(file);
    return ok;
}

// WriteFile takes at most 4 GiB a call; 1 GiB at a time keeps clear of that.
static bool WriteAll(HANDLE h, std::string_view piece) {
    bool ok = true;
    size_t done = 0;
    while (ok && done < piece.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(piece.size() - done, 1 << 30));
        DWORD written = 0;
        ok = WriteFile(h, piece.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    return ok;
}

bool WriteNewFileFlushed(const std::wstring& path, std::string_view content,
                         SECURITY_ATTRIBUTES* security) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, content) && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

bool WriteNewFile(const std::string& host, std::string_view content) {
    return WriteNewFileFlushed(ApiPath(host), content, nullptr);
}

bool CreateNewFile(const std::string& host, NewFile& file) {
    HANDLE h = CreateFileW(ApiPath(host).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    file.handle = h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(h);
    return file.handle != -1;
}

bool AppendToFile(NewFile& file, std::string_view piece) {
    return WriteAll(reinterpret_cast<HANDLE>(file.handle), piece);
}

bool FinishNewFile(NewFile& file) {
    HANDLE h = reinterpret_cast<HANDLE>(std::exchange(file.handle, -1));
    bool ok = FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

void CloseNewFile(NewFile& file) {
    CloseHandle(reinterpret_cast<HANDLE>(std::exchange(file.handle, -1)));
}

bool RenameOver(const std::string& from, const std::string& to) {
    return MoveFileExW(ApiPath(from).c_str(), ApiPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void RemoveFile(const std::string& host) {
    DeleteFileW(ApiPath(host).c_str());
}

long ProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

void WriteOut(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void WriteError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace es

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(es::Narrow(argv[i]));
    return es::Main(args);
}
