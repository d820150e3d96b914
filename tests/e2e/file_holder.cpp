// Stands in for a backup, antivirus or sync tool in the end-to-end tests: opens
// files without sharing, so that no other program can read them, and holds them.
//   lumafind_file_holder.exe STATUS UNTIL FILE...
// writes "held" to STATUS once every file is held, then holds them until UNTIL:
//   a path   until that file exists
//   window:N N milliseconds after a window whose caption starts with "Lumafind "
//            exists (the program makes its window, hidden, just before it reads
//            its settings)
// then lets go and writes "released".
#include <windows.h>

#include <string>
#include <vector>

namespace {

BOOL CALLBACK FindMain(HWND window, LPARAM found) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (wcsncmp(caption, L"Lumafind ", 9) != 0) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool ProgramWindowExists() {
    bool found = false;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
    // The tests run the program in a Wine virtual desktop of this name.
    if (HDESK desktop = found ? nullptr : OpenDesktopW(L"lumafind", 0, FALSE, DESKTOP_ENUMERATE)) {
        EnumDesktopWindows(desktop, FindMain, reinterpret_cast<LPARAM>(&found));
        CloseDesktop(desktop);
    }
    return found;
}

void WriteStatus(const wchar_t* path, const char* text) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text, DWORD(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    std::vector<HANDLE> held;
    for (int i = 3; i < argc; ++i) {
        HANDLE file = CreateFileW(argv[i], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        held.push_back(file);
    }
    WriteStatus(argv[1], "held\n");
    std::wstring until = argv[2];
    ULONGLONG deadline = GetTickCount64() + 120000; // never hold for good
    if (until.rfind(L"window:", 0) == 0) {
        while (!ProgramWindowExists() && GetTickCount64() < deadline)
            Sleep(5);
        Sleep(DWORD(_wtoi(until.c_str() + 7)));
    } else {
        while (GetFileAttributesW(until.c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetTickCount64() < deadline)
            Sleep(20);
    }
    for (HANDLE file : held)
        CloseHandle(file);
    WriteStatus(argv[1], "released\n");
    return 0;
}
