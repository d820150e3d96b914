// Files by name, relative names taken from the current folder. A replaced file
// is written beside its final name first, so no failure leaves half of it.
#include "platform/win32/win32.h"

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

static bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    return ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr) != 0;
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

void SetCurrentFolder(const std::string& folder) {
    SetCurrentDirectoryW(Widen(folder).c_str());
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = OpenForReading(Widen(path));
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = ReadAll(file, bytes);
    CloseHandle(file);
    if (!ok) bytes.clear();
    return ok;
}

// A folder of that name is never replaced by the file.
bool ReplaceFile(const std::string& path, std::string_view bytes) {
    std::wstring target = Widen(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    std::wstring temporary = target + L".new";
    if (WriteAll(temporary, bytes) && MoveIntoPlace(temporary, target)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}

} // namespace platform
