// Stands in for a screen reader in the end-to-end tests: sets or clears the
// system's screen-reader flag, as a reader does when it starts and ends, and
// reads what Lumafind last put in its live-region control. It writes to the
// file named first, as UTF-8 lines:
//   on | off           sets the flag (kept in the prefix until cleared), telling every
//                      window; writes "flag: 1" or "flag: 0"
//                      as the system then reports it
//   announced          writes "announced: " and the control's text, or "no-window:" when
//                      there is no main window, "no-control:" when it has no such control
#include <windows.h>

#include <string>

namespace {

// The live-region control's id in backends/win32/win32.h.
constexpr int AnnouncerId = 600;

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

BOOL CALLBACK FindMain(HWND window, LPARAM found) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (wcsncmp(caption, L"Lumafind ", 9) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

std::string SetFlag(bool on) {
    SystemParametersInfoW(SPI_SETSCREENREADER, on ? TRUE : FALSE, nullptr,
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    BOOL running = FALSE;
    SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0);
    return running ? "flag: 1\n" : "flag: 0\n";
}

std::string Announced() {
    HWND main = nullptr;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
    // The tests run the program in a Wine virtual desktop of this name.
    if (HDESK desktop = main ? nullptr : OpenDesktopW(L"lumafind", 0, FALSE, DESKTOP_ENUMERATE)) {
        EnumDesktopWindows(desktop, FindMain, reinterpret_cast<LPARAM>(&main));
        CloseDesktop(desktop);
    }
    if (!main) return "no-window:\n";
    HWND control = GetDlgItem(main, AnnouncerId);
    if (!control) return "no-control:\n";
    wchar_t text[4096] = {};
    GetWindowTextW(control, text, 4096);
    return "announced: " + Utf8(text) + "\n";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    std::wstring command = argv[2];
    std::string out = command == L"announced" ? Announced() : SetFlag(command == L"on");
    HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, out.data(), DWORD(out.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
