// What the Windows backend's files share: the window handles, the resources
// that live as long as their controls, and text conversion at the edge.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The seam has its own ReplaceFile; the Windows one is called by its W name.
#undef ReplaceFile

#include <string>
#include <string_view>

namespace platform::win32 {

constexpr UINT DeferredStartMessage = WM_USER + 500;
// The preview's decoder has finished a picture (posted from its thread).
constexpr UINT PreviewImageMessage = WM_USER + 501;
// The hidden child whose text a screen reader reads at a live-region change;
// above the command ids, so it can never be taken for one.
constexpr int AnnouncerId = 600;

struct Win32Record {
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    HWND tooltip = nullptr;
    bool initialised = false; // WM_INITDIALOG has begun: the controls exist
    HACCEL accelerators = nullptr;
    ULONG_PTR imageLibraryToken = 0; // GDI+, started once and never shut down
    WNDPROC searchBoxProc = nullptr;
    WNDPROC listProc = nullptr;
    WNDPROC toolbarProc = nullptr;
    WNDPROC statusBarProc = nullptr;
    int statusFirstLine = 0; // the status text is drawn from this line on
    HFONT fonts[5] = {};         // by control id - 500
    HFONT defaultFont = nullptr; // the window's, and every control's until it has its own
    HFONT mainFont = nullptr;    // what WM_SETFONT last gave the main window
    HFONT toolbarFont = nullptr;
    HFONT tooltipFont = nullptr;
    HBRUSH mainBrush = nullptr; // background of the window itself, when coloured
    HBRUSH previewBrush = nullptr;
    COLORREF previewText = 0, previewBackground = RGB(255, 255, 255);
    HIMAGELIST toolbarImages = nullptr;
    HIMAGELIST listImages = nullptr;
    HWND toolWindow = nullptr; // the toolbar registered with the big tooltip
    int selectedItem = -1;     // last item the list reported selected; checked before use
    // The selected row's colours; until the program sets them, the system's.
    bool selectionColorsSet = false;
    COLORREF selectionText = 0, selectionBackground = 0;
    // The search box's selected text, drawn over the rich edit's own highlight.
    bool boxSelectionColorsSet = false;
    COLORREF boxSelectionText = 0, boxSelectionBackground = 0;
    std::wstring cellText;    // answered to the list; valid until it asks again
    std::wstring tooltipText; // shown by the big tooltip
    // While the engine or a download is waited for, or a job prints, a close request is only
    // noted: what runs is stopped first (as Esc stops it), then the window
    // closes the usual way.
    HANDLE waitedProcess = nullptr;
    bool downloadWaiting = false;
    bool printing = false;
    bool closeRequested = false;
};

extern Win32Record Win;

// While the program waits on the window's thread: the window is painted, keys
// are dropped, a close request is noted; true once Esc, Alt+F4 or a close
// request has come.
bool CancelRequestedMeanwhile();

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// A full path in the form the file functions take whole and exactly ("\\?\"
// in front) when it passes the old length limit or a name in it ends in a dot
// or a blank; other paths as they are.
std::wstring ExtendedPath(const std::string& path);
bool NameEndsInDotOrBlank(const std::wstring& path);
// The path handed to the shell: itself, or for one past the limit or with a
// name the shell would change, its short form when it has one (the same
// file); never a cut path. Empty when the shell cannot be given that file.
std::wstring ShellPath(const std::string& path);

// Appends "tag<TAB>text" to the file LUMAFIND_SPEECH_LOG names, if any. The
// voice's tag is its flags (a number); a screen reader's says how it was told.
void AppendToSpeechLog(std::string_view tag, const std::string& text);

// The child control with this id (the main window for MainWindowId), or null.
HWND ControlWindow(int id);
// A bold font of the face at the point size, for the screen.
HFONT CreateBoldFont(const std::string& face, int points);
// A window made by CreateWindowEx starts with the system font: each one the
// program creates is given the default font at once.
void GiveDefaultFont(HWND window);
// The result list's folder mark made again at the window's scale.
void ScaleListImages();
// Hands the preview's decoded picture to the logic (PreviewImageMessage).
void DeliverPreviewImage();

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnNotify(const NMHDR& header);
LRESULT OnListCustomDraw(NMLVCUSTOMDRAW& draw);
HBRUSH OnControlColor(HDC dc, HWND control);
LRESULT CALLBACK SearchBoxKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ResultsListKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolbarKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::win32
