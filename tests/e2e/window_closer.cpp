// Asks the program's main window to close as the system does, for the
// end-to-end tests: "close" posts the close command the taskbar and the window
// menu send; "end-session" sends the two messages of a session ending and
// returns once the window has answered both. Writes "closed" or "no window" to
// the file named first.
#include <windows.h>

#include <string>

namespace {

HWND Found = nullptr;

BOOL CALLBACK Visit(HWND window, LPARAM) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (wcsncmp(caption, L"Lumafind ", 9) != 0) return TRUE;
    Found = window;
    return FALSE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    EnumWindows(Visit, 0);
    std::string out = Found ? "closed\n" : "no window\n";
    if (Found && lstrcmpW(argv[2], L"close") == 0) {
        PostMessageW(Found, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (Found) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(Found, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &answer);
        SendMessageTimeoutW(Found, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 20000, &answer);
    }
    HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD put = 0;
    WriteFile(file, out.data(), DWORD(out.size()), &put, nullptr);
    CloseHandle(file);
    return 0;
}
