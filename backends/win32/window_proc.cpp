// MainWindowProc: each message is translated and handed to the program at once.
#include "backends/win32/win32.h"

#include "platform/events.h"
#include "platform/platform.h"

#include <windowsx.h>

namespace platform::win32 {

static void OnInitDialogMessage() {
    Win.initialised = true;
    ::OnInitDialog();
    PostMessageW(Win.main, DeferredStartMessage, 0, 0);
}

static void OnSizeMessage() {
    // The bars dock themselves at the top and bottom edges when told; the
    // status bar's text is drawn again at its new place.
    if (HWND toolbar = ControlWindow(ToolbarId)) SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    if (HWND status = ControlWindow(StatusBarId)) {
        SendMessageW(status, WM_SIZE, 0, 0);
        InvalidateRect(status, nullptr, TRUE);
    }
    if (Win.initialised) ::OnSize();
}

// Windows suggests the rectangle that keeps the window as large to the eye
// on the new monitor; it is taken before the program measures anything anew.
static void OnDpiChangedMessage(LPARAM lParam) {
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(Win.main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ScaleListImages();
    if (Win.initialised) ::OnDpiChanged();
}

// Only a press of the left button drags: merely passing over the strip must
// not start moving the window.
static void OnSetCursorMessage(LPARAM lParam) {
    HWND toolbar = ControlWindow(ToolbarId);
    if (!toolbar || HIWORD(lParam) != WM_LBUTTONDOWN) return;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(toolbar, &pt);
    if (pt.x > ToolbarRightEdge() && pt.y < ControlHeight(ToolbarId))
        SendMessageW(Win.main, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// Notifications from the search box are its own business, not commands.
static void OnCommandMessage(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0 && HWND(lParam) == ControlWindow(SearchBoxId)) return;
    ::OnCommand(LOWORD(wParam), HIWORD(wParam));
}

static void OnDestroyMessage() {
    ::OnDestroy();
    if (Win.accelerators) DestroyAcceleratorTable(Win.accelerators);
    Win.accelerators = nullptr;
}

static void OnCloseMessage(HWND window) {
    if (Win.waitedProcess || Win.downloadWaiting || Win.printing) {
        Win.closeRequested = true;
        return;
    }
    Win.closeRequested = false;
    DestroyWindow(window);
}

// The process ends once this returns: the settings are saved now, and an
// engine still running is ended first; a wait then reports itself cancelled.
static void OnEndSessionMessage(HWND window) {
    Win.closeRequested = true;
    if (Win.waitedProcess) TerminateProcess(Win.waitedProcess, 1);
    if (IsWindow(window)) DestroyWindow(window);
}

// Answers a message whose result the dialog manager must pass on.
static INT_PTR Answer(HWND window, LRESULT result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialogMessage();
        return FALSE;
    case DeferredStartMessage:
        ::OnDeferredStart();
        return FALSE;
    case PreviewImageMessage:
        DeliverPreviewImage();
        return TRUE;
    case WM_SIZE:
        OnSizeMessage();
        return FALSE;
    case WM_DPICHANGED:
        OnDpiChangedMessage(lParam);
        return TRUE;
    case WM_CONTEXTMENU:
        ::OnContextMenu();
        return FALSE;
    case WM_HELP:
        ::OnHelp(GetKeyState(VK_CONTROL) < 0);
        return TRUE;
    case WM_SETCURSOR:
        OnSetCursorMessage(lParam);
        return FALSE;
    case WM_MOUSEWHEEL:
        ::OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return FALSE;
    case WM_COMMAND:
        OnCommandMessage(wParam, lParam);
        return FALSE;
    case WM_NOTIFY:
        return Answer(window, OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
    // The dialog manager keeps a font only for dialogs made from a template, so
    // the main window keeps its own and answers for it.
    case WM_SETFONT:
        Win.mainFont = HFONT(wParam);
        return FALSE;
    case WM_GETFONT:
        return Answer(window, LRESULT(Win.mainFont));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
        return INT_PTR(OnControlColor(HDC(wParam), HWND(lParam)));
    // The dialog manager would turn closing into a cancel command; the system
    // close command (close button, Alt+F4) ends the program, once a process
    // being waited for has been ended.
    case WM_CLOSE:
        OnCloseMessage(window);
        return TRUE;
    case WM_QUERYENDSESSION:
        if (Win.waitedProcess || Win.downloadWaiting || Win.printing) Win.closeRequested = true;
        return Answer(window, TRUE);
    case WM_ENDSESSION:
        if (wParam) OnEndSessionMessage(window);
        return Answer(window, 0);
    case WM_DESTROY:
        OnDestroyMessage();
        return FALSE;
    }
    return FALSE;
}

} // namespace platform::win32
