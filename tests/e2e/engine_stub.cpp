// A stand-in for the engine's client in the end-to-end tests. It writes the
// argument list Windows hands it (CommandLineToArgvW, the rule the real client
// reads its arguments by) to "engine-args.txt" in its working folder, one per
// line, then answers with a one-row export when asked for one. Named cmd.exe it
// only leaves "cmd-ran.txt", so a test can tell that no interpreter ran. With
// LUMAFIND_STUB_HANG set it never ends, like a crashed engine.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

void Write(const wchar_t* name, const std::string& bytes) {
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr);
    CloseHandle(file);
}

bool NamedCmd() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return lstrcmpiW(name ? name + 1 : path, L"cmd.exe") == 0;
}

} // namespace

int wmain() {
    if (NamedCmd()) {
        Write(L"cmd-ran.txt", "ran\r\n");
        return 0;
    }
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string listed;
    const wchar_t* exportFile = nullptr;
    for (int i = 0; i < count; ++i) {
        listed += Utf8(args[i]) + "\n";
        if (lstrcmpiW(args[i], L"-export-csv") == 0 && i + 1 < count) exportFile = args[i + 1];
    }
    Write(L"engine-args.txt", listed);
    if (GetEnvironmentVariableW(L"LUMAFIND_STUB_HANG", nullptr, 0) > 0) Sleep(INFINITE);
    if (exportFile)
        Write(exportFile, "Size,Date Modified,Filename\r\n"
                          "7,02/03/2024 04:05,\"C:\\stub\\answer from the stub.txt\"\r\n");
    return 0;
}
