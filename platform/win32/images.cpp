// The image library (GDI+) that the preview draws with, and the preview pane:
// it shows an off-screen copy of itself, so a repaint never loses the image.
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>

namespace platform::win32 {

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct PaneRecord {
    HBITMAP buffer = nullptr; // what the pane shows, at its client size
    int bufferWidth = 0, bufferHeight = 0;
    HBITMAP kept = nullptr; // the image at the size the pane shows it
    int keptWidth = 0, keptHeight = 0;
    GpImage* decoded = nullptr; // between decode and keep only
    double decodeStart = 0;
    std::string decodedPath;
    WNDPROC paneProc = nullptr;
    bool logChecked = false;
    std::wstring logPath;
};
PaneRecord Pane;

HWND PaneWindow() {
    return ControlWindow(PreviewId);
}

void DropBitmap(HBITMAP& bitmap) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
}

HBITMAP NewBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void Fill(HDC dc, int width, int height, int colour) {
    HBRUSH brush = CreateSolidBrush(COLORREF(colour));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && Pane.buffer) return 1;
    if (message == WM_PAINT && Pane.buffer) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, Pane.buffer);
        BitBlt(dc, 0, 0, Pane.bufferWidth, Pane.bufferHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        EndPaint(window, &ps);
        return 0;
    }
    return CallWindowProcW(Pane.paneProc, window, message, wParam, lParam);
}

// Clears the off-screen copy (made anew when the pane's size changed) to the
// background and hands its device context to `draw`; then shows it.
template <class Draw> void ShowPane(int background, Draw draw) {
    HWND pane = PaneWindow();
    if (!pane) return;
    if (!Pane.paneProc)
        Pane.paneProc = WNDPROC(SetWindowLongPtrW(pane, GWLP_WNDPROC, LONG_PTR(PaneProc)));
    RECT client;
    GetClientRect(pane, &client);
    int width = std::max(1, int(client.right)), height = std::max(1, int(client.bottom));
    if (!Pane.buffer || width != Pane.bufferWidth || height != Pane.bufferHeight) {
        DropBitmap(Pane.buffer);
        Pane.buffer = NewBitmap(width, height);
        Pane.bufferWidth = width;
        Pane.bufferHeight = height;
    }
    if (!Pane.buffer) return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Pane.buffer);
    Fill(dc, width, height, background);
    draw(dc);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    InvalidateRect(pane, nullptr, FALSE);
    UpdateWindow(pane);
}

// LUMAFIND_PREVIEW_LOG names a file: each decode appends its time (decoding and
// scaling) and the image's size, so a benchmark can count decodes and see what
// they cost.
void LogDecode(const std::string& path, double ms, int width, int height) {
    if (!Pane.logChecked) {
        Pane.logChecked = true;
        wchar_t buffer[MAX_PATH * 4];
        DWORD n =
            GetEnvironmentVariableW(L"LUMAFIND_PREVIEW_LOG", buffer, DWORD(std::size(buffer)));
        if (n > 0 && n < std::size(buffer)) Pane.logPath.assign(buffer, n);
    }
    if (Pane.logPath.empty()) return;
    HANDLE file =
        CreateFileW(Pane.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = "decode\t" + std::to_string(int(ms + 0.5)) + "\t" + std::to_string(width) +
                       "x" + std::to_string(height) + "\t" + path + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

} // namespace

} // namespace platform::win32

namespace platform {

using namespace win32;

// Never shut down: the preview may draw until the process ends.
void StartImageLibrary() {
    if (Win.imageLibraryToken) return;
    Gdiplus::GdiplusStartupInput input; // version 1
    Gdiplus::GdiplusStartup(&Win.imageLibraryToken, &input, nullptr);
}

void PreviewClientSize(int& width, int& height) {
    RECT client{};
    if (HWND pane = PaneWindow()) GetClientRect(pane, &client);
    width = client.right;
    height = client.bottom;
}

bool PreviewDecodeImage(const std::string& path, int& width, int& height) {
    if (Pane.decoded) GdipDisposeImage(Pane.decoded);
    Pane.decoded = nullptr;
    double start = Milliseconds();
    GpImage* image = nullptr;
    if (GdipLoadImageFromFile(ExtendedPath(path).c_str(), &image) != Ok || !image) return false;
    UINT w = 0, h = 0;
    // A file the decoder only half understood reports no size.
    if (GdipGetImageWidth(image, &w) != Ok || GdipGetImageHeight(image, &h) != Ok) {
        GdipDisposeImage(image);
        return false;
    }
    // GDI+ decodes the whole picture to draw it, four bytes a pixel: past this a
    // single preview could take the memory the program needs, so it is not shown.
    constexpr uint64_t LargestPicture = 64ull * 1000 * 1000;
    if (uint64_t(w) * h > LargestPicture) {
        GdipDisposeImage(image);
        return false;
    }
    width = int(w);
    height = int(h);
    Pane.decoded = image;
    Pane.decodeStart = start;
    Pane.decodedPath = path;
    return true;
}

void PreviewKeepImage(int width, int height, int background) {
    DropBitmap(Pane.kept);
    Pane.keptWidth = Pane.keptHeight = 0;
    GpImage* image = Pane.decoded;
    Pane.decoded = nullptr;
    if (!image) return;
    UINT w = 0, h = 0;
    GdipGetImageWidth(image, &w);
    GdipGetImageHeight(image, &h);
    if (width > 0 && height > 0 && w > 0 && h > 0 && (Pane.kept = NewBitmap(width, height))) {
        Pane.keptWidth = width;
        Pane.keptHeight = height;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, Pane.kept);
        Fill(dc, width, height, background);
        GpGraphics* graphics = nullptr;
        if (GdipCreateFromHDC(dc, &graphics) == Ok) {
            GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
            GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
            // Mirrored edges: the border pixels are not blended with what lies outside.
            GpImageAttributes* attributes = nullptr;
            GdipCreateImageAttributes(&attributes);
            if (attributes)
                GdipSetImageAttributesWrapMode(attributes, WrapModeTileFlipXY, 0, FALSE);
            GdipDrawImageRectRectI(graphics, image, 0, 0, width, height, 0, 0, INT(w), INT(h),
                                   UnitPixel, attributes, nullptr, nullptr);
            if (attributes) GdipDisposeImageAttributes(attributes);
            GdipDeleteGraphics(graphics);
        }
        GdiFlush();
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    GdipDisposeImage(image);
    LogDecode(Pane.decodedPath, Milliseconds() - Pane.decodeStart, int(w), int(h));
}

void PreviewShowBlank(int background) {
    ShowPane(background, [](HDC) {});
}

void PreviewShowImage(int x, int y, int background) {
    ShowPane(background, [x, y](HDC dc) {
        if (!Pane.kept) return;
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, Pane.kept);
        BitBlt(dc, x, y, Pane.keptWidth, Pane.keptHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
}

void PreviewShowText(const std::string& text, int x, int y, int foreground, int background) {
    std::wstring wide = Widen(text);
    ShowPane(background, [&](HDC dc) {
        HFONT font = HFONT(SendMessageW(PaneWindow(), WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        SetTextColor(dc, COLORREF(foreground));
        SetBkColor(dc, COLORREF(background));
        SetBkMode(dc, OPAQUE);
        // Broken at blanks to fit a narrow pane: at the large sizes one line
        // would run past its edge.
        RECT room{x, y, std::max(x + 1, Pane.bufferWidth - 4), Pane.bufferHeight};
        DrawTextW(dc, wide.c_str(), int(wide.size()), &room, DT_WORDBREAK | DT_NOPREFIX);
        if (old) SelectObject(dc, old);
    });
}

// Messages already handled leave the thread's key state as the user holds
// the keys; modifiers alone (Ctrl of a chord still down) do not count.
bool KeyInputPending() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) return true;
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return false;
    for (int vk = 8; vk < 256; ++vk) {
        bool modifier = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LWIN ||
                        vk == VK_RWIN || (vk >= VK_LSHIFT && vk <= VK_RMENU);
        if (!modifier && (keys[vk] & 0x80)) return true;
    }
    return false;
}

} // namespace platform
