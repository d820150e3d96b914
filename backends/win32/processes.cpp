// Other programs: the engine run hidden and waited for, and programs started
// for the user.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <shellapi.h>

namespace platform::win32 {

// A working folder CreateProcessW accepts: the folder itself, or its short
// form when the long one passes the limit.
static bool UsableFolder(const std::string& folder, std::wstring& usable) {
    usable = Widen(folder);
    if (usable.size() < MAX_PATH - 1) return true;
    std::wstring shortForm(usable.size() + 1, L'\0');
    DWORD n = GetShortPathNameW(usable.c_str(), shortForm.data(), DWORD(shortForm.size()));
    if (n == 0 || n >= shortForm.size() || n >= MAX_PATH - 1) return false;
    usable.assign(shortForm.data(), n);
    return true;
}

// The program file as process creation takes it: past the old limit, its
// short form (the same file); where it has none, the "\\?\" form.
static std::wstring UsableProgram(const std::string& program) {
    std::wstring usable = ShellPath(program);
    if (usable.empty() || usable.size() >= MAX_PATH) usable = ExtendedPath(program);
    return usable;
}

// Keys typed while the engine runs are dropped, except Esc, which ends it, and
// Alt+F4; the window is still painted, and a close request is taken in.
bool CancelRequestedMeanwhile() {
    bool cancel = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) cancel = true;
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4) Win.closeRequested = true;
    }
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&msg);
    // Posted close requests (the taskbar, the window manager) reach the window
    // procedure, which holds them back while a process is waited for.
    while (PeekMessageW(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        DispatchMessageW(&msg);
    return cancel || Win.closeRequested;
}

static bool WaitOrCancel(HANDLE process) {
    Win.waitedProcess = process;
    bool cancelled = false;
    while (WaitForSingleObject(process, 15) == WAIT_TIMEOUT) {
        if (!CancelRequestedMeanwhile()) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        cancelled = true;
        break;
    }
    Win.waitedProcess = nullptr;
    // Carried out by the message loop once the search has spoken its outcome.
    if (Win.closeRequested) PostMessageW(Win.main, WM_CLOSE, 0, 0);
    return cancelled;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

// The command line goes in whole, in a buffer CreateProcessW may write to; the
// program is named by its full path, so nothing is looked up on the way.
ProcessResult RunHiddenAndWait(const std::string& program, const std::string& commandLine,
                               const std::string& folder) {
    std::wstring workingFolder;
    if (!UsableFolder(folder, workingFolder)) return {false, false, true, 0};
    std::wstring file = UsableProgram(program), line = Widen(commandLine);
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, workingFolder.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    ProcessResult result{true, WaitOrCancel(pi.hProcess), false, 0};
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hProcess);
    result.exitCode = uint32_t(exitCode);
    return result;
}

std::string EnvironmentText(const std::string& name) {
    std::wstring wide = Widen(name);
    DWORD n = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wide.c_str(), value.data(), n);
    value.resize(n);
    return Narrow(value);
}

bool StartProgram(const std::string& path, const std::string& arguments) {
    std::wstring file = Widen(path), parameters = Widen(arguments);
    HINSTANCE result =
        ShellExecuteW(nullptr, L"open", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return INT_PTR(result) > 32;
}

} // namespace platform

namespace platform {

// Breaking away from a job the program runs in keeps the index alive after it;
// a job that forbids it gets the index as its own.
bool StartBackgroundProgram(const std::string& path) {
    std::wstring file = UsableProgram(path), line = L"\"" + Widen(path) + L"\"";
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    // Not the program folder: a process working there would hold it against an uninstall.
    wchar_t system[MAX_PATH];
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    const wchar_t* folder = n > 0 && n < MAX_PATH ? system : nullptr;
    DWORD flags = CREATE_NO_WINDOW;
    if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE,
                        flags | CREATE_BREAKAWAY_FROM_JOB, nullptr, folder, &si, &pi) &&
        !CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, flags, nullptr, folder,
                        &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void OpenWebPage(const std::string& url) {
    ShellExecuteW(nullptr, L"Open", win32::Widen(url).c_str(), L"", L"", SW_SHOWNORMAL);
}

} // namespace platform

namespace platform {

// A process we may not open is still running.
bool ProcessRunning(uint32_t id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

} // namespace platform
