// start_lumafind.exe: brings Lumafind up again after an online update.
//
// Started with no arguments by the old program as it ends. It waits for that
// process (LUMAFIND_WAIT_FOR holds its id), starts the new "lumafind.exe" from
// its own folder and, when that cannot start or ends at once with a failure,
// puts "lumafind.old" back in its place and starts that instead. It shows no
// window and no dialog: there is nothing it could say that a user would hear.
#include <windows.h>

#include <string>

namespace {

// Longer than the old program needs to save its settings and close.
constexpr DWORD OldProgramWaitMs = 60000;
// A program that is still running after this long has started.
constexpr DWORD QuickFailureMs = 10000;

std::wstring OwnFolder() {
    std::wstring path(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    path.resize(n);
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

void WaitForOldProgram() {
    wchar_t text[32] = {};
    DWORD n = GetEnvironmentVariableW(L"LUMAFIND_WAIT_FOR", text, 32);
    // What the program starts must not wait for a process that is long gone.
    SetEnvironmentVariableW(L"LUMAFIND_WAIT_FOR", nullptr);
    if (n == 0 || n >= 32) return;
    DWORD id = DWORD(wcstoul(text, nullptr, 10));
    HANDLE old = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!old) return; // already ended
    WaitForSingleObject(old, OldProgramWaitMs);
    CloseHandle(old);
}

// True when the program started and did not end at once with a failure.
bool StartedWell(const std::wstring& program, const std::wstring& folder, bool judge) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    bool well = true;
    if (judge && WaitForSingleObject(process.hProcess, QuickFailureMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        well = GetExitCodeProcess(process.hProcess, &code) && code == 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return well;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring folder = OwnFolder();
    std::wstring program = folder + L"lumafind.exe", old = folder + L"lumafind.old";
    WaitForOldProgram();
    if (StartedWell(program, folder, true)) return 0;
    if (GetFileAttributesW(old.c_str()) == INVALID_FILE_ATTRIBUTES) return 1;
    if (!MoveFileExW(old.c_str(), program.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    return StartedWell(program, folder, false) ? 2 : 1;
}
