// The clipboard: Unicode text, and a file as the shell copies it.
#include "backends/win32/win32.h"

#include "platform/file_drop.h"
#include "platform/platform.h"

#include <cstddef>
#include <cstring>
#include <shlobj.h>

namespace platform::win32 {

// The block we build is the system's own header followed by the list.
static_assert(sizeof(DROPFILES) == FileDropHeaderSize);
static_assert(offsetof(DROPFILES, fWide) == 16);

// Another program may hold the clipboard for a moment: a few tries over about
// a tenth of a second, then the clipboard counts as unavailable.
constexpr int ClipboardTries = 6;
constexpr DWORD ClipboardPauseMs = 20;

static bool OpenClipboardPatiently() {
    for (int attempt = 0;; ++attempt) {
        if (OpenClipboard(Win.main)) return true;
        if (attempt + 1 == ClipboardTries) return false;
        Sleep(ClipboardPauseMs);
    }
}

// Movable and zero-filled, as the clipboard wants its blocks.
static HGLOBAL BlockOf(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GHND, size);
    if (!block) return nullptr;
    void* memory = GlobalLock(block);
    if (!memory) return GlobalFree(block), nullptr;
    std::memcpy(memory, bytes, size);
    GlobalUnlock(block);
    return block;
}

// Empties the clipboard and puts the block there; the clipboard owns the block
// only when it accepted it.
static bool PutOnClipboard(UINT format, HGLOBAL block) {
    if (!block) return false;
    if (!OpenClipboardPatiently()) return GlobalFree(block), false;
    EmptyClipboard();
    bool ok = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(block);
    return ok;
}

} // namespace platform::win32

namespace platform {

using namespace win32;

bool ClipboardSetText(const std::string& text) {
    std::wstring wide = Widen(text);
    return PutOnClipboard(CF_UNICODETEXT,
                          BlockOf(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
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

// The path goes in whole, however long: a cut one would name another file.
bool ClipboardSetFileDrop(const std::string& path) {
    std::string block = FileDropBlock(path);
    return PutOnClipboard(CF_HDROP, BlockOf(block.data(), block.size()));
}

} // namespace platform
