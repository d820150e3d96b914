// Answering a request from the store, with the walk's own rules: the same terms, the same
// folders passed over, the same order.
#include "engine/index.h"

#include <algorithm>
#include <thread>

namespace es::index {

namespace {

struct Scan {
    const Store& s;
    const Request& request;
    std::vector<std::string> folded;   // folded shown path of each folder, ending with '\'
    std::vector<uint8_t> entered;      // 0 not yet known, 1 walked, 2 passed over
    std::vector<std::string> prefixes; // shown path of each folder, ending with a separator
    bool needPath = false;             // some term must see each entry's full path
};

// An excluded folder path ("!c:\\windows\\") ends with a separator, so it can only occur in an
// entry's path within its folder's path (unless the name holds one), and that folder was
// passed over already: such terms need no entry's path. The program sends two of them with
// every search.
bool NeedsPath(const Request& request) {
    for (const Term& term : request.terms)
        for (const Pattern& p : term.alternatives) {
            bool folderOnly =
                term.exclude && p.onPath && !p.wildcard && !p.isExt && p.text.ends_with('\\');
            if (p.onPath && !folderOnly) return true;
        }
    return false;
}

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

// The matches among entries [from, to); reads the scan only.
void SelectPart(const Scan& scan, const std::vector<uint8_t>& asked, uint32_t from, uint32_t to,
                std::vector<uint32_t>& found) {
    const Store& s = scan.s;
    std::string path;
    for (uint32_t i = from; i < to; ++i) {
        const Entry& e = s.entries[i];
        if (!(e.flags & Alive) || !asked[s.folders[e.folder].root]) continue;
        std::string_view name = FoldedOf(s, e);
        if (scan.request.usesPath && scan.entered[e.folder] != 1) continue;
        path.clear();
        // A name may hold a '\\' on Linux, and then a folder path can end within it.
        if (scan.needPath || (scan.request.usesPath && name.find('\\') != name.npos)) {
            path = scan.folded[e.folder];
            path += name;
        }
        if (MatchesEntry(scan.request, name, path, (e.flags & ShownAsFolder) != 0))
            found.push_back(i);
    }
}

// Only terms on the path can pass folders over, and need the folders' paths: those are made
// first, so that the entries can be matched on two threads.
std::vector<uint32_t> Select(Scan& scan, const std::vector<uint32_t>& rootsAsked) {
    const Store& s = scan.s;
    std::vector<uint8_t> asked(s.roots.size(), 0);
    for (uint32_t r : rootsAsked)
        asked[r] = 1;
    if (scan.request.usesPath)
        for (uint32_t f = 0; f < s.folders.size(); ++f)
            if (s.folders[f].alive) Entered(scan, f);
    uint32_t n = static_cast<uint32_t>(s.entries.size()), half = n / 2;
    std::vector<uint32_t> found, second;
    if (n < 20000) {
        SelectPart(scan, asked, 0, n, found);
        return found;
    }
    std::thread other(SelectPart, std::cref(scan), std::cref(asked), half, n, std::ref(second));
    SelectPart(scan, asked, 0, half, found);
    other.join();
    found.insert(found.end(), second.begin(), second.end());
    return found;
}

// What a folder's entries' shown paths start with, ending with a separator.
const std::string& ShownPrefix(Scan& scan, uint32_t f) {
    if (!scan.prefixes[f].empty()) return scan.prefixes[f];
    const Folder& folder = scan.s.folders[f];
    if (folder.entry == None) {
        scan.prefixes[f] = ShownPath(JoinHost(scan.s.roots[folder.root], ""));
    } else {
        std::string prefix = ShownPrefix(scan, folder.parent);
        prefix += NameOf(scan.s, scan.s.entries[folder.entry]);
        prefix += '\\';
        scan.prefixes[f] = std::move(prefix);
    }
    return scan.prefixes[f];
}

// Compares a1+a2 with b1+b2 without joining them.
int CompareJoined(std::string_view a1, std::string_view a2, std::string_view b1,
                  std::string_view b2) {
    size_t common = std::min(a1.size(), b1.size());
    if (int c = a1.substr(0, common).compare(b1.substr(0, common)); c != 0) return c;
    if (a1.size() > common) return CompareJoined(a1.substr(common), a2, b2, {});
    if (b1.size() > common) return CompareJoined(a2, {}, b1.substr(common), b2);
    return a2.compare(b2);
}

// The walk's order (SortMatches): by name or newest first, ties by the full path as written,
// folded, then exactly.
struct Order {
    Scan& scan;
    bool byDate;
    bool Less(uint32_t a, uint32_t b) const {
        const Store& s = scan.s;
        const Entry& ea = s.entries[a];
        const Entry& eb = s.entries[b];
        if (byDate && ea.modified != eb.modified) return ea.modified > eb.modified;
        if (int c = FoldedOf(s, ea).compare(FoldedOf(s, eb)); c != 0) return c < 0;
        int c = CompareJoined(FoldedPath(scan, ea.folder), FoldedOf(s, ea),
                              FoldedPath(scan, eb.folder), FoldedOf(s, eb));
        if (c != 0) return c < 0;
        return CompareJoined(ShownPrefix(scan, ea.folder), NameOf(s, ea),
                             ShownPrefix(scan, eb.folder), NameOf(s, eb)) < 0;
    }
};

} // namespace

std::string Answer(const Store& s, const Request& request,
                   const std::vector<uint32_t>& rootsAsked) {
    size_t n = s.folders.size();
    Scan scan{s, request, std::vector<std::string>(n), std::vector<uint8_t>(n, 0),
              std::vector<std::string>(n)};
    scan.needPath = NeedsPath(request);
    std::vector<uint32_t> found = Select(scan, rootsAsked);
    size_t keep = found.size();
    if (request.limit > 0 && static_cast<uint64_t>(request.limit) < keep)
        keep = static_cast<size_t>(request.limit);
    Order order{scan, request.sortBy == SortBy::DateModified};
    // Sorted by keys held side by side, so that most comparisons touch no entry.
    struct Key {
        int64_t modified;
        uint64_t prefix[2]; // the folded name's first 16 bytes, in their order
        uint32_t index;
    };
    std::vector<Key> keys;
    keys.reserve(found.size());
    for (uint32_t i : found) {
        const Entry& e = s.entries[i];
        std::string_view name = FoldedOf(s, e);
        Key key{order.byDate ? e.modified : 0, {0, 0}, i};
        for (size_t b = 0; b < 16; ++b)
            key.prefix[b / 8] = (key.prefix[b / 8] << 8) |
                                (b < name.size() ? static_cast<unsigned char>(name[b]) : 0);
        keys.push_back(key);
    }
    auto less = [&order](const Key& a, const Key& b) {
        if (a.modified != b.modified) return a.modified > b.modified;
        if (a.prefix[0] != b.prefix[0]) return a.prefix[0] < b.prefix[0];
        if (a.prefix[1] != b.prefix[1]) return a.prefix[1] < b.prefix[1];
        return order.Less(a.index, b.index);
    };
    if (keep == keys.size())
        std::sort(keys.begin(), keys.end(), less);
    else
        std::partial_sort(keys.begin(), keys.begin() + keep, keys.end(), less);
    for (size_t k = 0; k < keep; ++k)
        found[k] = keys[k].index;
    std::string out = request.exportCsv ? CsvHeader(request) : "";
    out.reserve(keep * 96);
    std::string shown;
    for (size_t k = 0; k < keep; ++k) {
        const Entry& e = s.entries[found[k]];
        const std::string& prefix = ShownPrefix(scan, e.folder);
        if (!request.exportCsv && IsAscii(prefix) && IsAscii(NameOf(s, e))) {
            out += prefix; // what AppendListLine writes, without joining the two first
            out += NameOf(s, e);
            out += '\n';
            continue;
        }
        shown = prefix;
        shown += NameOf(s, e);
        if (!request.exportCsv) {
            AppendListLine(out, shown);
            continue;
        }
        bool isFolder = (e.flags & ShownAsFolder) != 0;
        AppendCsvRow(out, request, isFolder, (e.flags & Directory) ? 0 : e.size, e.modified, shown);
    }
    return out;
}

} // namespace es::index
