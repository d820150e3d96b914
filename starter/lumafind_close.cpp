// lumafind-close.exe: run by the installer before it changes any file.
//
//   lumafind-close.exe "INSTALLDIR\lumafind.exe" [UILEVEL] [ALL]
//
// Every Lumafind main window whose program runs from the install folder is
// asked to close, as the close button would: the program saves its settings
// and ends. It waits for those programs to end; when one is still running
// after CloseWaitMs it returns 1, so that the installer stops before it has
// changed anything rather than replacing or removing files in use halfway.
// The stand-in engine's index (lumafind-index.exe) running from that folder is
// ended too: it holds no settings, and its saved index is replaced in one step,
// so ending it loses nothing. With ALL (the product is being removed) it also
// removes the temporaries of saves cut short and the saved index
// (%LOCALAPPDATA%\Lumafind\). With UILEVEL above 2 (not a silent install) a refusal is
// also told in a message box.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <cwctype>
#include <string>
#include <vector>

namespace {

// The program saves and ends within a second; a slow disk or a busy machine
// gets many times that.
constexpr DWORD CloseWaitMs = 20000;
// As backends/win32/main_window.cpp registers it.
constexpr wchar_t MainClassName[] = L"LumafindMainWindow";
// The files the program saves through a temporary "NAME.PID-COUNT.new".
constexpr wchar_t IndexProgram[] = L"lumafind-index.exe";
constexpr const wchar_t* SavedFiles[] = {L"lumafind.ini", L"lumafind.tmp", L"searchterms.txt",
                                         L"results.txt", L"exclusion.txt"};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = wchar_t(std::towlower(c));
    return text;
}

// The same folder may be named by its short form or with forward slashes;
// case is left to SameFolder.
std::wstring CanonicalFolder(const std::wstring& path) {
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    std::wstring longForm(32768, L'\0');
    DWORD n = GetLongPathNameW(folder.c_str(), longForm.data(), DWORD(longForm.size()));
    if (n > 0 && n < longForm.size()) folder = longForm.substr(0, n);
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    return folder;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool ImageInFolder(HANDLE process, const std::wstring& folder) {
    std::wstring image(32768, L'\0');
    DWORD size = DWORD(image.size());
    return QueryFullProcessImageNameW(process, 0, image.data(), &size) &&
           SameFolder(CanonicalFolder(image.substr(0, size)), folder);
}

struct Search {
    std::wstring folder;
    std::vector<HANDLE> processes;
    std::vector<DWORD> ids;
};

BOOL CALLBACK OnWindow(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64) || std::wstring(name) != MainClassName) return TRUE;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (!process) return TRUE;
    if (!ImageInFolder(process, search.folder)) {
        CloseHandle(process);
        return TRUE;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    for (DWORD known : search.ids)
        if (known == id) {
            CloseHandle(process);
            return TRUE;
        }
    search.ids.push_back(id);
    search.processes.push_back(process);
    return TRUE;
}

// A program started in another desktop of the session (Wine's virtual desktop
// is one) has its windows there, out of reach of EnumWindows.
BOOL CALLBACK OnDesktop(LPWSTR name, LPARAM data) {
    if (HDESK desktop = OpenDesktopW(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE)) {
        EnumDesktopWindows(desktop, OnWindow, data);
        CloseDesktop(desktop);
    }
    return TRUE;
}

bool IsSaveTemporary(const std::wstring& name) {
    std::wstring lower = Lower(name);
    for (const wchar_t* saved : SavedFiles) {
        std::wstring prefix = std::wstring(saved) + L".", suffix = L".new";
        if (lower.size() <= prefix.size() + suffix.size() || lower.rfind(prefix, 0) != 0 ||
            lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::wstring middle =
            lower.substr(prefix.size(), lower.size() - prefix.size() - suffix.size());
        size_t dash = middle.find(L'-');
        auto digits = [](const std::wstring& s) {
            return !s.empty() && s.find_first_not_of(L"0123456789") == std::wstring::npos;
        };
        if (dash != std::wstring::npos && digits(middle.substr(0, dash)) &&
            digits(middle.substr(dash + 1)))
            return true;
    }
    return false;
}

// Windows Installer removes only the files it knows by name, and a save cut
// short leaves its temporary under a name nobody can know in advance.
void RemoveSaveTemporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.new").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsSaveTemporary(found.cFileName))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// Every index started from the install folder, whoever's: it holds the file.
bool EndIndexes(const std::wstring& folder) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return true;
    bool ended = true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (Lower(entry.szExeFile) != IndexProgram) continue;
        DWORD access = PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE;
        HANDLE process = OpenProcess(access, FALSE, entry.th32ProcessID);
        if (!process) continue;
        if (ImageInFolder(process, folder) && TerminateProcess(process, 0))
            ended = WaitForSingleObject(process, CloseWaitMs) == WAIT_OBJECT_0 && ended;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

// The saved index and its temporaries ("index.bin.PID.tmp"), then the folder if
// nothing else is left in it.
void RemoveSavedIndex() {
    wchar_t local[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::wstring folder = std::wstring(local) + L"\\Lumafind\\";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"index.bin*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = Lower(found.cFileName);
            bool temporary = name.size() > 4 && name.compare(name.size() - 4, 4, L".tmp") == 0;
            if (name == L"index.bin" || temporary) DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 2) return 2;
    std::wstring program = arguments[1];
    bool quiet = count < 3 || wcstol(arguments[2], nullptr, 10) <= 2;
    bool removing = count >= 4 && std::wstring(arguments[3]) == L"ALL";
    LocalFree(arguments);

    Search search;
    search.folder = CanonicalFolder(program);
    EnumDesktopsW(GetProcessWindowStation(), OnDesktop, LPARAM(&search));
    ULONGLONG deadline = GetTickCount64() + CloseWaitMs;
    bool ended = true;
    for (HANDLE process : search.processes) {
        ULONGLONG now = GetTickCount64();
        DWORD left = now < deadline ? DWORD(deadline - now) : 0;
        ended = WaitForSingleObject(process, left) == WAIT_OBJECT_0 && ended;
        CloseHandle(process);
    }
    ended = EndIndexes(search.folder) && ended;
    if (!ended) {
        if (!quiet)
            MessageBoxW(nullptr,
                        L"Lumafind is still running and did not close. Nothing was changed. "
                        L"Close Lumafind, then run the installer again.",
                        L"Lumafind setup", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
        return 1;
    }
    if (removing) {
        RemoveSaveTemporaries(program.substr(0, program.find_last_of(L"\\/") + 1));
        RemoveSavedIndex();
    }
    return 0;
}
