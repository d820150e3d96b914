// The shell: opening a file with its program or a folder in a folder window,
// and the name of the program a file type opens with.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace platform::win32 {

static bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The shell takes paths shorter than the old limit, and drops a dot or blank
// that ends a name; the short form names the same file in neither case.
std::wstring ShellPath(const std::string& path) {
    std::wstring wide = Widen(path), extended = ExtendedPath(path);
    if (extended == wide) return wide;
    // Past the limit the whole path is still the best try; a changed name never is.
    std::wstring fallback = NameEndsInDotOrBlank(wide) ? std::wstring() : wide;
    DWORD n = GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (n == 0) return fallback;
    std::wstring shortForm(n, L'\0');
    n = GetShortPathNameW(extended.c_str(), shortForm.data(), n);
    if (n == 0 || n >= shortForm.size()) return fallback;
    shortForm.resize(n);
    if (StartsWith(shortForm, L"\\\\?\\UNC\\"))
        shortForm = L"\\\\" + shortForm.substr(8);
    else if (StartsWith(shortForm, L"\\\\?\\"))
        shortForm = shortForm.substr(4);
    if (NameEndsInDotOrBlank(shortForm)) return {};
    return shortForm.size() < MAX_PATH ? shortForm : fallback;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

bool ShellOpen(const std::string& path) {
    std::wstring file = ShellPath(path);
    if (file.empty()) return false;
    ShellExecuteW(nullptr, L"Open", file.c_str(), L"", L"", SW_SHOWNORMAL);
    return true;
}

// Unknown types fail rather than answer with the system's "open with" program.
bool AssociatedProgram(const std::string& extension, std::string& name) {
    name.clear();
    std::wstring ext = Widen(extension);
    DWORD n = 520;
    std::wstring buffer(n, L'\0');
    HRESULT result = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_FRIENDLYAPPNAME,
                                       ext.c_str(), nullptr, buffer.data(), &n);
    if (result == E_POINTER) { // a name longer than the buffer: n now holds its size
        buffer.assign(n, L'\0');
        result = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_FRIENDLYAPPNAME, ext.c_str(),
                                   nullptr, buffer.data(), &n);
    }
    if (result != S_OK) return false;
    name = Narrow(std::wstring_view(buffer.c_str()));
    return true;
}

} // namespace platform
