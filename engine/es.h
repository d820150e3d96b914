// The stand-in search engine client: what its parts share.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace es {

enum ExitCode {
    ExitOk = 0,
    ExitUnknownOption = 1,
    ExitMissingValue = 2,
    ExitBadValue = 3,
    ExitExportFailed = 4,
};

enum class Only { Everything, Files, Folders };
enum class SortBy { Name, DateModified };

// One alternative of a term. Texts are case-folded.
struct Pattern {
    std::string text;
    bool wildcard = false;
    bool plainEnding = false; // a wildcard such as "*.mp3", which WildcardMatch takes as an ending
    bool onPath = false;      // matched against the full path, not the name
    bool anchored = false;    // starts with a drive, so it can only match at the path's start
    bool isExt = false;
    std::vector<std::string> extensions;
    std::vector<uint64_t> extensionWords; // each as one word (PackedText), 0 when too long
};

struct Term {
    std::vector<Pattern> alternatives; // the term holds when any alternative matches
    bool exclude = false;
};

struct Request {
    std::vector<Term> terms;
    Only only = Only::Everything;
    bool wantSize = false;
    bool wantDate = false;
    SortBy sortBy = SortBy::Name;
    int64_t limit = 0; // 0: no limit
    bool exportCsv = false;
    std::string exportFile;
    bool usesPath = false; // some pattern needs the full path
};

struct Match {
    std::string host;   // path as the operating system names it
    std::string folded; // folded name, the sort key
    bool isFolder = false;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970, UTC
    bool infoRead = false;
};

// --- the whole run (es.cpp)
int Run(const std::vector<std::string>& args);
// What the entry point of the host system calls: es.cpp for es, index_main.cpp for the index.
int Main(const std::vector<std::string>& args);

// --- folding and wildcards (fold.cpp)
void FoldInto(std::string& out, std::string_view text);
std::string Fold(std::string_view text);
bool WildcardMatch(std::string_view pattern, std::string_view text);
bool IsPlainEnding(std::string_view pattern);
std::string ValidUtf8(std::string_view text);

// --- arguments (arguments.cpp); on failure returns the exit code and sets message
int ParseArguments(const std::vector<std::string>& args, Request& request, std::string& message);

// --- query (query.cpp)
Term ParseTerm(std::string_view text);
bool MatchesEntry(const Request& request, std::string_view foldedName, std::string_view foldedPath,
                  bool isFolder);
bool PruneFolder(const Request& request, std::string_view foldedFolderPath);

// --- roots (roots.cpp)
std::vector<std::string> FindRoots();

// --- walk (walk.cpp)
std::vector<Match> Walk(const Request& request, const std::vector<std::string>& roots);
void ReadInfo(std::vector<Match>& matches);
// Threads for reading the disk: one per core, at most eight.
unsigned WorkerCount();
// Runs work(k, n) for each k below n, the caller's thread taking k = 0, and waits for all.
void OnThreads(unsigned n, const std::function<void(unsigned k, unsigned n)>& work);
// Why a root cannot be searched (the warning es writes), or empty.
std::string RootProblem(const std::string& root);

// --- output (output.cpp)
void SortMatches(const Request& request, std::vector<Match>& matches);
std::string FormatCsv(const Request& request, const std::vector<Match>& matches);
std::string FormatList(const std::vector<Match>& matches);
std::string CsvHeader(const Request& request);
bool IsAscii(std::string_view text);
void AppendCsvRow(std::string& out, const Request& request, bool isFolder, int64_t size,
                  int64_t modified, std::string_view shown);
void AppendListLine(std::string& out, std::string_view shown);
bool ReplaceWith(const std::string& path, std::string_view content);
// Where a new file is written before it is renamed over the old one (a host path).
std::string TemporaryFor(const std::string& host);

// --- host system (host_posix.cpp or host_win32.cpp)
enum class Kind : uint8_t { File, Folder, Link, Unknown };

struct FolderId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderListing {
    FolderId id;       // what the folder is, whatever path reached it
    std::string names; // all names, back to back
    std::vector<uint32_t> ends;
    std::vector<Kind> kinds;
    // Size and date of each entry, when the listing brings them (Windows, or withInfo); empty
    // otherwise, and ReadInfo asks for them.
    std::vector<int64_t> sizes;
    std::vector<int64_t> modified;
    // Read them with the listing where that costs a call per entry (POSIX): asked from the open
    // folder, the call looks up no path. An entry gone meanwhile is left out.
    bool withInfo = false;
    // The folder's own ChangeStamp, read from the open folder with withStamp: no path is looked
    // up again for it.
    bool withStamp = false;
    int64_t stamp = 0;
};

bool ListFolder(const std::string& host, FolderListing& listing);
FolderId IdOfFolder(const std::string& host); // empty when it cannot be read
Kind KindOf(const std::string& host, bool followLink);
bool ReadItem(const std::string& host, int64_t& size, int64_t& modified);
// The item's own kind, whether it is shown as a folder (a folder, or a link to one), and its size
// and date as ReadItem gives them, in one look where the system allows; false when it is gone.
bool ReadItemWithKind(const std::string& host, Kind& kind, bool& shownAsFolder, int64_t& size,
                      int64_t& modified);
// The item's modification time as finely as the system keeps it, in nanoseconds since 1970;
// 0 when it cannot be read.
int64_t ChangeStamp(const std::string& host);
std::string JoinHost(const std::string& folder, std::string_view name);
// Absolute, without "." or "..", and without a separator at the end unless it is the top.
std::string CleanFolder(const std::string& host);
std::string ShownPath(const std::string& host);
std::string HostPath(const std::string& shown);
std::string ProgramFolder();
std::string HomeFolder();
std::string Environment(const char* name);
bool LocalTime(int64_t seconds, std::tm& out);
// Dates are then written in the time zone TZ names (unset when set is false).
void UseTimeZone(bool set, const std::string& tz);
bool ReadWholeFile(const std::string& host, std::string& content);
bool WriteNewFile(const std::string& host, std::string_view content);
// A new file written piece by piece, as an answer of the index arrives.
struct NewFile {
    intptr_t handle = -1;
};
bool CreateNewFile(const std::string& host, NewFile& file); // false when it exists already
bool AppendToFile(NewFile& file, std::string_view piece);
bool FinishNewFile(NewFile& file); // flushed to disk and closed
void CloseNewFile(NewFile& file);  // closed as it is; the caller removes it
bool RenameOver(const std::string& from, const std::string& to);
void RemoveFile(const std::string& host);
long ProcessId();
void WriteOut(std::string_view text);
void WriteError(const std::string& text);

// --- pieces of the walk the index shares (walk.cpp)
bool HoldsLineBreak(std::string_view text);
bool IsFolderEntry(Kind kind, const std::string& folder, std::string_view name);
std::vector<FolderId> RootAncestors(const std::string& root);

} // namespace es
