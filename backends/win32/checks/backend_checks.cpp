// Checks of the Windows backend against the real system (Windows, or Wine on
// Linux): files, processes, clipboard, the speech log, and the controls'
// texts and notifications. Prints each failure; exits 1 when any failed.
#include <winsock2.h>

#include "backends/win32/win32.h"

#include "appearance/appearance.h"
#include "base/command_line.h"
#include "base/text.h"
#include "platform/platform.h"
#include "results/navigation.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "settings/ini_codec.h"
#include "settings/settings.h"

#include <objidl.h>
#include <richedit.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace platform;

static int Failures = 0;

static void Check(bool ok, const char* what, int line) {
    if (ok) return;
    ++Failures;
    std::printf("FAILED line %d: %s\n", line, what);
}
#define CHECK(condition) Check((condition), #condition, __LINE__)

static std::string TempFolder() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    std::string folder = win32::Narrow(buffer) + "lumafind-backend-checks\\";
    CreateDirectoryW(win32::Widen(folder).c_str(), nullptr);
    return folder;
}

static std::string ReadText(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

static void CheckTextConversion() {
    for (std::string text : {"", "texas",
                             "Gr\xC3\xBC\xC3\x9F"
                             "e",
                             "a\xF0\x9F\x98\x80z"})
        CHECK(win32::Narrow(win32::Widen(text)) == text);
    CHECK(win32::Widen("\xF0\x9F\x98\x80").size() == 2); // one character, two units
}

// Files whose names match the pattern (with * and ?), such as left temporaries.
static int CountFiles(const std::string& pattern) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(win32::Widen(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

static void CheckReadingAndReplacing(const std::string& dir) {
    std::string bytes = "junk";
    CHECK(!ReadWholeFile(dir + "missing.txt", bytes) && bytes.empty());
    std::string binary("a\0b\r\n\xFF", 6);
    CHECK(ReplaceFile(dir + "data.bin", binary));
    CHECK(ReadText(dir + "data.bin") == binary);
    CHECK(ReplaceFile(dir + "data.bin", "short")); // no tail of the longer old file
    CHECK(ReadText(dir + "data.bin") == "short");
    CHECK(CountFiles(dir + "data.bin*") == 1);
    std::string unicode = dir + "gr\xC3\xBC\xC3\x9F"
                                "e \xF0\x9F\x98\x80.txt";
    CHECK(ReplaceFile(unicode, "x") && FileExists(unicode) && ReadText(unicode) == "x");
    CHECK(RemoveFile(unicode) && !FileExists(unicode) && !RemoveFile(unicode));
}

// A failed replacement keeps what was there and leaves nothing beside it.
static void CheckFailedReplacement(const std::string& dir) {
    DeleteFileW(win32::Widen(dir + "folder").c_str()); // left by an older build
    CreateDirectoryW(win32::Widen(dir + "folder").c_str(), nullptr);
    CHECK(!ReplaceFile(dir + "folder", "x"));
    CHECK(GetFileAttributesW(win32::Widen(dir + "folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    CHECK(CountFiles(dir + "folder*") == 1);
    CHECK(!FileExists(dir + "folder")); // a folder is not a file
    CHECK(!ReplaceFile(dir + "no such folder\\x.txt", "x"));
    CHECK(!FileExists(dir + "no such folder\\x.txt.new"));
}

static HANDLE HoldWithoutSharing(const std::string& path) {
    return CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

static DWORD WINAPI LetGoAfter300Ms(void* file) {
    Sleep(300);
    CloseHandle(HANDLE(file));
    return 0;
}

// A file another program holds without sharing is waited for, then told
// apart from a missing one.
static void CheckHeldReading(const std::string& dir) {
    std::string bytes = "junk", path = dir + "held.ini";
    CHECK(ReadFileWaiting(dir + "missing.txt", bytes, 200) == ReadResult::Missing && bytes.empty());
    CHECK(ReadFileWaiting(dir + "no such folder\\x.txt", bytes, 200) == ReadResult::Missing);
    CHECK(ReplaceFile(path, "[All]\r\nFontSize= 60\r\n"));
    HANDLE held = HoldWithoutSharing(path);
    CHECK(held != INVALID_HANDLE_VALUE);
    ULONGLONG start = GetTickCount64();
    CHECK(ReadFileWaiting(path, bytes, 200) == ReadResult::Unreadable && bytes.empty());
    CHECK(GetTickCount64() - start >= 190);
    CHECK(!ReadWholeFile(path, bytes));
    HANDLE letGo = CreateThread(nullptr, 0, LetGoAfter300Ms, held, 0, nullptr);
    CHECK(ReadFileWaiting(path, bytes, 1500) == ReadResult::Read &&
          bytes == "[All]\r\nFontSize= 60\r\n");
    WaitForSingleObject(letGo, INFINITE);
    CloseHandle(letGo);
    std::wstring folder = win32::Widen(dir + "held-dir.ini");
    CreateDirectoryW(folder.c_str(), nullptr);
    CHECK(ReadFileWaiting(dir + "held-dir.ini", bytes, 200) == ReadResult::Unreadable);
    std::vector<std::string> names = FileNamesIn(dir);
    CHECK(std::find(names.begin(), names.end(), "held.ini") != names.end());
    CHECK(std::find(names.begin(), names.end(), "held-dir.ini") == names.end());
    RemoveDirectoryW(folder.c_str()); // the folder is kept between runs
    CHECK(ProcessRunning(GetCurrentProcessId()));
    CHECK(!ProcessRunning(0xFFFFFFF0u));
}

static void CheckProgramFolder(const std::string& dir) {
    std::string folder = ProgramFolder();
    CHECK(!folder.empty() && folder.back() == '\\');
    CHECK(ProgramPath().rfind(folder, 0) == 0 && ProgramPath().size() > folder.size());
    CHECK(!SetCurrentFolder(dir + "no such folder\\"));
    CHECK(SetCurrentFolder(dir));
    CHECK(ReplaceFile("relative.txt", "here") && ReadText(dir + "relative.txt") == "here");
}

// The system's profile functions and our reading agree on UTF-16 and UTF-8
// files with a byte-order mark.
static void CheckProfileEncodings(const std::string& dir) {
    std::wstring text = L"[All]\r\nSearchTerm=caf\u00E9 \U0001F600 \u20AC\r\nFontSize= 48\r\n";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (wchar_t unit : text) {
        little += char(unit & 0xFF), little += char(unit >> 8);
        big += char(unit >> 8), big += char(unit & 0xFF);
    }
    std::string utf8 = "\xEF\xBB\xBF" + win32::Narrow(text);
    for (const std::string& bytes : {little, big, utf8}) {
        std::string path = dir + "profile.ini";
        CHECK(ReplaceFile(path, bytes));
        for (const char* key : {"SearchTerm", "FontSize"}) {
            wchar_t value[260] = {};
            GetPrivateProfileStringW(L"All", win32::Widen(key).c_str(), L"missing", value, 260,
                                     win32::Widen(path).c_str());
            std::optional<std::string> ours = IniLookup(DecodeFileText(bytes), "All", key);
            CHECK(ours && *ours == win32::Narrow(value));
        }
    }
}

// The work area comes from the monitor the rectangle is on, or the nearest one.
static void CheckWorkArea() {
    RECT primary{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
    Rect work = WorkAreaNear({10, 10, 500, 400});
    CHECK(work.left == primary.left && work.top == primary.top && work.right == primary.right &&
          work.bottom == primary.bottom && work.right > work.left && work.bottom > work.top);
    int monitors = GetSystemMetrics(SM_CMONITORS);
    Rect distant = WorkAreaNear({100000, 100000, 101000, 100700});
    CHECK(monitors > 1 || (distant.left == work.left && distant.right == work.right));
}

static std::string SystemProgram(const char* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return win32::Narrow(folder) + "\\" + name;
}

static void CheckProcesses(const std::string& dir) {
    std::string cmd = SystemProgram("cmd.exe");
    ProcessResult exit7 = RunHiddenAndWait(cmd, "cmd /c exit 7", dir);
    CHECK(exit7.started && !exit7.cancelled && exit7.exitCode == 7);
    CHECK(!RunHiddenAndWait(dir + "no_such_program_lumafind.exe", "x", dir).started);
    // Long command lines are passed whole, and the process runs in the folder given.
    std::string word(600, 'x');
    ProcessResult echo = RunHiddenAndWait(cmd, "cmd /c echo " + word + ">long.txt", dir);
    CHECK(echo.started && echo.exitCode == 0);
    CHECK(ReadText(dir + "long.txt").rfind(word, 0) == 0);
    ProcessResult distant = RunHiddenAndWait(cmd, "cmd /c exit 0", dir + std::string(300, 'f'));
    CHECK(!distant.started && distant.folderUnusable);
}

// A program folder past the path limit: the engine still runs in it, by the
// folder's short form.
static void CheckLongWorkingFolder(const std::string& dir) {
    std::string folder = dir;
    for (const char* part : {"first", "second"}) {
        folder += std::string(150, part[0]) + "\\";
        CreateDirectoryW(win32::Widen("\\\\?\\" + folder).c_str(), nullptr);
    }
    CHECK(folder.size() > MAX_PATH);
    ProcessResult run =
        RunHiddenAndWait(SystemProgram("cmd.exe"), "cmd /c echo x>here.txt", folder);
    CHECK(run.started && !run.folderUnusable && run.exitCode == 0);
    CHECK(ReadText("\\\\?\\" + folder + "here.txt").rfind("x", 0) == 0);
    // The program's own files are named relative to its folder.
    CHECK(SetCurrentFolder(folder));
    CHECK(ReadText("here.txt").rfind("x", 0) == 0);
    SetCurrentFolder(dir);
}

// The system's own splitting must give back exactly the arguments we joined.
static void CheckArgumentQuoting(const std::string& dir) {
    std::string stub = ProgramFolder() + "lumafind_engine_stub.exe";
    CHECK(FileExists(stub));
    const std::vector<std::string> hostile = {"plain",
                                              "",
                                              "two words",
                                              "\"",
                                              "a\"b",
                                              "c:\\program files\\",
                                              "c:\\x\\\"",
                                              "%PATH%",
                                              "%os:\"=%|mkdir pwned",
                                              "&& || | < > ^",
                                              "caf\xC3\xA9 \xF0\x9F\x98\x80"};
    std::string line = JoinCommandLine(stub, hostile);
    CHECK(RunHiddenAndWait(stub, line, dir).exitCode == 0);
    std::string wanted = stub + "\n";
    for (const std::string& argument : hostile)
        wanted += argument + "\n";
    std::string got = ReadText(dir + "engine-args.txt");
    CHECK(got == wanted);
    if (got != wanted) std::printf("  sent %s\n  got  %s\n", line.c_str(), got.c_str());
}

static void CheckClipboard() {
    std::string text = "Gr\xC3\xBC\xC3\x9F"
                       "e \xF0\x9F\x98\x80 -n 100";
    std::string back;
    CHECK(ClipboardSetText(text) && ClipboardGetText(back) && back == text);
    CHECK(ClipboardSetText("") && ClipboardGetText(back) && back.empty());
}

// The file drop reads back through the shell's own reader as exactly the path,
// however long; the header is the system's; text and file replace each other.
static void CheckFileDrop() {
    std::string path = "C:\\caf\xC3\xA9 \xF0\x9F\x98\x80\\" + std::string(600, 'x') + ".txt";
    std::wstring wide = win32::Widen(path);
    CHECK(ClipboardSetText("before"));
    CHECK(ClipboardSetFileDrop(path));
    CHECK(OpenClipboard(nullptr));
    HANDLE drop = GetClipboardData(CF_HDROP);
    CHECK(drop != nullptr);
    if (drop) {
        HDROP files = static_cast<HDROP>(drop);
        CHECK(DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0) == 1);
        UINT length = DragQueryFileW(files, 0, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(files, 0, name.data(), length + 1);
        name.resize(length);
        CHECK(name == wide);
        const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop));
        CHECK(header && header->pFiles == 20 && header->pt.x == 0 && header->pt.y == 0 &&
              !header->fNC && header->fWide);
        CHECK(GlobalSize(drop) >= 20 + 2 * (wide.size() + 2));
        GlobalUnlock(drop);
    }
    CHECK(GetClipboardData(CF_UNICODETEXT) == nullptr);
    CloseClipboard();
    std::string back = "x";
    CHECK(ClipboardGetText(back) && back.empty());
}

struct Hold {
    DWORD ms;
    HANDLE opened;
};

// As another program does: opened for a window of its own.
static DWORD WINAPI HoldClipboard(void* parameter) {
    Hold* hold = static_cast<Hold*>(parameter);
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    bool open = window && OpenClipboard(window);
    SetEvent(hold->opened);
    if (open) {
        Sleep(hold->ms);
        CloseClipboard();
    }
    if (window) DestroyWindow(window);
    return open ? 0 : 1;
}

// Another program holding the clipboard: a short hold is waited out; a long one
// fails the operation after about a tenth of a second and changes nothing.
static void CheckHeldClipboard() {
    auto holding = [](DWORD ms, auto&& operations) {
        Hold hold{ms, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, &hold, 0, nullptr);
        WaitForSingleObject(hold.opened, 5000);
        operations();
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(hold.opened);
    };
    CHECK(ClipboardSetText("kept"));
    holding(40, [] { CHECK(ClipboardSetText("after a short hold")); });
    ULONGLONG waited = 0;
    holding(1500, [&] {
        ULONGLONG start = GetTickCount64();
        CHECK(!ClipboardSetText("lost"));
        CHECK(!ClipboardSetFileDrop("C:\\lost.txt"));
        std::string back;
        CHECK(!ClipboardGetText(back));
        waited = GetTickCount64() - start;
    });
    CHECK(waited >= 3 * 80 && waited < 3 * 400);
    std::string back;
    CHECK(ClipboardGetText(back) && back == "after a short hold");
}

// Types the system registers answer with a program; unknown ones fail.
static void CheckAssociations() {
    std::string name;
    CHECK(AssociatedProgram(".ini", name) && !name.empty());
    CHECK(!AssociatedProgram(".lumafind-unknown-type", name) && name.empty());
}

static bool SameFile(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::wstring* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!ok) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// A result past the path limit: seen as a file, and handed to the shell whole
// or by a shorter name of the very same file.
static void CheckLongResultPath(const std::string& dir) {
    std::string folder = dir;
    for (const char* part : {"one", "two"}) {
        folder += std::string(150, part[0]) + "\\";
        CreateDirectoryW(win32::Widen("\\\\?\\" + folder).c_str(), nullptr);
    }
    std::string file = folder + std::string(100, 'f') + ".txt";
    HANDLE made = CreateFileW(win32::Widen("\\\\?\\" + file).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    CloseHandle(made);
    CHECK(file.size() > MAX_PATH);
    CHECK(FileExists(file));
    CHECK(!FileExists(folder));
    std::wstring shell = win32::ShellPath(file);
    CHECK(shell == win32::Widen(file) ||
          (shell.size() < MAX_PATH && SameFile(shell, win32::ExtendedPath(file))));
    std::printf("  a path of %zu characters goes to the shell as %zu\n", file.size(), shell.size());
}

static std::string LogPath(const std::string& dir) {
    return dir + "speech.log";
}

// Set before anything speaks: the backend reads the variable once.
static void StartSpeechLog(const std::string& dir) {
    RemoveFile(LogPath(dir));
    SetEnvironmentVariableW(L"LUMAFIND_SPEECH_LOG", win32::Widen(LogPath(dir)).c_str());
}

static void CheckSpeechLog(const std::string& dir) {
    VoiceCreate();
    VoiceSpeak("Gr\xC3\xBC\xC3\x9F"
               "e : Top of List : ",
               3);
    VoiceSpeak("", 2);
    VoiceSetRate(3);
    CHECK(!VoiceIsSpeaking() || VoiceIsSpeaking()); // answers without failing
    CHECK(ReadText(LogPath(dir)) == "3\tGr\xC3\xBC\xC3\x9F"
                                    "e : Top of List : \n2\t\n");
}

// The flag a screen reader sets, read afresh; with no window to raise a
// message from, nothing is raised or logged.
static void CheckScreenReaderFlag(const std::string& dir) {
    BOOL was = FALSE;
    SystemParametersInfoW(SPI_GETSCREENREADER, 0, &was, 0);
    SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, 0);
    CHECK(ScreenReaderRunning());
    SystemParametersInfoW(SPI_SETSCREENREADER, FALSE, nullptr, 0);
    CHECK(!ScreenReaderRunning());
    SystemParametersInfoW(SPI_SETSCREENREADER, was, nullptr, 0);
    RemoveFile(LogPath(dir));
    RaiseNotification("Invalid Search Term", 3);
    CHECK(ReadText(LogPath(dir)).empty());
}

// Under Wine, which lacks the notification, the message goes into the
// live-region control, again and again; where the notification exists, that
// is what is raised and no control is made.
static void CheckScreenReaderMessages(const std::string& dir) {
    RemoveFile(LogPath(dir));
    RaiseNotification("Search is complete : 1 Match : a.txt", 3);
    RaiseNotification("Gr\xC3\xBC\xC3\x9F"
                      "e Copied",
                      2);
    std::string log = ReadText(LogPath(dir));
    HWND announcer = GetDlgItem(win32::Win.main, win32::AnnouncerId);
    if (log.rfind("notification\t", 0) == 0) {
        CHECK(log == "notification\tSearch is complete : 1 Match : a.txt\n"
                     "notification\tGr\xC3\xBC\xC3\x9F"
                     "e Copied\n");
        return;
    }
    CHECK(log == "live-region\tSearch is complete : 1 Match : a.txt\n"
                 "live-region\tGr\xC3\xBC\xC3\x9F"
                 "e Copied\n");
    wchar_t text[64] = {};
    GetWindowTextW(announcer, text, 64);
    CHECK(std::wstring(text) == L"Gr\u00FC\u00DFe Copied");
    RECT box{};
    GetWindowRect(announcer, &box);
    CHECK(box.right == box.left && box.bottom == box.top);
}

static void CheckPlacement() {
    SetMainSize(900, 600);
    MoveMain(40, 30);
    Placement p = GetMainPlacement();
    CHECK(p.normal.left == 40 && p.normal.top == 30);
    CHECK(p.normal.right == 940 && p.normal.bottom == 630);
    CHECK(!p.minimized && !p.maximized);
    ShowMainMaximized();
    p = GetMainPlacement();
    CHECK(p.maximized && p.normal.left == 40 && p.normal.right == 940);
    SetMainSize(800, 500); // changes the restored size, stays maximized
    p = GetMainPlacement();
    CHECK(p.maximized && p.normal.right - p.normal.left == 800);
    CHECK(p.normal.bottom - p.normal.top == 500);
    ShowWindow(win32::Win.main, SW_RESTORE);
    SetCaption("Lumafind \xE2\x80\x93 texas");
    CHECK(Caption() == "Lumafind \xE2\x80\x93 texas");
}

static void CheckSearchBox() {
    SetSearchBoxText("a\xF0\x9F\x98\x80"
                     "b");
    CHECK(SearchBoxText() == "a\xF0\x9F\x98\x80"
                             "b");
    CHECK(SearchBoxRange(0, 1) == "a");
    CHECK(SearchBoxRange(1, 2) == "\xF0\x9F\x98\x80"); // never half a character
    CHECK(SearchBoxRange(2, 3) == "\xF0\x9F\x98\x80");
    CHECK(SearchBoxRange(3, 4) == "b");
    CHECK(SearchBoxRange(4, 5).empty() && SearchBoxRange(-3, 99) == SearchBoxText());
    int start = -1, end = -1;
    SearchBoxSetSelection(1, 3);
    SearchBoxGetSelection(start, end);
    CHECK(start == 1 && end == 3);
    SearchBoxSetSelection(0, -1);
    SearchBoxGetSelection(start, end);
    CHECK(start == 0 && end == 4);
    MSG tab{win32::ControlWindow(SearchBoxId), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    LRESULT wants = SendMessageW(tab.hwnd, WM_GETDLGCODE, VK_TAB, LPARAM(&tab));
    CHECK(!(wants & DLGC_WANTTAB)); // Tab leaves the box instead of typing
}

static CHARFORMAT2W BoxFormat() {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(win32::ControlWindow(SearchBoxId), EM_GETCHARFORMAT, SCF_ALL, LPARAM(&format));
    return format;
}

// The rich edit's text really takes the size, and keeps it and the colours
// when the program replaces the text; a replaced font is released.
static void CheckFontsAndColors() {
    SetControlFont(SearchBoxId, "Arial", 36);
    HFONT first = win32::Win.fonts[0];
    SetControlFont(SearchBoxId, "Arial", 40);
    CHECK(GetObjectType(first) == 0);
    SetControlColors(SearchBoxId, 65535, 16711680);
    SetSearchBoxText("texas");
    CHARFORMAT2W format = BoxFormat();
    CHECK(format.yHeight == 800 && (format.dwEffects & CFE_BOLD));
    CHECK(format.crTextColor == 65535 && !(format.dwEffects & CFE_AUTOCOLOR));
    HWND list = win32::ControlWindow(ResultListId);
    SetControlColors(ResultListId, 0, 16777215);
    CHECK(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0) == 0);
    CHECK(SendMessageW(list, LVM_GETBKCOLOR, 0, 0) == 16777215);
    SetControlColors(PreviewId, 0, 16711680);
    HWND preview = win32::ControlWindow(PreviewId);
    HDC dc = GetDC(preview);
    auto brush =
        HBRUSH(SendMessageW(win32::Win.main, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(preview)));
    LOGBRUSH painted{};
    CHECK(brush && GetObjectW(brush, sizeof painted, &painted) && painted.lbColor == 16711680);
    ReleaseDC(preview, dc);
}

static std::string ItemText(int item, int subItem) {
    wchar_t buffer[256] = {};
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = buffer;
    lv.cchTextMax = 256;
    SendMessageW(win32::ControlWindow(ResultListId), LVM_GETITEMTEXTW, WPARAM(item), LPARAM(&lv));
    return win32::Narrow(buffer);
}

static void FillRows() {
    ListDeleteAllItems();
    ResultRows.Clear();
    ResultRows.Add("10", "01/15/2023 10:23", "C:\\a\\", "one.txt", false);
    ResultRows.Add("", "01/16/2023 11:00", "C:\\a\\",
                   "Gr\xC3\xBC\xC3\x9F"
                   "e",
                   true);
    ResultRows.Add("30", "01/17/2023 12:00", "C:\\b\\", "three.txt", false);
    ListSetItemCount(ResultRows.Count());
}

// The list holds no text: every cell and every selection goes through the program.
static void CheckResultList(const std::string& dir) {
    FillRows();
    CHECK(ListItemCount() == 3);
    CHECK(ItemText(1, 0) == "(f) Gr\xC3\xBC\xC3\x9F"
                            "e" &&
          ItemText(2, 1) == "C:\\b\\");
    ListSelectItem(-1); // must not select every item
    ListSelectItem(3);
    CHECK(ListSelectedIndex() == -1);
    RemoveFile(LogPath(dir));
    ListSelectItem(2);
    CHECK(ListSelectedIndex() == 2);
    CHECK(ReadText(LogPath(dir)) == "3\tBottom of List : three.txt\n");
    ListSetItemCount(0);
    CHECK(ListItemCount() == 0 && ListItemHeight() == 0);
}

// The program answers the list's movement keys itself: each must land where
// the control's own key lands, from rows at the top, the middle and the
// bottom, with the row at either edge of those shown.
static void CheckListKeysMatchTheControl() {
    ListDeleteAllItems();
    ResultRows.Clear();
    constexpr int Rows = 60;
    for (int i = 0; i < Rows; ++i)
        ResultRows.Add("1", "01/15/2023 10:23", "C:\\a\\", "row" + std::to_string(i), false);
    ListSetItemCount(Rows);
    HWND list = win32::ControlWindow(ResultListId);
    MoveWindow(list, 0, 0, 400, 300, TRUE);
    for (int key : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) {
        for (int start : {0, 1, 5, 17, 30, 58, 59}) {
            for (int edge = 0; edge < 3; ++edge) {
                ListSelectItem(start);
                ListEnsureVisible(start);
                int per = ListRowsPerPage();
                int top = edge == 1 ? start : std::max(0, start - per + 1);
                if (edge) ListScrollBy(0, (top - ListTopIndex()) * ListItemHeight());
                int at = ListSelectedIndex();
                top = ListTopIndex();
                int want = ListMoveTarget(key, at, Rows, top, per);
                CallWindowProcW(win32::Win.listProc, list, WM_KEYDOWN, WPARAM(key), 0);
                int got = ListSelectedIndex();
                if ((want < 0 ? at : want) != got)
                    std::printf("key %d from %d (top %d, %d a page): control %d, program %d\n", key,
                                at, top, per, got, want);
                CHECK((want < 0 ? at : want) == got);
            }
        }
    }
    ListSetItemCount(0);
}

static void CheckStatusBar() {
    SetStatusBarText("   1  Gr\xC3\xBC\xC3\x9F"
                     "e");
    wchar_t buffer[64] = {};
    SendMessageW(win32::ControlWindow(StatusBarId), SB_GETTEXTW, 0, LPARAM(buffer));
    CHECK(win32::Narrow(buffer) == "   1  Gr\xC3\xBC\xC3\x9F"
                                   "e");
}

// The font a window answers WM_GETFONT with, as GetObject describes it.
static LOGFONTW FontOf(HWND window) {
    LOGFONTW lf{};
    auto font = HFONT(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!font || GetObjectW(font, sizeof lf, &lf) != sizeof lf) return LOGFONTW{};
    return lf;
}

// Arial Black, 24 points at the screen's pixels per inch (the conversion the
// LOGFONT documentation gives), bold.
static bool HasWindowFont(HWND window) {
    LOGFONTW lf = FontOf(window);
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(24, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return lstrcmpW(lf.lfFaceName, L"Arial Black") == 0 && lf.lfHeight == height &&
           lf.lfWeight == FW_BOLD;
}

// Windows made by CreateWindowEx start in the system font unless given one.
static void CheckDefaultFont() {
    CHECK(HasWindowFont(win32::Win.main));
    for (int id : {ResultListId, PreviewId, StatusBarId})
        CHECK(HasWindowFont(win32::ControlWindow(id)));
}

// The caption's line is as tall as the font's, so a button measured with the
// system font would be far shorter than icon plus caption.
static int TextHeight(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return tm.tmHeight;
}

static void CheckToolbar() {
    ToolbarImagesCreate(48);
    ToolbarButton buttons[] = {{1, 517, " Exit ", 0}, {0, 0, "", 60}, {9, 505, " Files ", 0}};
    ToolbarCreate(buttons, 3);
    ToolbarCreate(buttons, 3); // a rebuild replaces the old toolbar
    HWND toolbar = win32::ControlWindow(ToolbarId);
    CHECK(ToolbarExists() && SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0) == 3);
    CHECK(ToolbarRightEdge() > 60 && ControlHeight(ToolbarId) >= 48);
    CHECK(HasWindowFont(toolbar));
    RECT exit{};
    SendMessageW(toolbar, TB_GETITEMRECT, 0, LPARAM(&exit));
    CHECK(exit.bottom - exit.top >= 48 + TextHeight(toolbar));
    ToolbarSetFont("Arial Black", 18); // the icon size's own font replaces it
    CHECK(FontOf(toolbar).lfHeight != FontOf(win32::Win.main).lfHeight);
    TooltipCreate();
    TooltipShowText(" Search Files ");
    TooltipShowText(" Exit "); // the same tool, new text
    ToolbarDestroy();
    CHECK(!ToolbarExists() && ToolbarRightEdge() == 0 && ControlHeight(ToolbarId) == 0);
}

static bool FontAlive(HWND window) {
    return GetObjectType(HGDIOBJ(SendMessageW(window, WM_GETFONT, 0, 0))) == OBJ_FONT;
}

// A move to a monitor of another scale, as Windows tells it: the window takes
// the suggested rectangle and every font and picture is made again, none left
// pointing at a released one. Xvfb has one monitor, so the message is sent
// here; the scale itself stays the prefix's.
static void CheckDpiChange() {
    ToolbarImagesCreate(48);
    ToolbarButton buttons[] = {{1, 517, " Exit ", 0}, {9, 505, " Files ", 0}};
    ToolbarCreate(buttons, 2);
    TooltipCreate();
    HFONT before[] = {win32::Win.defaultFont, win32::Win.fonts[SearchBoxId - SearchBoxId],
                      win32::Win.tooltipFont};
    HIMAGELIST images = win32::Win.toolbarImages, listImages = win32::Win.listImages;
    win32::Win.initialised = true;
    int dpi = WindowDpi();
    // Run at a scale of the prefix, the window must be drawn at it.
    std::string expected = EnvironmentText("LUMAFIND_EXPECTED_DPI");
    CHECK(expected.empty() || dpi == std::atoi(expected.c_str()));
    RECT suggested{40, 30, 40 + MulDiv(900, dpi, 96), 30 + MulDiv(600, dpi, 96)};
    SendMessageW(win32::Win.main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
    win32::Win.initialised = false;
    RECT now{};
    GetWindowRect(win32::Win.main, &now);
    CHECK(EqualRect(&now, &suggested));
    for (HFONT old : before)
        CHECK(old && GetObjectType(old) == 0);
    CHECK(win32::Win.toolbarImages != images && win32::Win.listImages != listImages);
    CHECK(HasWindowFont(win32::Win.main) && HasWindowFont(win32::ControlWindow(ToolbarId)));
    // The rich edit answers WM_GETFONT with a font of its own; its text size
    // is its character format, in twips at a DC of the same scale here.
    CHECK(BoxFormat().yHeight == LONG(Settings.FontSize) * 20);
    for (int id : {ResultListId, PreviewId, StatusBarId, ToolbarId})
        CHECK(FontAlive(win32::ControlWindow(id)));
    CHECK(FontAlive(win32::Win.main) && FontAlive(win32::Win.tooltip));
    ToolbarDestroy();
}

// The close button and Alt+F4 end the program through the normal shutdown.
static void CheckClose(const std::string& dir) {
    RemoveFile(LogPath(dir));
    SendMessageW(win32::Win.main, WM_CLOSE, 0, 0);
    CHECK(!MainWindowExists());
    std::string log = ReadText(LogPath(dir));
    CHECK(log.size() >= 19 && log.substr(log.size() - 19) == "2\tExiting Lumafind\n");
}

static bool VisibleWhenClosed = false;
static bool ToolbarInWindowFont = false;

static void CALLBACK CloseLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    VisibleWhenClosed = IsWindowVisible(win32::Win.main) != 0;
    ToolbarInWindowFont = HasWindowFont(win32::ControlWindow(ToolbarId));
    CloseMainWindow();
}

// The window and its children, as start-up creates them.
static void CreateWindowAndControls() {
    SetDefaultFont(WindowFontName, WindowFontSize);
    CreateMainWindow("Lumafind");
    CreateResultList();
    ResetResultRows();
    CreateSearchBox();
    CreatePreviewControl(16777215);
    CreateStatusBar("Welcome to Lumafind!");
}

// Started by the window's initialisation, once: a second start keeps the
// first token. Wine draws without a start too, so only Windows would show a
// missing one failing.
static void CheckImageLibrary() {
    ULONG_PTR token = win32::Win.imageLibraryToken;
    CHECK(token != 0);
    StartImageLibrary();
    CHECK(win32::Win.imageLibraryToken == token);
    Gdiplus::GpBitmap* bitmap = nullptr;
    CHECK(Gdiplus::DllExports::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr,
                                                         &bitmap) == Gdiplus::Ok);
    if (bitmap) Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

// A 24-bit BMP of one colour, rows bottom up.
static std::string SolidBmp(int width, int height) {
    auto le = [](std::string& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += char(v >> (8 * i) & 255);
    };
    int stride = (width * 3 + 3) / 4 * 4;
    std::string b = "BM";
    le(b, uint32_t(54 + stride * height), 4);
    le(b, 0, 4);
    le(b, 54, 4);
    le(b, 40, 4);
    le(b, uint32_t(width), 4);
    le(b, uint32_t(height), 4);
    le(b, 1, 2);
    le(b, 24, 2);
    le(b, 0, 24);
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < width; ++x)
        row[size_t(x) * 3 + 2] = char(255); // red
    for (int y = 0; y < height; ++y)
        b += row;
    return b;
}

// The log line the decoder wrote for the file, waiting for it while the
// window's messages are handled (a finished picture is posted to it).
static std::string DecoderLine(const std::string& log, const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::string text = ReadText(log);
        size_t at = text.find("\t" + path + "\t");
        if (at != std::string::npos) {
            size_t start = text.rfind('\n', at);
            start = start == std::string::npos ? 0 : start + 1;
            return text.substr(start, text.find('\n', at) - start);
        }
        Sleep(20);
    }
    return "nothing";
}

// WIC decodes on its own thread, shrunk to the size asked for; a picture too
// large is refused on its header's size before any decoder opens it (Wine's
// PNG decoder would decode the whole of it just to open it), and a damaged
// file fails.
static void CheckPreviewDecoder(const std::string& dir) {
    std::string log = dir + "preview.log";
    RemoveFile(log);
    SetEnvironmentVariableW(L"LUMAFIND_PREVIEW_LOG", win32::Widen(log).c_str());
    std::string bmp = dir + "red.bmp", huge = dir + "huge.png", damaged = dir + "damaged.png";
    ReplaceFile(bmp, SolidBmp(300, 200));
    // Only the header of a 10000 x 10000 PNG: decoding it would fail, not refuse.
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x27\x10\0\0\x27\x10\x08\x02\0\0\0", 29);
    ReplaceFile(huge, png + std::string(4, '\0'));
    ReplaceFile(damaged, png.substr(0, 4) + std::string(200, 'x'));
    PreviewRequestImage(bmp, 100, 100, 64000000, 9001);
    std::string line = DecoderLine(log, bmp);
    CHECK(line.rfind("decode\t", 0) == 0);
    CHECK(line.find("\t300x200\t") != std::string::npos);
    CHECK(line.size() > 7 && line.substr(line.size() - 7) == "\t100x67");
    PreviewRequestImage(huge, 100, 100, 64000000, 9002);
    line = DecoderLine(log, huge);
    CHECK(line.rfind("refused\t", 0) == 0);
    CHECK(line.find("\t10000x10000\t") != std::string::npos);
    PreviewRequestImage(damaged, 100, 100, 64000000, 9003);
    CHECK(DecoderLine(log, damaged).rfind("failed\t", 0) == 0);
    SetEnvironmentVariableW(L"LUMAFIND_PREVIEW_LOG", nullptr);
}

// The whole start: initialised while hidden, shown, the deferred start once
// visible (the welcome rides on the search box's focus), then the loop runs
// until the window is gone.
static void CheckRunMainWindow(const std::string& dir) {
    CreateWindowAndControls();
    RemoveFile(LogPath(dir));
    SetTimer(nullptr, 0, 500, CloseLater);
    CHECK(win32::Win.imageLibraryToken == 0);
    RunMainWindow();
    CHECK(VisibleWhenClosed && !MainWindowExists());
    CHECK(ToolbarInWindowFont);
    CheckImageLibrary();
    std::string log = ReadText(LogPath(dir));
    size_t welcome = log.find("3\tWelcome to Lumafind, version 4.43!SearchBox has focus.");
    CHECK(welcome != std::string::npos);
    CHECK(log.find("2\tExiting Lumafind\n") > welcome);
}

// Only a file Windows can start passes as the update's starter.
static void CheckStartablePrograms(const std::string& dir) {
    CHECK(IsStartableProgram(SystemProgram("cmd.exe")));
    CHECK(IsStartableProgram(ProgramPath()));
    CHECK(!IsStartableProgram(dir + "no_such_starter.exe"));
    ReplaceFile(dir + "text.exe", "This is not a program.\r\n");
    CHECK(!IsStartableProgram(dir + "text.exe"));
    ReplaceFile(dir + "mz.exe", "MZ" + std::string(4096, '\0'));
    CHECK(!IsStartableProgram(dir + "mz.exe"));
    // The header's offset (at 0x3C) names where "PE\0\0" must stand.
    std::string image = "MZ" + std::string(58, '\0') + std::string("\x80\0\0\0", 4);
    ReplaceFile(dir + "cut.exe", image);
    CHECK(!IsStartableProgram(dir + "cut.exe"));
    image += std::string(0x80 - image.size(), '\0') + std::string("PE\0\0", 4);
    ReplaceFile(dir + "image.exe", image);
    CHECK(IsStartableProgram(dir + "image.exe"));
}

static DWORD WINAPI CloseSoon(void*) {
    Sleep(300);
    SendMessageW(win32::Win.main, WM_CLOSE, 0, 0);
    return 0;
}

// A server that takes the connection and never answers: the wait gives up at
// its limit, Esc and a close sent from another thread end it at once, and the
// window stays for the caller to close.
static void CheckStalledDownload() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener, 8);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/x";
    const DownloadLimits limits{1000, 1000, 3000};
    int reports = 0;
    auto count = [&](const DownloadProgress& p) { reports += !p.answered && p.received == 0; };
    std::string bytes = "left over";
    ULONGLONG start = GetTickCount64();
    CHECK(Download(url, bytes, 100, limits, count) == DownloadOutcome::TimedOut);
    ULONGLONG took = GetTickCount64() - start;
    CHECK(took >= 900 && took < 2500);
    CHECK(bytes.empty() && reports >= 2);

    PostMessageW(win32::ControlWindow(SearchBoxId), WM_KEYDOWN, VK_ESCAPE, 0);
    start = GetTickCount64();
    CHECK(Download(url, bytes, 100, {5000, 5000, 20000}, nullptr) == DownloadOutcome::Cancelled);
    CHECK(GetTickCount64() - start < 500);

    HANDLE closer = CreateThread(nullptr, 0, CloseSoon, nullptr, 0, nullptr);
    start = GetTickCount64();
    CHECK(Download(url, bytes, 100, {5000, 5000, 20000}, nullptr) == DownloadOutcome::ClosedByUser);
    took = GetTickCount64() - start;
    CHECK(took >= 250 && took < 1000);
    CHECK(MainWindowExists());
    WaitForSingleObject(closer, 5000);
    CloseHandle(closer);
    closesocket(listener);
}

static void CheckWindow(const std::string& dir) {
    CreateWindowAndControls();
    CheckPreviewDecoder(dir);
    CheckDefaultFont();
    CheckPlacement();
    CheckSearchBox();
    CheckFontsAndColors();
    CheckResultList(dir);
    CheckListKeysMatchTheControl();
    CheckStatusBar();
    CheckToolbar();
    CheckDpiChange();
    CheckScreenReaderMessages(dir);
    CheckStalledDownload();
    CheckClose(dir);
}

int main() {
    std::string dir = TempFolder();
    StartSpeechLog(dir);
    CheckTextConversion();
    CheckReadingAndReplacing(dir);
    CheckFailedReplacement(dir);
    CheckHeldReading(dir);
    CheckProgramFolder(dir);
    CheckProfileEncodings(dir);
    CheckWorkArea();
    CheckProcesses(dir);
    CheckArgumentQuoting(dir);
    CheckLongWorkingFolder(dir);
    CheckClipboard();
    CheckFileDrop();
    CheckHeldClipboard();
    CheckAssociations();
    CheckLongResultPath(dir);
    CheckStartablePrograms(dir);
    CheckSpeechLog(dir);
    CheckScreenReaderFlag(dir);
    CheckWindow(dir);
    CheckRunMainWindow(dir);
    RemoveFile(ProgramFolder() + "lumafind_win32_checks.ini");
    std::printf("%s: %d failed\n", Failures ? "FAILED" : "passed", Failures);
    return Failures ? 1 : 0;
}
