// Another Windows program reading the clipboard, for the end-to-end tests: it
// writes what it finds to the file named first, as UTF-8 lines:
//   drop-header: the five numbers of the file-drop header
//   drop-size: the block's size in bytes
//   drop: each name DragQueryFileW gives back
//   text: the Unicode text, with "\r" and "\n" written as those two characters
//   none: the clipboard could not be opened
// With "--program .ext" it writes instead "program: " and the friendly name of
// the program the shell associates with the extension, or "program-error: ".
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text, size_t length) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, int(length), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string Clipboard() {
    bool open = false;
    for (int attempt = 0; attempt < 50 && !(open = OpenClipboard(nullptr)); ++attempt)
        Sleep(20);
    if (!open) return "none:\n";
    std::string out;
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        if (auto* header = static_cast<const DROPFILES*>(GlobalLock(drop))) {
            out += "drop-header: " + std::to_string(header->pFiles) + " " +
                   std::to_string(header->pt.x) + " " + std::to_string(header->pt.y) + " " +
                   std::to_string(header->fNC) + " " + std::to_string(header->fWide) + "\n";
            out += "drop-size: " + std::to_string(GlobalSize(drop)) + "\n";
            GlobalUnlock(drop);
        }
        UINT count = DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            UINT length = DragQueryFileW(static_cast<HDROP>(drop), i, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            DragQueryFileW(static_cast<HDROP>(drop), i, name.data(), length + 1);
            out += "drop: " + Utf8(name.c_str(), length) + "\n";
        }
    }
    if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* units = static_cast<const wchar_t*>(GlobalLock(text))) {
            size_t length = wcsnlen(units, GlobalSize(text) / sizeof(wchar_t));
            out += "text: " + Escaped(Utf8(units, length)) + "\n";
            GlobalUnlock(text);
        }
    }
    CloseClipboard();
    return out;
}

std::string Program(const wchar_t* extension) {
    wchar_t name[1024] = {};
    DWORD n = 1024;
    HRESULT result = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_FRIENDLYAPPNAME,
                                       extension, nullptr, name, &n);
    if (result != S_OK) return "program-error: " + std::to_string(unsigned(result)) + "\n";
    return "program: " + Utf8(name, wcslen(name)) + "\n";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::string out =
        argc >= 4 && lstrcmpW(argv[2], L"--program") == 0 ? Program(argv[3]) : Clipboard();
    HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD put = 0;
    WriteFile(file, out.data(), DWORD(out.size()), &put, nullptr);
    CloseHandle(file);
    return 0;
}
