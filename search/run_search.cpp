#include "search/run_search.h"

#include "app/layout.h"
#include "app/main_window.h"
#include "appearance/toolbar.h"
#include "base/text.h"
#include "base/version.h"
#include "platform/platform.h"
#include "results/result_list.h"
#include "search/command_line.h"
#include "search/engine_options.h"
#include "search/engine_run.h"
#include "search/filter_groups.h"
#include "search/history.h"
#include "search/result_parse.h"
#include "search/result_rows.h"
#include "search/search_term.h"
#include "searchbox/status.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <optional>

std::string EngineArguments;

namespace {

constexpr const char* PreviousResultNote = " : Previous Result Shown";
// Searching without the user's exclusions could list what they keep out of sight.
constexpr const char* ExclusionUnreadableText =
    "Exclusion List Could Not Be Read : Previous Result Shown";

std::string Announcement(int kind, const std::string& term) {
    switch (kind) {
    case Files:
        return "File Search for " + term;
    case Folders:
        return "Folder Search for " + term;
    case Both:
        return "Search All for " + term;
    default:
        return "Custom Search " + term;
    }
}

} // namespace

std::string EngineFailureMessage(EngineOutcome outcome, bool resultWritten) {
    const char* reason = "";
    switch (outcome) {
    case EngineOutcome::Finished:
        if (resultWritten) return {};
        reason = "Search Failed";
        break;
    case EngineOutcome::NotFound:
        return "Everything Not Found";
    case EngineOutcome::Failed:
        reason = "Search Failed";
        break;
    case EngineOutcome::Cancelled:
        reason = "Search Cancelled";
        break;
    case EngineOutcome::TooLong:
        reason = "Exclusion List Or Search Term Too Long";
        break;
    case EngineOutcome::FolderUnusable:
        reason = "Search Cannot Run In The Program Folder";
        break;
    }
    return std::string(reason) + (resultWritten ? "" : PreviousResultNote);
}

std::string SearchSummary(int n) {
    return "Search is complete : " + GroupedNumber(n) + (n == 1 ? " Match : " : " Matches : ") +
           (ResultRows.IsFolder(1) ? "Folder : " : "") + std::string(ResultRows.Name(1));
}

std::string SearchCaption(int64_t t0, int64_t t1, int64_t t2, int64_t frequency,
                          const std::string& arguments) {
    double f = frequency > 0 ? double(frequency) : 1.0;
    return std::string(ProgramTitle) + "    " + OneDecimal(double(t1 - t0) / f) +
           " sec : " + OneDecimal(double(t2 - t0) / f) + " sec  " + " ... " + arguments;
}

namespace {

struct EngineRequest {
    std::string text; // as the user sees and keeps it
    std::vector<std::string> arguments;
};

// None when "exclusion.txt" is there but cannot be read.
std::optional<EngineRequest> BuildEngineRequest(int kind, const std::string& term, bool oneTerm) {
    bool exclude = kind != Custom && Settings.ExcludeSystemFolders != 0;
    ExclusionFile file;
    if (exclude) {
        std::optional<ExclusionFile> read = ReadExclusionFile();
        if (!read) return std::nullopt;
        file = *read;
    }
    EngineRequest request;
    std::string exclusions = exclude ? ExclusionTermsFrom(file.exists, file.text) : std::string();
    request.text = MarkVerticalBars(
        EngineArgumentsFor(kind, exclusions, Settings.SortType, Settings.MaxResults, term));
    ExpandFilterGroups(request.text);
    std::vector<std::string> excluded;
    if (exclude) excluded = ExclusionArgumentsFrom(file.exists, file.text);
    request.arguments = EngineArgumentListFor(kind, excluded, Settings.SortType,
                                              Settings.MaxResults, oneTerm ? "" : term);
    if (oneTerm && !term.empty()) request.arguments.push_back(term);
    return request;
}

} // namespace

int ImportResultFile() {
    int n = ReadResultFile();
    platform::ListDeleteAllItems();
    if (n == 0) ResetResultRows();
    return n;
}

namespace {

// How every import ends: the rows shown, the toolbar rebuilt, the focus placed.
void ShowImportedRows() {
    ShowResultRows();
    CreateToolbar();
    if (Settings.FocusOnRE != 0) {
        platform::SearchBoxPostSelectAll();
        platform::SetFocusTo(platform::SearchBoxId);
    }
}

} // namespace

void LoadResultFile() {
    LayoutWindow();
    ImportResultFile();
    ShowImportedRows();
}

namespace {

// Checked as typed, before the history or anything else changes; the box gets
// the focus with its text selected, as after an invalid term.
bool CustomTermAllowed() {
    std::string refused = CheckCustomWords(TermArguments(platform::SearchBoxText())).refused;
    if (refused.empty()) return true;
    platform::SetFocusTo(platform::SearchBoxId);
    platform::SearchBoxPostSelectAll();
    SpeakText(OptionNotAllowedText + refused);
    return false;
}

// A folder term is used whole: the search term setting is cut to its limit.
void Search(const std::string* folder) {
    LayoutWindow();
    if (platform::FileExists("filelist.txt")) platform::RemoveFile("filelist.txt");
    int kind = Settings.SearchType;
    std::string folderTerm = folder ? QuotedFolderTerm(*folder) : std::string();
    if (folder) platform::SetSearchBoxText(folderTerm);
    Settings.SearchTerm = LowerCase(TrimBlanks(platform::SearchBoxText()));
    if (!folder && kind != Custom && !ValidateSearchTerm()) {
        SpeakText("Invalid Search Term");
        return;
    }
    if (!folder && kind == Custom && !CustomTermAllowed()) return;
    Settings.LastSearchType = kind;
    RecordSearchTerm();
    const std::string& term = folder ? folderTerm : Settings.SearchTerm;
    ShowLoading();
    SpeakTextAndWait(Announcement(kind, term));
    std::optional<EngineRequest> built = BuildEngineRequest(kind, term, folder != nullptr);
    if (!built) {
        ImportResultFile();
        ShowImportedRows();
        SpeakText(ExclusionUnreadableText);
        SetStatusText(StatusTextFor(1));
        return;
    }
    const EngineRequest& request = *built;
    EngineArguments = request.text;

    platform::FileStamp before = platform::StampOf(ResultFile);
    int64_t t0 = platform::PerformanceCounter();
    EngineOutcome outcome = RunEngine(request.arguments);
    // The session ended meanwhile: the program has said goodbye and saved.
    if (!platform::MainWindowExists()) return;
    int64_t t1 = platform::PerformanceCounter();
    bool written = !(platform::StampOf(ResultFile) == before);
    platform::ClipboardSetText(EngineArguments);
    int n = ImportResultFile();
    ShowImportedRows();
    int64_t t2 = platform::PerformanceCounter();
    platform::SetCaption(SearchCaption(t0, t1, t2, MainWindow.PerfFrequency, EngineArguments));
    std::string failure = EngineFailureMessage(outcome, written);
    SpeakText(failure.empty() ? SearchSummary(n) : failure);
    SetStatusText(StatusTextFor(1));
}

} // namespace

void RunSearch() {
    Search(nullptr);
}

void RunFolderSearch(const std::string& folder) {
    Search(&folder);
}

void ResetSearchState() {
    ResetSearchHistory();
    ResultRows.Clear();
    EngineArguments.clear();
}
