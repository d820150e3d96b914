// The entries in memory: a pool of names, 32 bytes per entry, a table from (folder, name) to
// the entry, and the folders with their watches.
#include "engine/index.h"

namespace es::index {

namespace {

constexpr uint32_t Tomb = None - 1;

uint64_t HashOf(uint32_t folder, std::string_view name) {
    uint64_t h = 1469598103934665603ull ^ folder;
    for (char c : name)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h ^ (h >> 29);
}

void Rehash(Store& s, size_t tenths);

void TableInsert(Store& s, uint32_t entry) {
    if ((s.tableUsed + s.tableTombs + 1) * 10 > s.table.size() * 7) Rehash(s, 20);
    const Entry& e = s.entries[entry];
    size_t mask = s.table.size() - 1;
    for (size_t i = HashOf(e.folder, NameOf(s, e)) & mask;; i = (i + 1) & mask) {
        if (s.table[i] == None || s.table[i] == Tomb) {
            if (s.table[i] == Tomb) --s.tableTombs;
            s.table[i] = entry;
            ++s.tableUsed;
            return;
        }
    }
}

// Room for tenths/10 times the entries; the table is full at 70%.
void Rehash(Store& s, size_t tenths) {
    size_t size = 1024;
    while (size * 10 < (s.alive + 1) * tenths)
        size *= 2;
    s.table.assign(size, None);
    s.tableUsed = s.tableTombs = 0;
    for (uint32_t i = 0; i < s.entries.size(); ++i)
        if (s.entries[i].flags & Alive) TableInsert(s, i);
}

size_t SlotOf(const Store& s, uint32_t folder, std::string_view name) {
    if (s.table.empty()) return None;
    size_t mask = s.table.size() - 1;
    for (size_t i = HashOf(folder, name) & mask;; i = (i + 1) & mask) {
        uint32_t at = s.table[i];
        if (at == None) return None;
        if (at == Tomb) continue;
        const Entry& e = s.entries[at];
        if (e.folder == folder && NameOf(s, e) == name) return i;
    }
}

uint32_t NewFolder(Store& s) {
    if (!s.freeFolders.empty()) {
        uint32_t f = s.freeFolders.back();
        s.freeFolders.pop_back();
        return f;
    }
    s.folders.emplace_back();
    return static_cast<uint32_t>(s.folders.size() - 1);
}

void DropFolder(Store& s, uint32_t f, std::vector<int>& watches) {
    Folder& folder = s.folders[f];
    // A folder moved within the tree keeps its watch, which its new place may hold already.
    auto it = s.byWatch.find(folder.watch);
    if (folder.watch >= 0 && it != s.byWatch.end() && it->second == f) {
        s.byWatch.erase(it);
        watches.push_back(folder.watch);
    }
    folder = Folder();
    s.freeFolders.push_back(f);
}

void DropEntry(Store& s, uint32_t i) {
    Entry& e = s.entries[i];
    size_t slot = SlotOf(s, e.folder, NameOf(s, e));
    if (slot != None) {
        s.table[slot] = Tomb;
        --s.tableUsed;
        ++s.tableTombs;
    }
    if (s.folders[e.folder].alive) --s.folders[e.folder].children;
    s.poolGarbage += e.nameLength + ((e.flags & FoldedSame) ? 0 : e.foldedLength);
    e = Entry();
    s.freeEntries.push_back(i);
    --s.alive;
}

} // namespace

void Clear(Store& s) {
    std::vector<std::string> roots = std::move(s.roots);
    s = Store();
    SetRoots(s, roots);
}

void SetRoots(Store& s, const std::vector<std::string>& roots) {
    s.roots = roots;
    s.rootAncestors.clear();
    s.rootProblems.clear();
    for (const std::string& root : roots) {
        s.rootAncestors.push_back(RootAncestors(root));
        s.rootProblems.push_back(RootProblem(root));
    }
}

uint32_t AddRootFolder(Store& s, uint32_t root, int watch, FolderId id) {
    uint32_t f = NewFolder(s);
    s.folders[f] = Folder{None, None, root, watch, id, 0, 0, true};
    if (watch >= 0) s.byWatch[watch] = f;
    return f;
}

void PrepareEntry(PreparedEntries& out, const ListedEntry& listed) {
    Entry e;
    e.size = listed.size;
    e.modified = listed.modified;
    e.flags = Alive | (listed.shownAsFolder ? ShownAsFolder : 0);
    e.name = static_cast<uint32_t>(out.pool.size());
    e.nameLength = static_cast<uint16_t>(listed.name.size());
    out.pool += listed.name;
    FoldInto(out.folded, listed.name);
    e.foldedLength = static_cast<uint16_t>(out.folded.size());
    if (out.folded == listed.name)
        e.flags |= FoldedSame;
    else
        out.pool += out.folded;
    out.entries.push_back(e);
}

void AddPrepared(Store& s, uint32_t folder, const PreparedEntries& prepared, bool indexed,
                 std::vector<uint32_t>& numbers) {
    uint32_t base = static_cast<uint32_t>(s.pool.size());
    s.pool += prepared.pool;
    numbers.clear();
    for (Entry e : prepared.entries) {
        e.folder = folder;
        e.name += base;
        uint32_t i;
        if (!s.freeEntries.empty()) {
            i = s.freeEntries.back();
            s.freeEntries.pop_back();
            s.entries[i] = e;
        } else {
            i = static_cast<uint32_t>(s.entries.size());
            s.entries.push_back(e);
        }
        ++s.alive;
        ++s.folders[folder].children;
        if (indexed) TableInsert(s, i);
        numbers.push_back(i);
    }
}

uint32_t AddEntry(Store& s, uint32_t folder, const ListedEntry& listed) {
    PreparedEntries prepared;
    PrepareEntry(prepared, listed);
    std::vector<uint32_t> numbers;
    AddPrepared(s, folder, prepared, true, numbers);
    return numbers[0];
}

uint32_t OpenFolder(Store& s, uint32_t entry, int watch, FolderId id) {
    uint32_t f = NewFolder(s);
    Entry& e = s.entries[entry];
    s.folders[f] = Folder{entry, e.folder, s.folders[e.folder].root, watch, id, 0, 0, true};
    e.flags |= Directory;
    e.size = f;
    if (watch >= 0) s.byWatch[watch] = f;
    return f;
}

uint32_t Find(const Store& s, uint32_t folder, std::string_view name) {
    size_t slot = SlotOf(s, folder, name);
    return slot == None ? None : s.table[slot];
}

// Folders below a removed one are found by climbing from every folder; a pass over the
// folders is cheap beside the entries.
void RemoveEntry(Store& s, uint32_t entry, std::vector<int>& watches) {
    Entry& e = s.entries[entry];
    if (!(e.flags & Alive)) return;
    if (!(e.flags & Directory)) {
        DropEntry(s, entry);
        return;
    }
    std::vector<uint8_t> gone(s.folders.size(), 0); // 0 unknown, 1 gone, 2 kept
    gone[static_cast<uint32_t>(e.size)] = 1;
    auto state = [&](uint32_t f, auto& self) -> uint8_t {
        if (gone[f]) return gone[f];
        const Folder& folder = s.folders[f];
        gone[f] = (!folder.alive || folder.parent == None) ? 2 : self(folder.parent, self);
        return gone[f];
    };
    for (uint32_t f = 0; f < s.folders.size(); ++f)
        if (s.folders[f].alive) state(f, state);
    for (uint32_t i = 0; i < s.entries.size(); ++i)
        if ((s.entries[i].flags & Alive) && gone[s.entries[i].folder] == 1) DropEntry(s, i);
    DropEntry(s, entry);
    for (uint32_t f = 0; f < s.folders.size(); ++f)
        if (s.folders[f].alive && gone[f] == 1) DropFolder(s, f, watches);
}

void RemoveRoot(Store& s, uint32_t root, std::vector<int>& watches) {
    for (uint32_t i = 0; i < s.entries.size(); ++i)
        if ((s.entries[i].flags & Alive) && s.folders[s.entries[i].folder].root == root)
            DropEntry(s, i);
    for (uint32_t f = 0; f < s.folders.size(); ++f)
        if (s.folders[f].alive && s.folders[f].root == root) DropFolder(s, f, watches);
}

std::string HostOf(const Store& s, uint32_t folder) {
    const Folder& f = s.folders[folder];
    if (f.entry == None) return s.roots[f.root];
    return JoinHost(HostOf(s, f.parent), NameOf(s, s.entries[f.entry]));
}

std::string HostOfEntry(const Store& s, uint32_t entry) {
    const Entry& e = s.entries[entry];
    return JoinHost(HostOf(s, e.folder), NameOf(s, e));
}

std::vector<FolderId> AncestorsOf(const Store& s, uint32_t folder) {
    std::vector<FolderId> ids;
    uint32_t f = folder;
    for (; s.folders[f].parent != None; f = s.folders[f].parent)
        ids.push_back(s.folders[f].id);
    ids.push_back(s.folders[f].id);
    const auto& above = s.rootAncestors[s.folders[f].root];
    ids.insert(ids.end(), above.begin(), above.end());
    return ids;
}

void BuildTable(Store& s) {
    Rehash(s, 15);
}

void Compact(Store& s, bool withTable) {
    if (s.poolGarbage * 2 > s.pool.size()) {
        std::string pool;
        pool.reserve(s.pool.size() - s.poolGarbage);
        for (Entry& e : s.entries) {
            if (!(e.flags & Alive)) continue;
            size_t length = e.nameLength + ((e.flags & FoldedSame) ? 0 : e.foldedLength);
            uint32_t at = static_cast<uint32_t>(pool.size());
            pool.append(s.pool, e.name, length);
            e.name = at;
        }
        s.pool = std::move(pool);
        s.poolGarbage = 0;
    }
    if (!withTable) {
        s.table.clear();
        s.tableUsed = s.tableTombs = 0;
    } else if (s.tableUsed != s.alive || s.tableTombs > 0 ||
               s.table.size() * 7 > (s.alive + 1) * 20) {
        Rehash(s, 15);
    }
    s.pool.shrink_to_fit();
    s.entries.shrink_to_fit();
    s.folders.shrink_to_fit();
}

} // namespace es::index
