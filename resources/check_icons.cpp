// Loads every icon resource the way the program does (named group, scaled to
// the toolbar and list sizes), draws it, and checks that it really covers a
// good part of its square; also checks the manifest and version resources.
// Built and run under Wine by check_resources.sh. Prints one line per fault
// and "N passed, N failed" at the end; exit code 1 on any fault.
#include <windows.h>

#include <cstdio>
#include <initializer_list>

namespace {

const wchar_t* const kIconNames[] = {L"ZEXIT",    L"ZSEARCH",  L"ZOPEN",   L"ZFILE",   L"ZFOLDER",
                                     L"ZCOLOR",   L"ZNEW",     L"ZCOPY",   L"ZSFILES", L"ZSFOLDERS",
                                     L"ZSBOTH",   L"ZSCUSTOM", L"ZEXPAND", L"ZHELP",   L"ZPRINTER",
                                     L"ZPREVIEW", L"Z1",       L"Z2",      L"Z3",      L"ZSETTINGS",
                                     L"LOGO",     L"XFOLDER"};

// A transparent corner must stay the background; a bold pictogram covers at
// least a quarter of its square (a broken or blank one paints nothing).
const COLORREF kBackground = RGB(255, 0, 255);

struct Tally {
    int passed = 0;
    int failed = 0;
};
Tally tally;

void Check(bool ok, const wchar_t* name, int size, const char* what) {
    if (ok) {
        ++tally.passed;
        return;
    }
    ++tally.failed;
    std::printf("FAIL %ls at %d px: %s\n", name, size, what);
}

// Returns the share of the square the icon paints, in percent, or -1.
int Coverage(HICON icon, int size, bool* cornerClear) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        DeleteDC(dc);
        return -1;
    }
    HGDIOBJ old = SelectObject(dc, dib);
    HBRUSH brush = CreateSolidBrush(kBackground);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);
    const DWORD magenta = 0x00FF00FF;
    int painted = 0;
    for (int i = 0; i < size * size; ++i)
        if ((px[i] & 0x00FFFFFF) != magenta) ++painted;
    *cornerClear = (px[0] & 0x00FFFFFF) == magenta;
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return painted * 100 / (size * size);
}

void CheckIcon(const wchar_t* name, int size) {
    HICON icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0));
    Check(icon != nullptr, name, size, "does not load");
    if (!icon) return;
    ICONINFO ii = {};
    BITMAP bm = {};
    bool sized = GetIconInfo(icon, &ii) && GetObjectW(ii.hbmColor, sizeof(bm), &bm) &&
                 bm.bmWidth == size && bm.bmHeight == size;
    Check(sized, name, size, "is not scaled to the asked size");
    Check(bm.bmBitsPixel == 32, name, size, "is not 32-bit");
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    bool cornerClear = false;
    int share = Coverage(icon, size, &cornerClear);
    if (share < 25) std::printf("%ls at %d px paints %d%%\n", name, size, share);
    Check(share >= 25, name, size, "paints too little of its square");
    Check(cornerClear, name, size, "has no transparent corner");
    DestroyIcon(icon);
}

void CheckResource(const wchar_t* type, const wchar_t* what) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), type);
    Check(found && SizeofResource(nullptr, found) > 100, what, 0, "resource 1 is missing");
}

} // namespace

int wmain() {
    for (const wchar_t* name : kIconNames)
        for (int size : {24, 48, 128, 256})
            CheckIcon(name, size);
    CheckResource(MAKEINTRESOURCEW(24), L"manifest");
    CheckResource(MAKEINTRESOURCEW(16), L"version");
    std::printf("%d passed, %d failed\n", tally.passed, tally.failed);
    return tally.failed == 0 ? 0 : 1;
}
