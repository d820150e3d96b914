#include "search/run_search.h"

#include "app/layout.h"
#include "app/main_window.h"
#include "app/text.h"
#include "app/version.h"
#include "appearance/toolbar.h"
#include "platform/platform.h"
#include "results/result_list.h"
#include "search/command_line.h"
#include "search/filter_groups.h"
#include "search/history.h"
#include "search/result_rows.h"
#include "search/search_term.h"
#include "searchbox/status.h"
#include "settings/settings.h"
#include "speech/speech.h"

std::string EngineArguments;

namespace {

constexpr uint32_t kCommandNotFound = 9009; // the interpreter found no `es`
constexpr uint32_t kServiceNotRunning = 8;  // the engine's own service is down

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

void ShowSearchPlaceholder() {
    ShowLoading();
    platform::ListSetColumnHeader(0, "Name");
}

std::string ResultHeader() {
    std::string count =
        ResultRows.Name(1) == EmptyRowName ? "0" : GroupedNumber(ResultRows.Count());
    return " Name  (" + count + ")";
}

} // namespace

std::string EngineFailureMessage(bool started, uint32_t exitCode) {
    if (started && exitCode == 0) return {};
    if (!started || exitCode == kCommandNotFound || exitCode == kServiceNotRunning)
        return "Everything Not Found";
    return "Search Failed";
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

void RunSearch() {
    LayoutWindow();
    if (platform::FileExists("filelist.txt")) platform::RemoveFile("filelist.txt");
    int kind = Settings.SearchType;
    Settings.SearchTerm = LowerCase(TrimBlanks(platform::SearchBoxText()));
    if (kind != Custom && !ValidateSearchTerm()) {
        SpeakText("Invalid Search Term");
        return;
    }
    Settings.LastSearchType = kind;
    RecordSearchTerm();
    ShowSearchPlaceholder();
    const std::string& term = Settings.SearchTerm;
    SpeakTextAndWait(Announcement(kind, term));
    std::string exclusions = kind == Custom ? std::string() : BuildExclusionTerms();
    std::string raw = EngineArgumentsFor(kind, exclusions, Settings.SortType, Settings.MaxResults,
                                         kind == Custom ? WithoutLineBreaks(term) : term);
    EngineArguments = EscapeForInterpreter(raw);
    ExpandFilterGroups(EngineArguments);

    int64_t t0 = platform::PerformanceCounter();
    platform::ProcessResult run = platform::RunHiddenAndWait(EngineCommandPrefix + EngineArguments);
    int64_t t1 = platform::PerformanceCounter();
    platform::ClipboardSetText(EngineArguments);
    int n = ImportResultFile();
    platform::ListSetColumnHeader(0, ResultHeader());
    ShowResultRows();
    CreateToolbar();
    if (Settings.FocusOnRE != 0) {
        platform::SearchBoxPostSelectAll();
        platform::SetFocusTo(platform::SearchBoxId);
    }
    int64_t t2 = platform::PerformanceCounter();
    platform::SetCaption(SearchCaption(t0, t1, t2, MainWindow.PerfFrequency, EngineArguments));
    std::string failure = EngineFailureMessage(run.started, run.exitCode);
    SpeakText(failure.empty() ? SearchSummary(n) : failure);
    SetStatusText(StatusTextFor(1));
}
