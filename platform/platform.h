// The seam between the portable logic and the operating system.
//
// Every platform operation the logic uses is a free function here. Exactly one
// backend is linked: backends/win32 (the real program) or backends/testing (an
// in-memory simulator for the native tests). All texts are UTF-8; backends
// convert at their edge. Nothing here throws.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---- Control ids of the main window's children --------------------------------
constexpr int SearchBoxId = 500;
constexpr int ResultListId = 501;
constexpr int ToolbarId = 502;
constexpr int StatusBarId = 503;
constexpr int PreviewId = 504;
constexpr int MainWindowId = 0; // stands for the main window itself where an id is asked

// ---- Files and folders --------------------------------------------------------
std::string ProgramPath();   // full name of the running program file
std::string ProgramFolder(); // folder of the program file, ending with a separator
bool SetCurrentFolder(const std::string& folder); // true when it is now current
bool FileExists(const std::string& path);
// Reads the whole file; false (and empty bytes) when it is missing or unreadable.
bool ReadWholeFile(const std::string& path, std::string& bytes);
enum class ReadResult {
    Read,
    Missing,    // there is no such file
    Unreadable, // it is there but could not be read: held, locked or a read error
};
// Reads the whole file, trying again for up to `waitMs` while another program
// holds it without sharing or has locked it. Bytes are empty unless Read.
ReadResult ReadFileWaiting(const std::string& path, std::string& bytes, int waitMs);
// The names of the files (not folders) in the folder.
std::vector<std::string> FileNamesIn(const std::string& folder);
// Writes the file beside its final name and renames it into place in one step,
// so a failure at any point leaves the old file as it was.
bool ReplaceFile(const std::string& path, std::string_view bytes);
bool RemoveFile(const std::string& path);
// When the file was last written and how long it is; both 0 when it is missing.
struct FileStamp {
    int64_t written = 0;
    int64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// ---- Time and sound ----------------------------------------------------------
int64_t PerformanceCounter();
int64_t PerformanceFrequency();
void Beep(int hertz, int milliseconds);

// ---- Processes ---------------------------------------------------------------
struct ProcessResult {
    bool started = false;
    bool cancelled = false;      // Esc was pressed while waiting; the process was ended
    bool folderUnusable = false; // the working folder cannot be given to a process
    uint32_t exitCode = 0;
};
// Starts the program file (a full path, never looked up) hidden, with the whole
// command line, in the folder, and waits for it to end. Esc pressed in the
// window meanwhile ends it; other keys pressed meanwhile are dropped.
ProcessResult RunHiddenAndWait(const std::string& program, const std::string& commandLine,
                               const std::string& folder);
// The value of an environment variable; empty when it is not set.
std::string EnvironmentText(const std::string& name);
// Starts a program without waiting; false when it could not be started.
bool StartProgram(const std::string& path, const std::string& arguments);
// Starts a program hidden, without a window, and lets it outlive this one (it
// lowers its own priority where it needs to); false when it could not be started.
bool StartBackgroundProgram(const std::string& path);
// Opens a web address in the user's browser; the outcome is not examined.
void OpenWebPage(const std::string& url);

// ---- Clipboard ---------------------------------------------------------------
// Each operation waits a moment for another program that holds the clipboard;
// false when it is still held (nothing was changed or read) or refuses the data.
bool ClipboardSetText(const std::string& text);
bool ClipboardGetText(std::string& text);
// One file as the shell copies it (a file drop); the clipboard's text goes.
bool ClipboardSetFileDrop(const std::string& path);

// ---- Shell -------------------------------------------------------------------
// Asks the shell to open a file with its program, or a folder in a folder
// window, in a normal window; what the shell does then is not examined. False,
// with nothing opened, when the shell cannot be handed exactly that item: a
// name in its path ends in a dot or a blank, which the shell would drop, and
// the item has no short name to stand for it.
bool ShellOpen(const std::string& path);
// The friendly name of the program the extension (".txt") is associated with;
// false when no program is registered for it.
bool AssociatedProgram(const std::string& extension, std::string& name);

// ---- Speech voice ------------------------------------------------------------
// Flags as the voice takes them: 1 asynchronous, 2 purge before speaking.
constexpr unsigned SpeakAsync = 1;
constexpr unsigned SpeakPurgeBeforeSpeak = 2;
void VoiceCreate();
void VoiceSpeak(const std::string& text, unsigned flags);
bool VoiceIsSpeaking();
void VoiceSetRate(int rate);

// ---- Screen reader -----------------------------------------------------------
// Whether the system says a screen reader runs; asked afresh each time, since
// one can start or stop while the program runs.
bool ScreenReaderRunning();
// Hands the text to the screen reader to say once, from the main window. The
// flags are the voice's: with SpeakAsync a newer text replaces it if it is not
// said yet; without, it waits its turn. Nothing happens where the system has
// no way to hand it over.
void RaiseNotification(const std::string& text, unsigned flags);

// ---- Main window -------------------------------------------------------------
// Creates the hidden main window with its caption and the program's icon.
void CreateMainWindow(const std::string& caption);
// The children, in the order start-up creates them.
void CreateResultList();
void CreateSearchBox();
void CreatePreviewControl(int background); // Windows colour value
void CreateStatusBar(const std::string& text);
// Initialises the window (OnInitDialog), shows it, runs the deferred start
// (OnDeferredStart) once it is visible, then runs the message loop until the
// window is destroyed.
void RunMainWindow();
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
struct Placement {
    Rect normal; // the restored position, also while minimized or maximized
    bool minimized = false;
    bool maximized = false;
    bool restoresMaximized = false; // minimized from maximized: restoring maximizes it
};
// The work area (the screen less the taskbar) of the monitor nearest to the
// rectangle, in screen coordinates: the one it overlaps most, or the closest.
Rect WorkAreaNear(const Rect& window);
void SetCaption(const std::string& text);
std::string Caption();
Placement GetMainPlacement();
void SetMainSize(int width, int height);
void MoveMain(int left, int top);
void ShowMainMaximized();
void ShowMainMinimized();
// Restores the window when it is minimized (a shortcut may start it so) and
// brings it to the foreground, so that keys reach it at once.
void ShowMainInFront();
bool MainWindowExists();
void CloseMainWindow(); // destroys the window through the normal close path
// Delivers a command to the main window and returns once it has run.
void SendCommand(int commandId);
int ClientWidth();
int ClientHeight();
// The scale the main window is drawn at, in dots an inch (96 is 100 %, 144 is
// 150 %): that of the monitor it is on, or the system's before it exists.
int WindowDpi();

// ---- Controls ----------------------------------------------------------------
void MoveControl(int id, int x, int y, int width, int height);
void ShowControl(int id, bool visible);
int ControlHeight(int id);
void RedrawControl(int id); // invalidate, erase, all children, update now
void SetFocusTo(int id);
int FocusedControl(); // id of the control with the keyboard focus, or -1

// ---- Search box --------------------------------------------------------------
std::string SearchBoxText();
void SetSearchBoxText(const std::string& text);
void SearchBoxSetSelection(int start, int end);   // sent: takes effect at once
void SearchBoxPostSelectAll();                    // posted: takes effect after the handler
void SearchBoxGetSelection(int& start, int& end); // in characters
std::string SearchBoxRange(int start, int end);   // text of characters [start, end)
// Puts the text in place of the selection, as typing would (undoable), and
// leaves the caret after it.
void SearchBoxReplaceSelection(const std::string& text);
// The colours the selected text is drawn in while the box has the focus, in
// place of the system's highlight.
void SearchBoxSetSelectionColors(int foreground, int background);

// ---- Result list (owner data) ------------------------------------------------
void ListSetItemCount(int count);
int ListItemCount();
void ListDeleteAllItems();
int ListSelectedIndex(); // -1 when nothing is selected
// Selects the item and gives it the focus mark; the change is reported back to
// the logic as a selection change, exactly as one made by a key.
void ListSelectItem(int index);
void ListEnsureVisible(int index);
int ListTopIndex();
void ListScrollBy(int dx, int dy);
int ListItemHeight();
// How many rows the list shows whole, at least 1.
int ListRowsPerPage();
void ListSetColumn(int column, const std::string& header, int width); // column 0..3
void ListSetColumnHeader(int column, const std::string& header);
void ListAutoSizeColumn(int column);
void ListSetExtendedStyles();
// The column headers shown or hidden; the columns and their widths stay.
void ListShowHeader(bool shown);
// The colours the selected row is drawn in, whether or not the list has the
// focus, in place of the system's highlight.
void ListSetSelectionColors(int foreground, int background);
// Whether `text` in the cell of row `index` and column 0..3 is drawn whole,
// neither cut at the cell's edge nor outside the list's visible width.
bool ListCellShownWhole(int index, int column, const std::string& text);

// ---- Status bar --------------------------------------------------------------
void SetStatusBarText(const std::string& text);
// How high the status bar's text is, in its font, broken into lines where the
// bar is `width` pixels wide: at blanks, and inside a word wider than a line.
int StatusBarTextHeight(int width);
// Makes the status bar this high, or higher where its font needs it.
void SetStatusBarHeight(int height);
// The status bar's text in lines at its present width: how many in all, and
// how many whole lines its present height shows.
struct StatusLineCount {
    int total, shown;
};
StatusLineCount StatusBarLines();
// The bar shows its text from this line on (0: the first).
void SetStatusBarFirstLine(int line);

// ---- Keyboard ----------------------------------------------------------------
int KeyState(int virtualKey);      // as GetKeyState: high bit down, low bit toggled
bool AsyncKeyDown(int virtualKey); // as GetAsyncKeyState != 0
void SendKeyPress(int virtualKey); // a synthetic press and release (volume keys)
// One synthetic key event as keybd_event makes it: the key, the hardware scan
// code to report, down or up. Chords are sent one event at a time.
void SendKeyEvent(int virtualKey, int scanCode, bool up);

struct Accelerator {
    uint8_t flags; // 1 virtual key, 4 Shift, 8 Control
    uint16_t key;  // virtual-key code
    uint16_t command;
};
// Attaches the table to the main window; it is consulted before any control.
void AttachAccelerators(const Accelerator* entries, int count);

// ---- Fonts and colours -------------------------------------------------------
// Points are made into pixels at the window's scale when the font is made.
// The bold font of the main window and of every control created after this
// call, until a control is given a font of its own; the window and controls
// that still have the previous default font are given the new one.
void SetDefaultFont(const std::string& face, int points);
// Creates the bold font and gives it to the control (replacing the old one).
void SetControlFont(int id, const std::string& face, int points);
// Text and background colours as Windows colour values (red in the lowest byte).
void SetControlColors(int id, int foreground, int background);

// ---- Toolbar and tooltip -----------------------------------------------------
struct ToolbarButton {
    int image = 0; // 1..20; 0 makes a separator
    int command = 0;
    std::string caption;
    int separatorWidth = 0; // for a separator
};
void ToolbarImagesCreate(int iconSize); // in pixels
void ToolbarCreate(const ToolbarButton* buttons, int count);
void ToolbarDestroy();
bool ToolbarExists();
int ToolbarRightEdge();
void ToolbarSetFont(const std::string& face, int points);
// Creates the big tooltip; once it exists, makes its font again for the
// window's scale.
void TooltipCreate();
void TooltipShowText(const std::string& text);
void TooltipPop();

// ---- Printing ----------------------------------------------------------------
enum class PrintOutcome {
    Printed,
    NoPrinter,
    JobFailed,
    Cancelled, // Esc or a close request during the job; the spooler was told to drop it
};
// Lines in order, one list per page.
using PrintedPages = std::vector<std::vector<std::string>>;
// Given the height of one line (of "X" in the font) and of the printable area,
// both in the printer's units, says what goes on each page.
using PageLayout = std::function<PrintedPages(int lineHeight, int pageHeight)>;
// Prints on the default printer, without a dialog, one copy in portrait, in a
// bold font of the face at the point size; each line at the printable area's
// left edge, one line height below the one before, as the list shows it
// (characters the face lacks in a face that has them, right-to-left words in
// their reading order). Meanwhile the window is painted, other keys are
// dropped, and Esc or a close request cancels the job; after a close request
// the window closes once the caller has returned.
PrintOutcome PrintOnDefaultPrinter(const std::string& documentName, const std::string& face,
                                   int points, const PageLayout& layout);

// ---- Images ------------------------------------------------------------------
// Starts the image library the preview draws with. The first call starts it;
// later calls do nothing. It is never shut down.
void StartImageLibrary();
// The preview pane's drawing area (inside its border), in pixels.
void PreviewClientSize(int& width, int& height);
// Decodes the image file away from the window's thread, shrunk (keeping its
// proportions) to fit wantedWidth x wantedHeight when it is larger. A picture
// of more than maxPixels is refused on the size its file's header gives,
// before anything is decoded. A later request replaces this one, whose work
// is dropped. The outcome comes back on the window's thread, after the
// messages already waiting, as OnPreviewImage with the same token.
void PreviewRequestImage(const std::string& path, int wantedWidth, int wantedHeight,
                         uint64_t maxPixels, uint64_t token);
// Keeps the image last delivered scaled to width x height, over the background
// where it is transparent, and lets the delivered one go; 0 by 0 keeps nothing.
void PreviewKeepImage(int width, int height, int background);
// Each clears the whole pane to the background (a Windows colour value) and
// shows it at once; the image is the kept one, its top-left corner at (x, y);
// the text starts at (x, y), broken at blanks where it would pass the edge.
void PreviewShowBlank(int background);
void PreviewShowImage(int x, int y, int background);
void PreviewShowText(const std::string& text, int x, int y, int foreground, int background);
// True while the user is typing or holding a key: a key message waits in the
// queue, or a key other than Shift, Ctrl, Alt and Windows is down.
bool KeyInputPending();

// ---- Download and update ----------------------------------------------------
enum class DownloadOutcome {
    Finished,     // an HTTP 200 answer arrived whole and holds at most the limit
    Failed,       // no connection, another status, too long, cut off
    TimedOut,     // one of the time limits passed
    Cancelled,    // Esc was pressed in the window
    ClosedByUser, // the window was asked to close (close button, Alt+F4, session end)
};
struct DownloadLimits {
    int64_t connectMs = 0; // to connect
    int64_t readMs = 0;    // for the answer to begin, and between two pieces of it
    int64_t wholeMs = 0;   // for the whole download
};
struct DownloadProgress {
    bool answered = false; // the server has answered with its status and headers
    uint64_t received = 0; // bytes of the body so far
    uint64_t expected = 0; // the length it announced; 0 when it announced none
    int64_t elapsedMs = 0; // since the download began
};
using DownloadProgressReport = std::function<void(const DownloadProgress&)>;
// Fetches the address into memory, never from a cache, away from the window's
// thread. Meanwhile the window is painted, `progress` is called on the
// window's thread at least once a second, Esc cancels, a request to close the
// window ends the wait (the window is left for the caller to close) and other
// keys are dropped. `bytes` holds the file only when it is Finished.
DownloadOutcome Download(const std::string& url, std::string& bytes, size_t limit,
                         const DownloadLimits& limits, const DownloadProgressReport& progress);
// True when the file is there and Windows can start it as a program (a PE
// image: "MZ", and "PE\0\0" where its header points).
bool IsStartableProgram(const std::string& path);
// True when the ECDSA P-256 signature (r then s, 32 bytes each, big-endian)
// over the SHA-256 of the data is valid under the public key (a DER
// SubjectPublicKeyInfo).
bool VerifySignature(const std::string& publicKey, std::string_view data,
                     std::string_view signature);
// Whether a process of that id runs now.
bool ProcessRunning(uint32_t id);
// Renames a file; false when the target exists or the file cannot be moved.
bool MoveFileTo(const std::string& from, const std::string& to);
// Starts the program with no arguments and tells it (LUMAFIND_WAIT_FOR in its
// environment) the id of this process, so that it can wait for our end.
bool StartProgramAfterExit(const std::string& path);

} // namespace platform
