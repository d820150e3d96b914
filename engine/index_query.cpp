// Answering a request from the store, with the walk's own rules: the same terms, the same
// folders passed over, the same order.
#include "engine/index.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace es::index {

namespace {

// Each folder's path made once per answer, all in one buffer: no allocation per folder.
struct Paths {
    std::string text;
    std::vector<uint32_t> at, size; // size 0: not made yet (a made path ends with '\\')
    std::vector<uint8_t> plain;     // ASCII without a double quote: written as it is
    // Room for paths of 96 bytes on average: growing would copy the text and fault in its
    // pages twice; pages never written cost nothing.
    explicit Paths(size_t n) : at(n, 0), size(n, 0), plain(n, 0) { text.reserve(n * 96); }
    std::string_view Of(uint32_t f) const { return std::string_view(text).substr(at[f], size[f]); }
};

struct Scan {
    const Store& s;
    const Request& request;
    Paths folded;                 // folded shown path of each folder, ending with '\'
    std::vector<uint8_t> entered; // 0 not yet known, 1 walked, 2 passed over
    Paths prefixes;               // shown path of each folder, ending with a separator
    bool needPath = false;        // some term must see each entry's full path
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

bool IsPlain(std::string_view text) {
    return IsAscii(text) && text.find('"') == text.npos;
}

// Makes folder f's path in paths from its parent's; `top` gives a root's path.
template <typename Top, typename Name>
std::string_view MakePath(const Store& s, Paths& paths, uint32_t f, Top top, Name name) {
    if (paths.size[f] != 0) return paths.Of(f);
    const Folder& folder = s.folders[f];
    if (folder.entry == None) {
        std::string path = top(folder.root);
        paths.at[f] = static_cast<uint32_t>(paths.text.size());
        paths.text += path;
        paths.plain[f] = IsPlain(path);
    } else {
        MakePath(s, paths, folder.parent, top, name);
        paths.at[f] = static_cast<uint32_t>(paths.text.size());
        paths.text.append(paths.text, paths.at[folder.parent], paths.size[folder.parent]);
        std::string_view own = name(s.entries[folder.entry]);
        paths.text += own;
        paths.text += '\\';
        paths.plain[f] = paths.plain[folder.parent] && IsPlain(own);
    }
    paths.size[f] = static_cast<uint32_t>(paths.text.size() - paths.at[f]);
    return paths.Of(f);
}

std::string_view FoldedPath(Scan& scan, uint32_t f) {
    const Store& s = scan.s;
    auto top = [&s](uint32_t root) {
        std::string path = Fold(ShownPath(s.roots[root]));
        if (!path.ends_with('\\')) path += '\\';
        return path;
    };
    return MakePath(s, scan.folded, f, top, [&s](const Entry& e) { return FoldedOf(s, e); });
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

// Without a term that needs every entry's path, the path terms left are excluded folders, which
// can only end within a name that holds a '\\' (possible on Linux); the other entries were
// passed over with their folders. Such a term cannot match an empty path, so an entry that fails
// without its path fails with it.
bool Matches(const Scan& scan, const Entry& e, std::string& path) {
    const Request& request = scan.request;
    std::string_view name = FoldedOf(scan.s, e);
    bool isFolder = (e.flags & ShownAsFolder) != 0;
    if (!scan.needPath) {
        if (!MatchesEntry(request, name, {}, isFolder)) return false;
        if (!request.usesPath || name.find('\\') == name.npos) return true;
    }
    path = scan.folded.Of(e.folder);
    path += name;
    return MatchesEntry(request, name, path, isFolder);
}

// The matches among entries [from, to); reads the scan only.
void SelectPart(const Scan& scan, const std::vector<uint8_t>& asked, uint32_t from, uint32_t to,
                std::vector<uint32_t>& found) {
    const Store& s = scan.s;
    bool everyRoot = std::find(asked.begin(), asked.end(), 0) == asked.end();
    std::string path;
    for (uint32_t i = from; i < to; ++i) {
        if (i + 64 < to) {
            __builtin_prefetch(&s.entries[i + 64]);
            __builtin_prefetch(s.pool.data() + s.entries[i + 32].name);
        }
        const Entry& e = s.entries[i];
        if (!(e.flags & Alive)) continue;
        if (scan.request.usesPath && scan.entered[e.folder] != 1) continue;
        if (!everyRoot && !asked[s.folders[e.folder].root]) continue;
        if (Matches(scan, e, path)) found.push_back(i);
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
std::string_view ShownPrefix(Scan& scan, uint32_t f) {
    const Store& s = scan.s;
    auto top = [&s](uint32_t root) { return ShownPath(JoinHost(s.roots[root], "")); };
    return MakePath(s, scan.prefixes, f, top, [&s](const Entry& e) { return NameOf(s, e); });
}

// Compares a1+a2 with b1+b2 without joining them.
int CompareJoined(std::string_view a1, std::string_view a2, std::string_view b1,
                  std::string_view b2) {
    while (true) {
        if (a1.empty() && !a2.empty()) std::swap(a1, a2);
        if (b1.empty() && !b2.empty()) std::swap(b1, b2);
        if (a1.empty() || b1.empty()) return a1.empty() ? (b1.empty() ? 0 : -1) : 1;
        size_t common = std::min(a1.size(), b1.size());
        if (int c = a1.substr(0, common).compare(b1.substr(0, common)); c != 0) return c;
        a1.remove_prefix(common);
        b1.remove_prefix(common);
    }
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
        // Both made before either is looked at: making one may move the other.
        FoldedPath(scan, ea.folder);
        FoldedPath(scan, eb.folder);
        int c = CompareJoined(scan.folded.Of(ea.folder), FoldedOf(s, ea), scan.folded.Of(eb.folder),
                              FoldedOf(s, eb));
        if (c != 0) return c < 0;
        ShownPrefix(scan, ea.folder);
        ShownPrefix(scan, eb.folder);
        return CompareJoined(scan.prefixes.Of(ea.folder), NameOf(s, ea),
                             scan.prefixes.Of(eb.folder), NameOf(s, eb)) < 0;
    }
};

// Orders keys (place << 32 | entry) by the place, which is unique and below 2^24: two passes of
// a counting sort, 12 bits each.
void SortByPlace(std::vector<uint64_t>& keys) {
    constexpr int Bits = 12;
    constexpr size_t Buckets = size_t{1} << Bits;
    std::vector<uint64_t> other(keys.size());
    std::vector<uint32_t> starts(Buckets);
    for (int shift = 32; shift < 32 + 2 * Bits; shift += Bits) {
        std::fill(starts.begin(), starts.end(), 0);
        for (uint64_t key : keys)
            ++starts[(key >> shift) & (Buckets - 1)];
        uint32_t at = 0;
        for (uint32_t& start : starts)
            at += std::exchange(start, at);
        for (uint64_t key : keys)
            other[starts[(key >> shift) & (Buckets - 1)]++] = key;
        keys.swap(other);
    }
}

// Puts the first `keep` of found in name order by each entry's place in it: no name is read.
void SortByRank(const Store& s, std::vector<uint32_t>& found, size_t keep) {
    std::vector<uint64_t> keys;
    keys.reserve(found.size());
    for (uint32_t i : found)
        keys.push_back(static_cast<uint64_t>(RankOf(s.entries[i])) << 32 | i);
    if (keys.size() > 1000)
        SortByPlace(keys);
    else
        std::partial_sort(keys.begin(), keys.begin() + static_cast<ptrdiff_t>(keep), keys.end());
    for (size_t k = 0; k < keep; ++k)
        found[k] = static_cast<uint32_t>(keys[k]);
}

// Sorts the first `keep` of found into the walk's order, by keys held side by side, so that
// most comparisons touch no entry.
void SortFound(Scan& scan, bool byDate, std::vector<uint32_t>& found, size_t keep) {
    const Store& s = scan.s;
    Order order{scan, byDate};
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
        Key key{byDate ? e.modified : 0, {0, 0}, i};
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
        std::partial_sort(keys.begin(), keys.begin() + static_cast<ptrdiff_t>(keep), keys.end(),
                          less);
    for (size_t k = 0; k < keep; ++k)
        found[k] = keys[k].index;
}

void AppendRow(Scan& scan, const Entry& e, std::string& out, std::string& shown) {
    const Store& s = scan.s;
    const Request& request = scan.request;
    std::string_view prefix = ShownPrefix(scan, e.folder), name = NameOf(s, e);
    bool plain = scan.prefixes.plain[e.folder] && IsPlain(name);
    if (!request.exportCsv && plain) {
        out += prefix; // what AppendListLine writes, without joining the two first
        out += name;
        out += '\n';
        return;
    }
    if (request.exportCsv && !request.wantSize && !request.wantDate && plain) {
        out += '"'; // what AppendCsvRow writes
        out += prefix;
        out += name;
        out += "\"\r\n";
        return;
    }
    shown = prefix;
    shown += name;
    if (!request.exportCsv) return AppendListLine(out, shown);
    bool isFolder = (e.flags & ShownAsFolder) != 0;
    AppendCsvRow(out, request, isFolder, (e.flags & Directory) ? 0 : e.size, e.modified, shown);
}

} // namespace

// Sorted by eight bytes of each name and its number, 16 bytes an entry while it runs, so that
// little of the memory it took stays with the process.
bool NameRanks(Store& s) {
    if (s.alive > MostRanked) return false;
    size_t n = s.folders.size();
    Request request;
    Scan scan{s, request, Paths(n), std::vector<uint8_t>(n, 0), Paths(n)};
    Order order{scan, false};
    struct Key {
        uint64_t prefix; // the folded name's first 8 bytes, in their order
        uint32_t index;
    };
    std::vector<Key> keys;
    keys.reserve(s.alive);
    for (uint32_t i = 0; i < s.entries.size(); ++i) {
        const Entry& e = s.entries[i];
        if (!(e.flags & Alive)) continue;
        std::string_view name = FoldedOf(s, e);
        Key key{0, i};
        for (size_t b = 0; b < 8; ++b)
            key.prefix =
                key.prefix << 8 | (b < name.size() ? static_cast<unsigned char>(name[b]) : 0);
        keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end(), [&order](const Key& a, const Key& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return order.Less(a.index, b.index);
    });
    for (uint32_t k = 0; k < keys.size(); ++k) {
        Entry& e = s.entries[keys[k].index];
        e.rankLow = static_cast<uint8_t>(k);
        e.rankHigh = static_cast<uint16_t>(k >> 8);
    }
    return true;
}

void Answer(const Store& s, const Request& request, const std::vector<uint32_t>& rootsAsked,
            bool ranked, std::string& out, const Part& part) {
    size_t n = s.folders.size();
    Scan scan{s, request, Paths(n), std::vector<uint8_t>(n, 0), Paths(n)};
    scan.needPath = NeedsPath(request);
    std::vector<uint32_t> found = Select(scan, rootsAsked);
    size_t keep = found.size();
    if (request.limit > 0 && static_cast<uint64_t>(request.limit) < keep)
        keep = static_cast<size_t>(request.limit);
    if (ranked && request.sortBy == SortBy::Name)
        SortByRank(s, found, keep);
    else
        SortFound(scan, request.sortBy == SortBy::DateModified, found, keep);
    if (request.exportCsv) out += CsvHeader(request);
    // Pieces of 128 KiB: the first reaches es early, and the text never takes much memory.
    constexpr size_t PartBytes = 128 << 10;
    out.reserve(out.size() + (part ? PartBytes + 4096 : keep * 80));
    // Rows come in name order, scattered over the store: with many, every folder's path is
    // made in the store's order first, and each row's entry and name are fetched ahead.
    if (keep > n / 8)
        for (uint32_t f = 0; f < n; ++f)
            if (s.folders[f].alive) ShownPrefix(scan, f);
    constexpr size_t Ahead = 8;
    std::string shown;
    for (size_t k = 0; k < keep; ++k) {
        if (k + 2 * Ahead < keep) __builtin_prefetch(&s.entries[found[k + 2 * Ahead]]);
        if (k + Ahead < keep) __builtin_prefetch(s.pool.data() + s.entries[found[k + Ahead]].name);
        AppendRow(scan, s.entries[found[k]], out, shown);
        if (part && out.size() >= PartBytes) {
            part(out);
            out.clear();
        }
    }
}

std::vector<uint32_t> Matches(const Store& s, const Request& request,
                              const std::vector<uint32_t>& rootsAsked) {
    size_t n = s.folders.size();
    Scan scan{s, request, Paths(n), std::vector<uint8_t>(n, 0), Paths(n)};
    scan.needPath = NeedsPath(request);
    return Select(scan, rootsAsked);
}

} // namespace es::index
