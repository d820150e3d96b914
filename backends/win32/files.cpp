// Files by name, relative names taken from the current folder. A replaced file
// is written beside its final name first and renamed over it in one step, so
// no failure and no second program saving at once leaves half of it, or none.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <algorithm>

namespace platform::win32 {

static HANDLE OpenForReading(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

static bool ReadAll(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > LONGLONG(bytes.max_size())) return false;
    bytes.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30)), got = 0;
        if (!ReadFile(file, bytes.data() + done, chunk, &got, nullptr)) return false;
        if (got == 0) break; // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return true;
}

static bool WriteAll(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30)), put = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &put, nullptr) && put == chunk;
        done += put;
    }
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}

// Each save has a temporary of its own, so two programs saving the same file
// at once never write into one temporary.
static std::wstring TemporaryFor(const std::wstring& target) {
    static LONG serial = 0;
    return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&serial)) + L".new";
}

// Another program reading or replacing the file holds it for a moment.
static bool HeldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// How long a save waits for another program to let go of the file. Short
// pauses: each try has about the same chance while someone reads in a loop.
constexpr ULONGLONG MoveRetryMs = 50;

// The target is never removed first: a reader finds the old file or the new one.
static bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
    ULONGLONG deadline = GetTickCount64() + MoveRetryMs;
    for (;;) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (!HeldByAnother(GetLastError()) || GetTickCount64() > deadline) return false;
        Sleep(1);
    }
}

// Windows drops a dot or a blank that ends a name, unless the path comes in
// the "\\?\\" form: "twin.txt." would otherwise be read as "twin.txt".
bool NameEndsInDotOrBlank(const std::wstring& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find(L'\\', start), path.size());
        std::wstring_view name(path.data() + start, end - start);
        bool onlyDots = name.find_first_not_of(L'.') == std::wstring_view::npos;
        if (!name.empty() && !onlyDots && (name.back() == L'.' || name.back() == L' ')) return true;
        start = end + 1;
    }
    return false;
}

std::wstring ExtendedPath(const std::string& path) {
    std::wstring wide = Widen(path);
    bool drive = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    bool share = wide.rfind(L"\\\\", 0) == 0 && wide.rfind(L"\\\\?\\", 0) != 0;
    if (!(drive || share)) return wide;
    if (wide.size() < MAX_PATH && !NameEndsInDotOrBlank(wide)) return wide;
    return share ? L"\\\\?\\UNC\\" + wide.substr(2) : L"\\\\?\\" + wide;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return Narrow(std::wstring_view(path).substr(0, n));
        path.resize(path.size() * 2);
    }
}

std::string ProgramFolder() {
    std::string path = ProgramPath();
    return path.substr(0, path.find_last_of("\\/") + 1);
}

// A folder past the path limit may still be current by its short form.
bool SetCurrentFolder(const std::string& folder) {
    std::wstring wide = Widen(folder);
    if (SetCurrentDirectoryW(wide.c_str())) return true;
    std::wstring shortForm(wide.size() + 1, L'\0');
    DWORD n = GetShortPathNameW(wide.c_str(), shortForm.data(), DWORD(shortForm.size()));
    return n > 0 && n < shortForm.size() && SetCurrentDirectoryW(shortForm.c_str()) != 0;
}

// A result's path may pass the old limit; it is looked at whole.
bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    return ReadFileWaiting(path, bytes, 0) == ReadResult::Read;
}

// Backup, antivirus and sync tools open a file for a moment without sharing;
// a read in that moment must not pass for a missing file.
ReadResult ReadFileWaiting(const std::string& path, std::string& bytes, int waitMs) {
    bytes.clear();
    std::wstring wide = Widen(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ReadResult::Unreadable;
    ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(waitMs, 0));
    for (;;) {
        DWORD error = 0;
        HANDLE file = OpenForReading(wide);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return ReadResult::Missing;
        } else {
            bool ok = ReadAll(file, bytes);
            if (!ok) error = GetLastError();
            CloseHandle(file);
            if (ok) return ReadResult::Read;
            bytes.clear();
        }
        if (!HeldByAnother(error) || GetTickCount64() >= deadline) return ReadResult::Unreadable;
        Sleep(10);
    }
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::wstring pattern = ExtendedPath(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A folder of that name is never replaced by the file.
bool ReplaceFile(const std::string& path, std::string_view bytes) {
    std::wstring target = Widen(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    std::wstring temporary = TemporaryFor(target);
    if (WriteAll(temporary, bytes) && MoveIntoPlace(temporary, target)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}

FileStamp StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return {};
    ULARGE_INTEGER written{
        {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    ULARGE_INTEGER size{{data.nFileSizeLow, data.nFileSizeHigh}};
    return {int64_t(written.QuadPart), int64_t(size.QuadPart)};
}

} // namespace platform
