// Order of the matches and the text written for them.
#include "engine/es.h"

#include <algorithm>
#include <cstdio>

namespace es {

namespace {

bool ByName(const Match& a, const Match& b) {
    if (a.folded != b.folded) return a.folded < b.folded;
    return a.host < b.host;
}

bool NewestFirst(const Match& a, const Match& b) {
    if (a.modified != b.modified) return a.modified > b.modified;
    return ByName(a, b);
}

std::string DateText(int64_t seconds) {
    std::tm t{};
    if (!LocalTime(seconds, t)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", t.tm_mon + 1, t.tm_mday,
                  t.tm_year + 1900, t.tm_hour, t.tm_min);
    return text;
}

// The full name in double quotes, an inner quote doubled.
std::string QuotedName(const Match& m) {
    std::string name = ValidUtf8(ShownPath(m.host));
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

// Sorts and cuts to the limit; only the kept matches need to be in order.
void SortMatches(const Request& request, std::vector<Match>& matches) {
    size_t keep = matches.size();
    if (request.limit > 0 && static_cast<uint64_t>(request.limit) < keep)
        keep = static_cast<size_t>(request.limit);
    auto less = request.sortBy == SortBy::DateModified ? NewestFirst : ByName;
    std::partial_sort(matches.begin(), matches.begin() + keep, matches.end(), less);
    matches.resize(keep);
}

std::string FormatCsv(const Request& request, const std::vector<Match>& matches) {
    std::string out;
    if (request.wantSize) out += "Size,";
    if (request.wantDate) out += "Date Modified,";
    out += "Filename\r\n";
    for (const Match& m : matches) {
        if (request.wantSize) {
            if (!m.isFolder) out += std::to_string(m.size);
            out += ',';
        }
        if (request.wantDate) out += DateText(m.modified) + ',';
        out += QuotedName(m);
        out += "\r\n";
    }
    return out;
}

std::string FormatList(const std::vector<Match>& matches) {
    std::string out;
    for (const Match& m : matches)
        out += ValidUtf8(ShownPath(m.host)) + '\n';
    return out;
}

// Writes beside the final name and renames into place, so the old file stays whole until the
// new one is complete.
bool ReplaceWith(const std::string& path, const std::string& content) {
    std::string host = HostPath(path);
    std::string temp = host + "." + std::to_string(ProcessId()) + ".tmp";
    if (WriteNewFile(temp, content) && RenameOver(temp, host)) return true;
    RemoveFile(temp);
    return false;
}

} // namespace es
