// The main window: a dialog-style top-level window, so that the dialog
// manager gives Tab navigation and turns Enter into command 1, and the one
// polling message loop.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include "platform/events.h"

namespace platform::win32 {

Win32Record Win;

static const wchar_t MainClassName[] = L"LumafindMainWindow";

// The class procedure hands everything to the dialog manager, which calls
// MainWindowProc through DWLP_DLGPROC and does the default processing.
static LRESULT CALLBACK DialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(window, message, wParam, lParam);
}

static void RegisterMainClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DialogClassProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = Win.instance;
    wc.hIcon = LoadIconW(Win.instance, L"LOGO");
    wc.hIconSm = HICON(LoadImageW(Win.instance, L"LOGO", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                  GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = MainClassName;
    RegisterClassExW(&wc);
}

static void InitCommonControlsOnce() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                             ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

static void RunMessageLoop() {
    MSG msg;
    while (IsWindow(Win.main)) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            OnIdle();
            Sleep(1);
            continue;
        }
        if (IsWindow(Win.main) && Win.accelerators &&
            TranslateAcceleratorW(Win.main, Win.accelerators, &msg))
            continue;
        if (IsDialogMessageW(Win.main, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Placement rectangles are in workspace coordinates; the rest of the window
// calls use the screen. They differ by the work area's offset on its monitor.
static POINT WorkAreaOffset() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromWindow(Win.main, MONITOR_DEFAULTTONEAREST), &mi)) return {};
    return {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
}

static WINDOWPLACEMENT ReadPlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Win.main, &wp);
    return wp;
}

// While minimized or maximized only the restored rectangle may change.
static void SetNormalRect(int left, int top, int width, int height) {
    if (!IsIconic(Win.main) && !IsZoomed(Win.main)) {
        SetWindowPos(Win.main, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    WINDOWPLACEMENT wp = ReadPlacement();
    POINT offset = WorkAreaOffset();
    wp.rcNormalPosition = {left - offset.x, top - offset.y, left - offset.x + width,
                           top - offset.y + height};
    SetWindowPlacement(Win.main, &wp);
}

} // namespace platform::win32

namespace platform {

using namespace win32;

void CreateMainWindow(const std::string& caption) {
    if (!Win.instance) Win.instance = GetModuleHandleW(nullptr);
    InitCommonControlsOnce();
    RegisterMainClass();
    Win.main = CreateWindowExW(0, MainClassName, Widen(caption).c_str(), WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 1600, 800, nullptr, nullptr,
                               Win.instance, nullptr);
    SetWindowLongPtrW(Win.main, DWLP_DLGPROC, LONG_PTR(MainWindowProc));
    GiveDefaultFont(Win.main);
}

void RunMainWindow() {
    SendMessageW(Win.main, WM_INITDIALOG, 0, 0);
    // Maximized or minimized at start-up has shown the window already.
    if (!IsWindowVisible(Win.main)) ShowWindow(Win.main, SW_SHOWNORMAL);
    RunMessageLoop();
}

void SetCaption(const std::string& text) {
    SetWindowTextW(Win.main, Widen(text).c_str());
}

std::string Caption() {
    std::wstring text(size_t(GetWindowTextLengthW(Win.main)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(Win.main, text.data(), int(text.size()))));
    return Narrow(text);
}

Placement GetMainPlacement() {
    WINDOWPLACEMENT wp = ReadPlacement();
    POINT offset = WorkAreaOffset();
    const RECT& r = wp.rcNormalPosition;
    Placement p;
    p.normal = {r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
    p.minimized = IsIconic(Win.main) != 0;
    p.maximized = IsZoomed(Win.main) != 0;
    p.restoresMaximized = p.minimized && (wp.flags & WPF_RESTORETOMAXIMIZED) != 0;
    return p;
}

Rect WorkAreaNear(const Rect& window) {
    RECT wanted{window.left, window.top, window.right, window.bottom};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &mi) &&
        !SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0))
        return {};
    return {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

void SetMainSize(int width, int height) {
    Rect r = GetMainPlacement().normal;
    SetNormalRect(r.left, r.top, width, height);
}

void MoveMain(int left, int top) {
    Rect r = GetMainPlacement().normal;
    SetNormalRect(left, top, r.right - r.left, r.bottom - r.top);
}

void ShowMainMaximized() {
    ShowWindow(Win.main, SW_SHOWMAXIMIZED);
}

void ShowMainMinimized() {
    ShowWindow(Win.main, SW_SHOWMINIMIZED);
}

void ShowMainInFront() {
    if (IsIconic(Win.main)) ShowWindow(Win.main, SW_RESTORE);
    SetForegroundWindow(Win.main);
}

bool MainWindowExists() {
    return Win.main && IsWindow(Win.main);
}

void CloseMainWindow() {
    if (MainWindowExists()) DestroyWindow(Win.main);
}

void SendCommand(int commandId) {
    SendMessageW(Win.main, WM_COMMAND, WPARAM(commandId), 0);
}

int ClientWidth() {
    RECT r{};
    GetClientRect(Win.main, &r);
    return r.right - r.left;
}

int ClientHeight() {
    RECT r{};
    GetClientRect(Win.main, &r);
    return r.bottom - r.top;
}

// Windows before 10 (1607) lack these: they are looked up, not linked.
template <typename Function> static Function User32Function(const char* name) {
    FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

int WindowDpi() {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    static const auto forSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
    UINT dpi = Win.main && forWindow ? forWindow(Win.main) : 0;
    if (dpi == 0 && forSystem) dpi = forSystem();
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = UINT(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? int(dpi) : 96;
}

} // namespace platform
