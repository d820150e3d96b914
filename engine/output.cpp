// Order of the matches and the text written for them.
#include "engine/es.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace es {

namespace {

// Name order, ignoring case. Equal names are ordered later, by their full paths.
bool ByName(const Match& a, const Match& b) {
    return a.folded < b.folded;
}

bool NewestFirst(const Match& a, const Match& b) {
    if (a.modified != b.modified) return a.modified > b.modified;
    return ByName(a, b);
}

// Ties go by the full path as written, ignoring case like the names, then exactly: the host's
// own path would put "a/x" before "a0/x" on Linux and after it on Windows. Only tied matches
// need the key, so it is made for them alone.
void OrderByPath(std::vector<Match>& matches, size_t from, size_t to) {
    struct Key {
        std::string folded, shown;
        size_t index;
    };
    std::vector<Key> keys;
    keys.reserve(to - from);
    for (size_t i = from; i < to; ++i) {
        std::string shown = ShownPath(matches[i].host);
        keys.push_back({Fold(shown), std::move(shown), i});
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.folded != b.folded ? a.folded < b.folded : a.shown < b.shown;
    });
    std::vector<Match> ordered;
    ordered.reserve(keys.size());
    for (const Key& k : keys)
        ordered.push_back(std::move(matches[k.index]));
    std::move(ordered.begin(), ordered.end(), matches.begin() + static_cast<std::ptrdiff_t>(from));
}

std::string DateText(int64_t seconds) {
    std::tm t{};
    if (!LocalTime(seconds, t)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", t.tm_mon + 1, t.tm_mday,
                  t.tm_year + 1900, t.tm_hour, t.tm_min);
    return text;
}

} // namespace

// Sorts and cuts to the limit; only the kept matches need to be in order.
void SortMatches(const Request& request, std::vector<Match>& matches) {
    size_t keep = matches.size();
    if (request.limit > 0 && static_cast<uint64_t>(request.limit) < keep)
        keep = static_cast<size_t>(request.limit);
    auto less = request.sortBy == SortBy::DateModified ? NewestFirst : ByName;
    auto tied = [less](const Match& a, const Match& b) { return !less(a, b) && !less(b, a); };
    std::partial_sort(matches.begin(), matches.begin() + keep, matches.end(), less);
    // Matches beyond the cut that tie with the last kept one compete for its place.
    size_t end = keep;
    if (keep > 0 && keep < matches.size()) {
        const Match& last = matches[keep - 1];
        end = static_cast<size_t>(std::partition(matches.begin() + keep, matches.end(),
                                                 [&](const Match& m) { return tied(m, last); }) -
                                  matches.begin());
    }
    for (size_t i = 0; i < end;) {
        size_t j = i + 1;
        while (j < end && tied(matches[i], matches[j]))
            ++j;
        if (j - i > 1) OrderByPath(matches, i, j);
        i = j;
    }
    matches.resize(keep);
}

bool IsAscii(std::string_view text) {
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) { // eight bytes at a time: every row passes here
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080u) return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    return true;
}

std::string CsvHeader(const Request& request) {
    std::string out;
    if (request.wantSize) out += "Size,";
    if (request.wantDate) out += "Date Modified,";
    return out + "Filename\r\n";
}

// The full name goes in double quotes, an inner quote doubled.
void AppendCsvRow(std::string& out, const Request& request, bool isFolder, int64_t size,
                  int64_t modified, std::string_view shown) {
    if (request.wantSize) {
        if (!isFolder) out += std::to_string(size);
        out += ',';
    }
    if (request.wantDate) out += DateText(modified) + ',';
    out += '"';
    std::string valid;
    std::string_view name = IsAscii(shown) ? shown : (valid = ValidUtf8(shown));
    for (size_t quote; (quote = name.find('"')) != std::string_view::npos;) {
        out.append(name.substr(0, quote + 1));
        out += '"';
        name.remove_prefix(quote + 1);
    }
    out.append(name);
    out += "\"\r\n";
}

void AppendListLine(std::string& out, std::string_view shown) {
    if (IsAscii(shown))
        out.append(shown);
    else
        out += ValidUtf8(shown);
    out += '\n';
}

std::string FormatCsv(const Request& request, const std::vector<Match>& matches) {
    std::string out = CsvHeader(request);
    for (const Match& m : matches)
        AppendCsvRow(out, request, m.isFolder, m.size, m.modified, ShownPath(m.host));
    return out;
}

std::string FormatList(const std::vector<Match>& matches) {
    std::string out;
    for (const Match& m : matches)
        AppendListLine(out, ShownPath(m.host));
    return out;
}

// Writes beside the final name and renames into place, so the old file stays whole until the
// new one is complete.
std::string TemporaryFor(const std::string& host) {
    return host + "." + std::to_string(ProcessId()) + ".tmp";
}

bool ReplaceWith(const std::string& path, std::string_view content) {
    std::string host = HostPath(path);
    std::string temp = TemporaryFor(host);
    if (WriteNewFile(temp, content) && RenameOver(temp, host)) return true;
    RemoveFile(temp);
    return false;
}

} // namespace es
