// Answering a request from the store, with the walk's own rules: the same terms, the same
// folders passed over, the same order.
#include "engine/index.h"

#include <algorithm>

namespace es::index {

namespace {

struct Scan {
    const Store& s;
    const Request& request;
    std::vector<std::string> folded; // folded shown path of each folder, ending with '\'
    std::vector<uint8_t> entered;    // 0 not yet known, 1 walked, 2 passed over
    std::vector<std::string> hosts;
    std::vector<uint8_t> hostKnown;
};

const std::string& FoldedPath(Scan& scan, uint32_t f) {
    if (!scan.folded[f].empty()) return scan.folded[f];
    const Folder& folder = scan.s.folders[f];
    std::string path;
    if (folder.entry == None) {
        path = Fold(ShownPath(scan.s.roots[folder.root]));
        if (!path.ends_with('\\')) path += '\\';
    } else {
        path = FoldedPath(scan, folder.parent);
        path += FoldedOf(scan.s, scan.s.entries[folder.entry]);
        path += '\\';
    }
    scan.folded[f] = std::move(path);
    return scan.folded[f];
}

// Only terms on the path can pass a folder over.
bool Entered(Scan& scan, uint32_t f) {
    if (scan.entered[f]) return scan.entered[f] == 1;
    const Folder& folder = scan.s.folders[f];
    bool in = (folder.parent == None || Entered(scan, folder.parent)) &&
              (!scan.request.usesPath || !PruneFolder(scan.request, FoldedPath(scan, f)));
    scan.entered[f] = in ? 1 : 2;
    return in;
}

const std::string& HostPathOf(Scan& scan, uint32_t f) {
    if (scan.hostKnown[f]) return scan.hosts[f];
    const Folder& folder = scan.s.folders[f];
    scan.hosts[f] = folder.entry == None ? scan.s.roots[folder.root]
                                         : JoinHost(HostPathOf(scan, folder.parent),
                                                    NameOf(scan.s, scan.s.entries[folder.entry]));
    scan.hostKnown[f] = 1;
    return scan.hosts[f];
}

std::vector<uint32_t> Select(Scan& scan, const std::vector<uint32_t>& rootsAsked) {
    const Store& s = scan.s;
    std::vector<uint8_t> asked(s.roots.size(), 0);
    for (uint32_t r : rootsAsked)
        asked[r] = 1;
    std::vector<uint32_t> found;
    std::string path;
    for (uint32_t i = 0; i < s.entries.size(); ++i) {
        const Entry& e = s.entries[i];
        if (!(e.flags & Alive) || !asked[s.folders[e.folder].root]) continue;
        if (!Entered(scan, e.folder)) continue;
        std::string_view name = FoldedOf(s, e);
        if (scan.request.usesPath) {
            path = FoldedPath(scan, e.folder);
            path += name;
        }
        if (MatchesEntry(scan.request, name, path, (e.flags & ShownAsFolder) != 0))
            found.push_back(i);
    }
    return found;
}

Match MatchOf(Scan& scan, uint32_t i) {
    const Entry& e = scan.s.entries[i];
    Match m;
    m.host = JoinHost(HostPathOf(scan, e.folder), NameOf(scan.s, e));
    m.folded = FoldedOf(scan.s, e);
    m.isFolder = (e.flags & ShownAsFolder) != 0;
    m.size = (e.flags & Directory) ? 0 : e.size;
    m.modified = e.modified;
    m.infoRead = true;
    return m;
}

} // namespace

// The order is the walk's (SortMatches): the entries are put in order by name or date here,
// and those that tie for a place are left to SortMatches, which orders them by path.
std::vector<Match> Answer(const Store& s, const Request& request,
                          const std::vector<uint32_t>& rootsAsked) {
    size_t n = s.folders.size();
    Scan scan{s,
              request,
              std::vector<std::string>(n),
              std::vector<uint8_t>(n, 0),
              std::vector<std::string>(n),
              std::vector<uint8_t>(n, 0)};
    std::vector<uint32_t> found = Select(scan, rootsAsked);
    auto byName = [&s](uint32_t a, uint32_t b) {
        return FoldedOf(s, s.entries[a]) < FoldedOf(s, s.entries[b]);
    };
    auto newest = [&s, byName](uint32_t a, uint32_t b) {
        int64_t ma = s.entries[a].modified, mb = s.entries[b].modified;
        return ma != mb ? ma > mb : byName(a, b);
    };
    bool byDate = request.sortBy == SortBy::DateModified;
    auto less = [&](uint32_t a, uint32_t b) { return byDate ? newest(a, b) : byName(a, b); };
    size_t keep = found.size();
    if (request.limit > 0 && static_cast<uint64_t>(request.limit) < keep)
        keep = static_cast<size_t>(request.limit);
    std::partial_sort(found.begin(), found.begin() + keep, found.end(), less);
    size_t end = keep;
    if (keep > 0 && keep < found.size()) {
        uint32_t last = found[keep - 1];
        auto tied = [&](uint32_t m) { return !less(m, last) && !less(last, m); };
        end = static_cast<size_t>(std::partition(found.begin() + keep, found.end(), tied) -
                                  found.begin());
    }
    std::vector<Match> matches;
    matches.reserve(end);
    for (size_t k = 0; k < end; ++k)
        matches.push_back(MatchOf(scan, found[k]));
    SortMatches(request, matches);
    return matches;
}

} // namespace es::index
