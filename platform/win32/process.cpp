// Other programs: the engine run hidden and waited for, and programs started
// for the user.
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <shellapi.h>

namespace platform {

using namespace win32;

// The command line goes in whole, in a buffer CreateProcessW may write to,
// however long the engine's arguments grow.
ProcessResult RunHiddenAndWait(const std::string& commandLine) {
    std::wstring line = Widen(commandLine);
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return {false, 0};
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {true, uint32_t(exitCode)};
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

void OpenWebPage(const std::string& url) {
    ShellExecuteW(nullptr, L"Open", win32::Widen(url).c_str(), L"", L"", SW_SHOWNORMAL);
}

} // namespace platform
