// The in-memory backend's state, for tests to set up and to read back what a
// user would have seen and heard.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace platform::testing {

struct Utterance {
    unsigned flags;
    std::string text;
};

struct Control {
    int x = 0, y = 0, width = 0, height = 0;
    bool visible = true;
    int redraws = 0;
};

struct Column {
    std::string header;
    int width = 0;
};

// Makes the n-th call of an operation fail (counted from 1), once or from then on.
struct FaultPlan {
    int failAt = 0;
    bool always = false;
    int calls = 0;
    bool Fails();
};

// One message the key driver delivered: to a control (its id; the main window
// is MainWindowId) as Windows would, with the key, character or command id.
struct KeyMessage {
    int control;
    unsigned message; // 0x100 key down ... 0x106 system character, 0x111 command
    int value;
    int code = 0; // for a command: 1 from the accelerator table, 0 otherwise
};
constexpr unsigned KeyDownMessage = 0x100, KeyUpMessage = 0x101, CharMessage = 0x102;
constexpr unsigned SysKeyDownMessage = 0x104, SysKeyUpMessage = 0x105, SysCharMessage = 0x106;
constexpr unsigned CommandMessage = 0x111;

// Stands for a request to close the window among the keys of DuringDownload.
constexpr int CloseRequest = -1;

struct Monitor {
    Rect bounds; // the whole screen, in screen coordinates
    Rect work;   // the screen less the taskbar
    // Its scale; a window moved onto it from another scale hears of the
    // change (ChangeDpi). 0 leaves the window's scale alone.
    int dpi = 0;
};

struct World {
    // Files: real files under a private temp folder.
    std::string programFolder; // ends with '/'
    std::string currentFolder;
    std::string programName = "lumafind.exe";
    FaultPlan fileWrites, clipboardOpens, processStarts;
    // Files another program holds without sharing, by full path: how many read
    // attempts it refuses (-1 for good). A read that waits tries again every
    // `readRetryMs` of its wait. `fileReads` failing is a read error of its own.
    std::map<std::string, int> heldFiles;
    int readRetryMs = 10;
    FaultPlan fileReads;
    // Processes running beside this one (this one runs too), by id.
    std::set<uint32_t> runningProcesses;

    // Speech
    std::vector<Utterance> transcript;
    bool voiceSpeaking = false;
    int voiceRate = 0;
    // Screen reader: whether one runs, and each notification handed to it.
    bool screenReaderRunning = false;
    std::vector<Utterance> notifications;

    // Main window
    std::string caption;
    bool mainExists = true;
    Placement placement{{0, 0, 1600, 800}, false, false};
    std::vector<Monitor> monitors{{{0, 0, 1600, 900}, {0, 0, 1600, 860}}}; // the first is primary
    int clientWidth = 1584, clientHeight = 761;
    int dpi = 96; // the window's scale; ChangeDpi moves it to another
    bool foreground = false;
    std::map<int, Control> controls;
    int focus = -1;

    // Search box
    std::string searchText;
    int selStart = 0, selEnd = 0;
    int postedSelectAlls = 0;
    std::pair<int, int> searchBoxSelectionColors{-1, -1}; // foreground, background

    // Result list
    int itemCount = 0;
    int selected = -1;
    int topIndex = 0;
    int itemHeight = 50;
    Column columns[4];
    bool extendedStyles = false;
    bool headerShown = true;
    std::pair<int, int> selectionColors{-1, -1}; // foreground, background; -1 the system's

    // The status bar measures its text as if each character were 3/5 of its
    // font's size wide and a line 4/3 of it high, inside 8 pixels each side.
    std::string statusText;
    int statusFirstLine = 0; // drawn from this line on
    // The clipboard holds text or one file-drop block (its exact bytes), never
    // both: every copy empties it first. `clipboardOpens` failing stands for
    // another program holding it throughout.
    std::string clipboard;
    std::string clipboardFileDrop;
    // The shell: each open asked for, in order, and the program registered
    // for each extension (found without regard to case, as the registry does).
    std::vector<std::string> shellOpens;
    // Whether the volume gives files short names, which the shell can be
    // handed for a name it would otherwise change.
    bool shortNames = false;
    std::map<std::string, std::string> associations;
    std::vector<std::pair<int, int>> beeps;
    int64_t counter = 0;
    int64_t counterStep = 1000; // each reading advances the clock by this much

    // Processes: a program file named es.exe runs the native engine when
    // `esPath` is set; a test may put its own handler in front. Both get the
    // argument list as the started program would read it (its name first).
    std::string esPath;
    std::string esRoots;
    std::function<ProcessResult(const std::vector<std::string>& args)> processHandler;
    struct ProcessRun {
        std::string program, commandLine, folder;
    };
    std::vector<ProcessRun> processRuns;
    std::vector<int> keysDuringWait; // pressed while a process is waited for
    // A close request (the close button, Alt+F4, the session ending) arriving
    // while a process is waited for; the window closes once the command ends.
    bool closeDuringWait = false;
    bool closePosted = false;
    std::map<std::string, std::string> environment;
    std::vector<std::string> startedPrograms;
    std::vector<int> sentCommands;

    // Keyboard: the state of each virtual key as GetKeyState reports it.
    std::map<int, int> keyStates;
    std::vector<int> syntheticKeys;
    struct KeyEvent {
        int virtualKey, scanCode;
        unsigned flags; // as keybd_event takes them: 2 key up
        bool operator==(const KeyEvent&) const = default;
    };
    std::vector<KeyEvent> keyEvents; // SendKeyEvent, in order
    std::vector<Accelerator> accelerators;
    std::vector<KeyMessage> keyMessages; // filled by the key driver, in order
    std::vector<std::string> openedPages;

    // Fonts, colours, toolbar, tooltip. A window or control created while a
    // default font is set starts with it, as the seam promises.
    std::pair<std::string, int> defaultFont;
    std::map<int, std::pair<std::string, int>> fonts; // id -> face, points
    // The scale each font was last made at: by control id, the default font,
    // the toolbar's and the big tooltip's (0 before it was made).
    std::map<int, int> fontDpis;
    int defaultFontDpi = 0, toolbarFontDpi = 0, tooltipFontDpi = 0;
    std::map<int, std::pair<int, int>> colors; // id -> foreground, background
    int previewBackground = 0;
    int toolbarIconSize = 0;
    std::vector<ToolbarButton> toolbar;
    bool toolbarExists = false;
    std::pair<std::string, int> toolbarFont; // of the toolbar control now shown
    bool tooltipCreated = false;
    std::string tooltipText;
    int tooltipPops = 0;
    bool created = false;
    // Set when the window starts (its init dialog); before, as under Windows,
    // size and scale changes are not told to the program.
    bool initialised = false;
    int imageLibraryStarts = 0;

    // Printing: the default printer's printable height and the height of a
    // line in a font, in its units (by default 600 dots an inch, a line one
    // em high: 100 at 12 points), and every job it printed.
    bool printerPresent = true;
    FaultPlan printJobs; // a failing job prints nothing
    int printPageHeight = 6600;
    std::function<int(const std::string& face, int points)> printLineHeight =
        [](const std::string&, int points) { return points * 600 / 72; };
    struct PrintJob {
        std::string document, face;
        int points = 0;
        PrintedPages pages; // of a cancelled job, those sent before it was dropped
        bool cancelled = false;
    };
    std::vector<PrintJob> printJobsDone;
    // What the user does while a job prints, once that many pages are sent:
    // Esc (0x1B), another key (dropped) or CloseRequest.
    struct DuringPrint {
        int afterPages;
        int key;
    };
    std::vector<DuringPrint> duringPrint;

    // The preview pane. The decoder knows the files listed here, by full
    // path, with their sizes; any other file (or a listed one that is gone)
    // cannot be decoded. The pane records what it shows now.
    std::map<std::string, std::pair<int, int>> decodableImages;
    struct PreviewPane {
        int background = -1;                      // the colour it was last cleared to
        bool image = false;                       // the kept image is shown ...
        int x = 0, y = 0, width = 0, height = 0;  // ... here
        std::string text;                         // or this text ...
        int textX = 0, textY = 0, textColour = 0; // ... here, in this colour
        int shows = 0;                            // times it was cleared and shown
    };
    PreviewPane preview;
    // Each request for a picture, in order, and those not answered yet. The
    // answers come when the loop finds its queue empty (Idle), or only on
    // DeliverImages while `holdImages`, so a test can press keys meanwhile.
    struct ImageRequest {
        std::string path;
        int wantedWidth = 0, wantedHeight = 0;
        uint64_t maxPixels = 0, token = 0;
    };
    std::vector<ImageRequest> imageRequests, pendingImages;
    bool holdImages = false;
    int imageDecodes = 0;
    int imagesRefused = 0;               // on their size, before any decode
    std::string lastDecoded;             // path of the last image decoded
    int keptWidth = 0, keptHeight = 0;   // what is held between decodes
    bool decodedHeld = false;            // a decoded image waits to be kept
    std::function<void()> whileDecoding; // what happens while a picture is decoded

    // Download and update: what each address answers (an HTTP status and the
    // body; an address not listed cannot be reached), the addresses asked for
    // in order, and faults for downloads, renames (MoveFileTo) and removals.
    // Time passes only in the simulation: by default the answer is there at
    // once and whole; a server may take time to answer (never, with
    // answerAfterMs -1) and send its body in pieces, one each pieceEveryMs.
    struct WebAnswer {
        int status = 200;
        std::string body;
        int64_t answerAfterMs = 0;
        size_t pieceBytes = 0; // 0: the whole body at once
        int64_t pieceEveryMs = 0;
        bool announcesLength = true;
    };
    std::map<std::string, WebAnswer> web;
    std::vector<std::string> downloadsAsked;
    std::vector<DownloadLimits> downloadLimits; // given with each download, in order
    FaultPlan downloads, fileMoves, fileRemovals;
    std::vector<std::string> startedAfterExit;
    // What the user does while a download runs, at a time into it: a key
    // (virtual-key code) or CloseRequest (close button, Alt+F4, session end).
    struct DuringDownload {
        int64_t atMs;
        int key;
    };
    std::vector<DuringDownload> duringDownload;
    int64_t lastDownloadMs = 0; // how long the last download took

    // The visible effects in the order they happened ("speak: ...", "wait: ...",
    // "run: ...", "clipboard: ...", "caption: ...", "status: ...", "count: n",
    // "header: ...", "focus: id", "message: init dialog", "message: deferred
    // start", "images: started", "toolbar: buttons", "accelerators: n"), so
    // tests can check the order of a sequence.
    std::vector<std::string> events;
};

World& TheWorld();
// Fresh world with a new empty program folder; returns the folder.
std::string ResetWorld();

// A command line as CommandLineToArgvW documents it: the program name up to
// the next quote when it starts with one (no escapes), otherwise up to the
// first blank; then the arguments by the documented quoting rules.
std::vector<std::string> SplitCommandLine(const std::string& line);
std::vector<std::string> SplitWindowsArguments(const std::string& line);

// Where a Windows path on a drive ("C:\\Program Files\\x.exe") lives in the
// world: under the program folder, without regard to case, as Windows finds it.
std::string DrivePath(const std::string& windowsPath);

// Spoken texts in order (the flags dropped).
std::vector<std::string> SpokenTexts();
std::string LastSpoken();

// The key driver: a key goes where the message loop would send it. First the
// accelerator table, then dialog navigation (Enter is command 1, Tab moves
// the focus), then the focused control's handler and the control itself, with
// the typed character (US layout) following the key down. Modifiers are
// pressed before the key and released after it, and KeyState shows them.
void PressKey(int virtualKey, bool shift = false, bool ctrl = false, bool alt = false);
void KeyDown(int virtualKey); // for holding a key across other presses
void KeyUp(int virtualKey);
// Types each character with the key (and Shift) that makes it; characters no
// key makes arrive as a character alone.
void TypeText(const std::string& text);
// Moves the keyboard focus as a click would, with the control's focus handler.
void GiveFocus(int id);
// The focus handler of the control, as WM_SETFOCUS reaches it.
void FireFocus(int id);
// The message loop finds its queue empty, as it does after every message;
// then the pictures asked for arrive, unless `holdImages`.
void Idle();
// Answers the oldest `count` picture requests (all when -1), in order.
void DeliverImages(int count = -1);
// The window moves to a monitor of another scale: as Windows does it, the
// window takes the suggested rectangle (keeping the frame's size around its
// client area) before it hears of the change, once it has started.
void ChangeDpi(int dpi, const Rect& suggested);

// The testing backend's signature rule, standing in for ECDSA: the only valid
// signature of data under a key is these 64 bytes (FNV-1a hashes of the key
// and the data under eight seeds). Any change to key or data changes it.
std::string TestSignature(std::string_view publicKey, std::string_view data);

} // namespace platform::testing
