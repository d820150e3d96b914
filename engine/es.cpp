// One run: read the arguments, ask the index or walk the roots, order the matches, write them.
#include "engine/es.h"
#include "engine/index.h"

namespace es {

namespace {

// LUMAFIND_ES_INDEX: "off" walks always; "only" fails rather than walk (for tests that must
// go through the index); anything else asks the index first.
constexpr int ExitNoIndex = 5;

std::vector<Match> Search(const Request& request) {
    std::vector<Match> matches = Walk(request, FindRoots());
    // Sizes and dates are read only for the matches that are written, unless the order needs
    // the date of every match.
    bool needInfo = request.wantSize || request.wantDate;
    bool byDate = request.sortBy == SortBy::DateModified;
    if (byDate) ReadInfo(matches);
    SortMatches(request, matches);
    if (needInfo && !byDate) ReadInfo(matches);
    return matches;
}

int Write(const Request& request, std::string_view text) {
    if (!request.exportCsv) {
        WriteOut(text);
        return ExitOk;
    }
    if (!ReplaceWith(request.exportFile, text)) {
        WriteError("es: cannot write the export file " + request.exportFile);
        return ExitExportFailed;
    }
    return ExitOk;
}

} // namespace

int Run(const std::vector<std::string>& args) {
    Request request;
    std::string message;
    int code = ParseArguments(args, request, message);
    if (code != ExitOk) {
        WriteError(message);
        return code;
    }
    std::string mode = Environment("LUMAFIND_ES_INDEX");
    if (mode != "off") {
        std::string answer;
        std::string_view text;
        if (index::AskIndex(args, FindRoots(), answer, text) == index::Asked::Answered)
            return Write(request, text);
        if (mode == "only") {
            WriteError("es: the index cannot answer");
            return ExitNoIndex;
        }
    }
    std::vector<Match> matches = Search(request);
    return Write(request, request.exportCsv ? FormatCsv(request, matches) : FormatList(matches));
}

int Main(const std::vector<std::string>& args) {
    return Run(args);
}

} // namespace es
