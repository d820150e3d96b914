// The clipboard as Unicode text.
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <cstring>

namespace platform::win32 {

// Another program may hold the clipboard for a moment.
static bool OpenClipboardPatiently() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(Win.main)) return true;
        Sleep(20);
    }
    return false;
}

static HGLOBAL TextBlock(const std::wstring& text) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return nullptr;
    void* memory = GlobalLock(block);
    if (!memory) return GlobalFree(block), nullptr;
    std::memcpy(memory, text.c_str(), bytes);
    GlobalUnlock(block);
    return block;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

bool ClipboardSetText(const std::string& text) {
    HGLOBAL block = TextBlock(Widen(text));
    if (!block) return false;
    if (!OpenClipboardPatiently()) return GlobalFree(block), false;
    EmptyClipboard();
    bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(block); // the clipboard owns it only when accepted
    return ok;
}

bool ClipboardGetText(std::string& text) {
    text.clear();
    if (!OpenClipboardPatiently()) return false;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* data = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    if (data) {
        size_t units = GlobalSize(block) / sizeof(wchar_t);
        text = Narrow(std::wstring_view(data, wcsnlen(data, units)));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return true; // no text on the clipboard reads as the empty text
}

} // namespace platform
