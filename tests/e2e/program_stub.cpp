// A stand-in for an outside program the user starts from Lumafind (the
// magnifier, the engine's window). It writes the command line it was given,
// whole, and then the argument list Windows makes of it (CommandLineToArgvW),
// one per line, to a file named after itself with ".ran.txt" added, beside it.
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

} // namespace

int wmain() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring record = std::wstring(self) + L".ran.txt";
    std::string text = Utf8(GetCommandLineW()) + "\r\n";
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; args && i < count; ++i)
        text += Utf8(args[i]) + "\r\n";
    LocalFree(args);
    HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &put, nullptr);
    CloseHandle(file);
    return 0;
}
