// The image library (GDI+) that the preview draws with, the decoder (WIC) on
// a thread of its own, and the preview pane: it shows an off-screen copy of
// itself, so a repaint never loses the image.
#include "backends/win32/win32.h"

#include "backends/image_header.h"
#include "platform/events.h"
#include "platform/platform.h"

#include <objidl.h>

#include <gdiplus.h>
#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::win32 {

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct PaneRecord {
    HBITMAP buffer = nullptr; // what the pane shows, at its client size
    int bufferWidth = 0, bufferHeight = 0;
    HBITMAP kept = nullptr; // the image at the size the pane shows it
    int keptWidth = 0, keptHeight = 0;
    WNDPROC paneProc = nullptr;
};
PaneRecord Pane;

// A picture as the decoder hands it over: its own size, and its pixels
// (premultiplied BGRA) at no more than the size asked for.
struct DecodedImage {
    uint64_t token = 0;
    bool decoded = false;
    bool scaledByCodec = false; // the codec decoded it smaller itself
    int width = 0, height = 0;
    int pixelWidth = 0, pixelHeight = 0;
    std::vector<uint32_t> pixels;
};

struct ImageJob {
    std::wstring path;
    std::string name; // as the logic gave it, for the log
    int wantedWidth = 0, wantedHeight = 0;
    uint64_t maxPixels = 0, token = 0;
};

// Shared by the window's thread and the decoder's, under `lock`; `latest` is
// also read while a decode runs, to drop it as soon as it is not wanted.
struct DecoderRecord {
    std::mutex lock;
    std::condition_variable wake;
    bool started = false;
    bool hasJob = false;
    ImageJob job;
    std::atomic<uint64_t> latest{0};
    bool hasResult = false;
    DecodedImage result;
    std::wstring logPath;
};
DecoderRecord Decoder;
DecodedImage Delivered; // the window's thread's, from delivery to PreviewKeepImage

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

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// LUMAFIND_PREVIEW_LOG names a file: each request's outcome (decode, refused
// or failed) is appended with its time, the picture's size and the size it
// was decoded at ("codec" when the codec shrank it), so a benchmark can count
// decodes and see what they cost.
void LogOutcome(const char* outcome, const std::string& path, double ms,
                const DecodedImage& image) {
    if (Decoder.logPath.empty()) return;
    HANDLE file =
        CreateFileW(Decoder.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = std::string(outcome) + "\t" + std::to_string(int(ms + 0.5)) + "\t" +
                       std::to_string(image.width) + "x" + std::to_string(image.height) + "\t" +
                       path + "\t" + std::to_string(image.pixelWidth) + "x" +
                       std::to_string(image.pixelHeight) + (image.scaledByCodec ? "\tcodec" : "") +
                       "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

template <class T> struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

bool Superseded(uint64_t token) {
    return Decoder.latest.load() != token;
}

// The picture's size from its file's header, read without decoding: Wine's
// PNG and JPEG decoders decode the whole picture as soon as it is opened.
bool HeaderSize(const std::wstring& path, uint32_t& width, uint32_t& height) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ReadAt read = [file](uint64_t offset, unsigned char* buffer, size_t size) -> size_t {
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
            !ReadFile(file, buffer, DWORD(size), &got, nullptr))
            return 0;
        return got;
    };
    bool known = ImageSizeFromHeader(read, width, height);
    CloseHandle(file);
    return known;
}

// Averages every source pixel into the target pixel it falls in: a box filter
// keeps a large picture's detail when it is shrunk many times over, and needs
// only a band of the source at a time.
class Shrinker {
  public:
    Shrinker(int sourceWidth, int sourceHeight, DecodedImage& out)
        : sourceHeight_(sourceHeight), out_(out), sums_(size_t(out.pixelWidth) * 4),
          counts_(size_t(out.pixelWidth)), column_(size_t(sourceWidth)) {
        for (int x = 0; x < sourceWidth; ++x)
            column_[size_t(x)] = int(int64_t(x) * out.pixelWidth / sourceWidth);
    }
    void AddRows(const uint8_t* rows, int count, size_t stride) {
        for (int i = 0; i < count; ++i, ++row_) {
            int target = int(int64_t(row_) * out_.pixelHeight / sourceHeight_);
            if (target != target_) Flush(), target_ = target;
            const uint8_t* p = rows + stride * size_t(i);
            for (size_t x = 0; x < column_.size(); ++x, p += 4) {
                uint64_t* sum = &sums_[size_t(column_[x]) * 4];
                sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], sum[3] += p[3];
                ++counts_[size_t(column_[x])];
            }
        }
    }
    void Flush() {
        uint32_t* line = out_.pixels.data() + size_t(target_) * size_t(out_.pixelWidth);
        for (size_t x = 0; x < counts_.size(); ++x) {
            uint64_t n = std::max<uint64_t>(1, counts_[x]);
            const uint64_t* s = &sums_[x * 4];
            line[x] = uint32_t((s[0] + n / 2) / n) | uint32_t((s[1] + n / 2) / n) << 8 |
                      uint32_t((s[2] + n / 2) / n) << 16 | uint32_t((s[3] + n / 2) / n) << 24;
        }
        std::fill(sums_.begin(), sums_.end(), 0);
        std::fill(counts_.begin(), counts_.end(), 0);
    }

  private:
    int sourceHeight_;
    DecodedImage& out_;
    std::vector<uint64_t> sums_;
    std::vector<uint32_t> counts_;
    std::vector<int> column_;
    int row_ = 0, target_ = 0;
};

// MinGW's headers lack the codec's own scaling interface; its layout as
// Windows declares it.
struct IWICBitmapSourceTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect*, UINT, UINT, WICPixelFormatGUID*,
                                                 WICBitmapTransformOptions, UINT, UINT, BYTE*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT*, UINT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID*) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions, BOOL*) = 0;
};
const IID SourceTransformId = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

// A codec that decodes at a smaller size itself (JPEG on Windows, by halves)
// is asked for the smallest size still at least as large as the target.
bool DecodeScaledByCodec(IWICBitmapFrameDecode* frame, DecodedImage& out) {
    Com<IWICBitmapSourceTransform> transform;
    if (FAILED(frame->QueryInterface(SourceTransformId, reinterpret_cast<void**>(&transform.p))))
        return false;
    UINT w = UINT(out.pixelWidth), h = UINT(out.pixelHeight);
    if (FAILED(transform->GetClosestSize(&w, &h)) || w < UINT(out.pixelWidth) ||
        h < UINT(out.pixelHeight) || (w >= UINT(out.width) && h >= UINT(out.height)))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    if (FAILED(transform->GetClosestPixelFormat(&format)) ||
        !IsEqualGUID(format, GUID_WICPixelFormat32bppPBGRA))
        return false;
    std::vector<uint8_t> pixels(size_t(w) * h * 4);
    if (FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, w * 4,
                                     UINT(pixels.size()), pixels.data())))
        return false;
    Shrinker shrink(int(w), int(h), out);
    shrink.AddRows(pixels.data(), int(h), size_t(w) * 4);
    shrink.Flush();
    return true;
}

// The outcome for the log, or nullptr when a newer request made it pointless.
const char* Decode(IWICImagingFactory* factory, const ImageJob& job, DecodedImage& out) {
    uint32_t w = 0, h = 0;
    if (HeaderSize(job.path, w, h)) {
        out.width = int(std::min<uint32_t>(w, INT_MAX));
        out.height = int(std::min<uint32_t>(h, INT_MAX));
        if (uint64_t(w) * h > job.maxPixels) return "refused";
    }
    if (!factory) return "failed";
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(job.path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder.p)))
        return "failed";
    Com<IWICBitmapFrameDecode> frame;
    UINT fw = 0, fh = 0;
    if (FAILED(decoder->GetFrame(0, &frame.p)) || FAILED(frame->GetSize(&fw, &fh)) || !fw || !fh)
        return "failed";
    out.width = int(fw);
    out.height = int(fh);
    if (uint64_t(fw) * fh > job.maxPixels) return "refused";
    if (Superseded(job.token)) return nullptr;
    double f = std::max(double(fw) / std::max(1, job.wantedWidth),
                        double(fh) / std::max(1, job.wantedHeight));
    out.pixelWidth = f > 1 ? std::max(1, int(std::nearbyint(fw / f))) : int(fw);
    out.pixelHeight = f > 1 ? std::max(1, int(std::nearbyint(fh / f))) : int(fh);
    out.pixels.assign(size_t(out.pixelWidth) * size_t(out.pixelHeight), 0);
    if (DecodeScaledByCodec(frame.p, out)) {
        out.decoded = out.scaledByCodec = true;
        return "decode";
    }
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return "failed";
    Shrinker shrink(int(fw), int(fh), out);
    constexpr int Band = 64;
    std::vector<uint8_t> band(size_t(fw) * 4 * Band);
    for (UINT y = 0; y < fh; y += Band) {
        if (Superseded(job.token)) return nullptr;
        UINT rows = std::min<UINT>(Band, fh - y);
        WICRect rect{0, INT(y), INT(fw), INT(rows)};
        if (FAILED(converter->CopyPixels(&rect, fw * 4, fw * 4 * rows, band.data())))
            return "failed";
        shrink.AddRows(band.data(), int(rows), size_t(fw) * 4);
    }
    shrink.Flush();
    out.decoded = true;
    return "decode";
}

// Below the window's thread: on busy cores a decode must not make a key wait.
void DecoderThread() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
        factory = nullptr;
    for (;;) {
        ImageJob job;
        {
            std::unique_lock<std::mutex> hold(Decoder.lock);
            Decoder.wake.wait(hold, [] { return Decoder.hasJob; });
            job = std::move(Decoder.job);
            Decoder.hasJob = false;
        }
        DecodedImage image;
        image.token = job.token;
        double start = Milliseconds();
        const char* outcome = Decode(factory, job, image);
        if (!outcome) continue;
        LogOutcome(outcome, job.name, Milliseconds() - start, image);
        {
            std::lock_guard<std::mutex> hold(Decoder.lock);
            if (Superseded(job.token)) continue;
            Decoder.result = std::move(image);
            Decoder.hasResult = true;
        }
        PostMessageW(Win.main, PreviewImageMessage, 0, 0);
    }
}

} // namespace

// The decoder's picture reaches the logic on the window's thread; what the
// logic does not keep is let go at once.
void DeliverPreviewImage() {
    {
        std::lock_guard<std::mutex> hold(Decoder.lock);
        if (!Decoder.hasResult) return;
        Delivered = std::move(Decoder.result);
        Decoder.hasResult = false;
    }
    ::OnPreviewImage(Delivered.token, Delivered.decoded, Delivered.width, Delivered.height);
    Delivered = DecodedImage();
}

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

void PreviewRequestImage(const std::string& path, int wantedWidth, int wantedHeight,
                         uint64_t maxPixels, uint64_t token) {
    std::lock_guard<std::mutex> hold(Decoder.lock);
    if (!Decoder.started) {
        Decoder.started = true;
        wchar_t buffer[MAX_PATH * 4];
        DWORD n =
            GetEnvironmentVariableW(L"LUMAFIND_PREVIEW_LOG", buffer, DWORD(std::size(buffer)));
        if (n > 0 && n < std::size(buffer)) Decoder.logPath.assign(buffer, n);
        std::thread(DecoderThread).detach();
    }
    Decoder.job = {ExtendedPath(path), path, wantedWidth, wantedHeight, maxPixels, token};
    Decoder.hasJob = true;
    Decoder.latest = token;
    Decoder.hasResult = false; // finished for a row already left
    Decoder.result = DecodedImage();
    Decoder.wake.notify_one();
}

void PreviewKeepImage(int width, int height, int background) {
    DropBitmap(Pane.kept);
    Pane.keptWidth = Pane.keptHeight = 0;
    DecodedImage image = std::move(Delivered);
    Delivered = DecodedImage();
    int w = image.pixelWidth, h = image.pixelHeight;
    if (width <= 0 || height <= 0 || w <= 0 || h <= 0 || !(Pane.kept = NewBitmap(width, height)))
        return;
    Pane.keptWidth = width;
    Pane.keptHeight = height;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Pane.kept);
    Fill(dc, width, height, background);
    GpBitmap* bitmap = nullptr;
    GpGraphics* graphics = nullptr;
    if (GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppPARGB,
                                  reinterpret_cast<BYTE*>(image.pixels.data()), &bitmap) == Ok &&
        GdipCreateFromHDC(dc, &graphics) == Ok) {
        GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
        GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
        // Mirrored edges: the border pixels are not blended with what lies outside.
        GpImageAttributes* attributes = nullptr;
        GdipCreateImageAttributes(&attributes);
        if (attributes) GdipSetImageAttributesWrapMode(attributes, WrapModeTileFlipXY, 0, FALSE);
        GdipDrawImageRectRectI(graphics, bitmap, 0, 0, width, height, 0, 0, w, h, UnitPixel,
                               attributes, nullptr, nullptr);
        if (attributes) GdipDisposeImageAttributes(attributes);
    }
    if (graphics) GdipDeleteGraphics(graphics);
    if (bitmap) GdipDisposeImage(bitmap);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
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
