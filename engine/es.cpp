// One run: read the arguments, walk the roots, order the matches, write them.
#include "engine/es.h"

namespace es {

int Run(const std::vector<std::string>& args) {
    Request request;
    std::string message;
    int code = ParseArguments(args, request, message);
    if (code != ExitOk) {
        WriteError(message);
        return code;
    }
    std::vector<Match> matches = Walk(request, FindRoots());
    // Sizes and dates are read only for the matches that are written, unless the order needs
    // the date of every match.
    bool needInfo = request.wantSize || request.wantDate;
    bool byDate = request.sortBy == SortBy::DateModified;
    if (byDate) ReadInfo(matches);
    SortMatches(request, matches);
    if (needInfo && !byDate) ReadInfo(matches);
    if (!request.exportCsv) {
        WriteOut(FormatList(matches));
        return ExitOk;
    }
    if (!ReplaceWith(request.exportFile, FormatCsv(request, matches))) {
        WriteError("es: cannot write the export file " + request.exportFile);
        return ExitExportFailed;
    }
    return ExitOk;
}

} // namespace es
