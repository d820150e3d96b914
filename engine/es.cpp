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

int ExportFailed(const Request& request) {
    WriteError("es: cannot write the export file " + request.exportFile);
    return ExitExportFailed;
}

int Write(const Request& request, std::string_view text) {
    if (!request.exportCsv) {
        WriteOut(text);
        return ExitOk;
    }
    return ReplaceWith(request.exportFile, text) ? ExitOk : ExportFailed(request);
}

// The export is written as the index's answer arrives, beside the old file, and renamed over
// it once whole. False when the index could not answer; nothing of its answer is kept then.
bool ExportThroughIndex(const std::vector<std::string>& args, const Request& request, int& code) {
    std::string host = HostPath(request.exportFile), temp = TemporaryFor(host);
    NewFile file;
    if (!CreateNewFile(temp, file)) {
        code = ExportFailed(request);
        return true;
    }
    bool written = true;
    auto piece = [&](std::string_view text) { return written = AppendToFile(file, text); };
    bool answered = index::AskIndex(args, FindRoots(), piece) == index::Asked::Answered;
    if (answered && FinishNewFile(file) && RenameOver(temp, host)) {
        code = ExitOk;
        return true;
    }
    if (file.handle != -1) CloseNewFile(file);
    RemoveFile(temp);
    if (!answered && written) return false;
    code = ExportFailed(request);
    return true;
}

// Standard output takes nothing before the whole answer is there: a cut one is walked again.
// The pieces are kept as they came, not joined: the whole list is megabytes.
bool ListThroughIndex(const std::vector<std::string>& args, int& code) {
    std::vector<std::string> pieces;
    auto piece = [&pieces](std::string_view part) {
        pieces.emplace_back(part);
        return true;
    };
    if (index::AskIndex(args, FindRoots(), piece) != index::Asked::Answered) return false;
    for (const std::string& text : pieces)
        WriteOut(text);
    code = ExitOk;
    return true;
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
        bool done = request.exportCsv ? ExportThroughIndex(args, request, code)
                                      : ListThroughIndex(args, code);
        if (done) return code;
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
