// The saved index: a version, a checksum and the store's arrays, written to a temporary that
// replaces the old file in one step. Anything that does not check out is rebuilt from disk.
#include "engine/index.h"
#include "engine/index_host.h"

#include <chrono>
#include <cstring>

namespace es::index {

namespace {

constexpr char FileMark[8] = {'L', 'F', 'I', 'D', 'X', 0, 0, 0};
constexpr uint32_t FileVersion = 3;
constexpr size_t HeaderSize = 8 + 4 + 8 + 8;

// Eight bytes a step: byte by byte, a saved index of 330,000 entries took tens of ms.
uint64_t Checksum(std::string_view data) {
    uint64_t h = 1469598103934665603ull;
    size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, data.data() + i, 8);
        h = (h ^ word) * 1099511628211ull;
        h ^= h >> 32;
    }
    for (; i < data.size(); ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return h;
}

template <typename T> void Put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

struct Reader {
    std::string_view data;
    bool ok = true;
    template <typename T> T Get() {
        T value{};
        if (data.size() < sizeof value) ok = false;
        if (!ok) return value;
        std::memcpy(&value, data.data(), sizeof value);
        data.remove_prefix(sizeof value);
        return value;
    }
    std::string Text() {
        uint32_t n = Get<uint32_t>();
        if (data.size() < n) ok = false;
        if (!ok) return "";
        std::string out(data.substr(0, n));
        data.remove_prefix(n);
        return out;
    }
};

bool ValidEntry(const Store& s, const Entry& e) {
    if (!(e.flags & Alive)) return true;
    size_t length = e.nameLength + ((e.flags & FoldedSame) ? 0 : e.foldedLength);
    if (e.folder >= s.folders.size() || !s.folders[e.folder].alive) return false;
    if (e.name > s.pool.size() || s.pool.size() - e.name < length) return false;
    if (!(e.flags & Directory)) return true;
    return e.size >= 0 && static_cast<uint64_t>(e.size) < s.folders.size();
}

// Every folder must climb to a root within as many steps as there are folders.
bool ValidFolders(const Store& s) {
    for (const Folder& f : s.folders) {
        if (!f.alive) continue;
        if (f.root >= s.roots.size()) return false;
        const Folder* at = &f;
        for (size_t steps = 0; at->parent != None; ++steps) {
            if (steps > s.folders.size() || at->parent >= s.folders.size()) return false;
            if (at->entry >= s.entries.size()) return false;
            at = &s.folders[at->parent];
            if (!at->alive) return false;
        }
    }
    return true;
}

} // namespace

std::string Serialize(const Store& s) {
    std::string body;
    body.reserve(64 + s.folders.size() * 64 + s.entries.size() * sizeof(Entry) + s.pool.size());
    Put(body, s.savedAt);
    Put(body, static_cast<uint32_t>(s.roots.size()));
    for (const std::string& root : s.roots) {
        Put(body, static_cast<uint32_t>(root.size()));
        body += root;
    }
    Put(body, static_cast<uint32_t>(s.folders.size()));
    for (const Folder& f : s.folders) {
        Put(body, f.entry);
        Put(body, f.parent);
        Put(body, f.root);
        Put(body, f.id.volume);
        Put(body, f.id.index);
        Put(body, f.stamp);
        Put(body, static_cast<uint8_t>(f.alive));
    }
    // The entries as they lie in memory, in one copy each way.
    Put(body, static_cast<uint32_t>(s.entries.size()));
    body.append(reinterpret_cast<const char*>(s.entries.data()), s.entries.size() * sizeof(Entry));
    Put(body, static_cast<uint64_t>(s.pool.size()));
    body += s.pool;
    std::string out(FileMark, 8);
    Put(out, FileVersion);
    Put(out, Checksum(body));
    Put(out, static_cast<uint64_t>(body.size()));
    return out + body;
}

bool Deserialize(const std::string& data, Store& s) {
    if (data.size() < HeaderSize || data.compare(0, 8, FileMark, 8) != 0) return false;
    Reader head{std::string_view(data).substr(8, HeaderSize - 8)};
    uint32_t version = head.Get<uint32_t>();
    uint64_t sum = head.Get<uint64_t>();
    uint64_t length = head.Get<uint64_t>();
    std::string_view body = std::string_view(data).substr(HeaderSize);
    if (version != FileVersion || length != body.size() || Checksum(body) != sum) return false;
    Reader r{body};
    int64_t savedAt = r.Get<int64_t>();
    uint32_t rootCount = r.Get<uint32_t>();
    if (rootCount > body.size()) return false;
    std::vector<std::string> roots(rootCount);
    for (std::string& root : roots)
        root = r.Text();
    Store loaded;
    SetRoots(loaded, roots);
    loaded.savedAt = savedAt;
    uint32_t folders = r.Get<uint32_t>();
    if (!r.ok || folders > body.size()) return false;
    loaded.folders.resize(folders);
    for (Folder& f : loaded.folders) {
        f.entry = r.Get<uint32_t>();
        f.parent = r.Get<uint32_t>();
        f.root = r.Get<uint32_t>();
        f.id.volume = r.Get<uint64_t>();
        f.id.index = r.Get<uint64_t>();
        f.stamp = r.Get<int64_t>();
        f.alive = r.Get<uint8_t>() != 0;
    }
    uint32_t entries = r.Get<uint32_t>();
    if (!r.ok || entries > r.data.size() / sizeof(Entry)) return false;
    loaded.entries.resize(entries);
    std::memcpy(loaded.entries.data(), r.data.data(), entries * sizeof(Entry));
    r.data.remove_prefix(entries * sizeof(Entry));
    uint64_t pool = r.Get<uint64_t>();
    if (!r.ok || pool != r.data.size()) return false;
    loaded.pool = std::string(r.data);
    if (!ValidFolders(loaded)) return false;
    for (uint32_t i = 0; i < loaded.entries.size(); ++i) {
        Entry& e = loaded.entries[i];
        e.rankLow = 0; // the name order is made again
        e.rankHigh = 0;
        if (!ValidEntry(loaded, e)) return false;
        if (e.flags & Alive) {
            ++loaded.alive;
            ++loaded.folders[e.folder].children;
        } else {
            loaded.freeEntries.push_back(i);
        }
    }
    for (uint32_t f = 0; f < loaded.folders.size(); ++f)
        if (!loaded.folders[f].alive) loaded.freeFolders.push_back(f);
    loaded.poolGarbage = loaded.pool.size(); // Compact measures it again
    for (const Entry& e : loaded.entries)
        if (e.flags & Alive)
            loaded.poolGarbage -= e.nameLength + ((e.flags & FoldedSame) ? 0 : e.foldedLength);
    Compact(loaded, false);
    s = std::move(loaded);
    return true;
}

std::string SavedIndexPath() {
    std::string folder = index_host::DataFolder();
    return folder.empty() ? "" : JoinHost(folder, "index.bin");
}

bool Save(Store& s) {
    s.savedAt = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
    std::string path = SavedIndexPath();
    if (path.empty()) return false;
    std::string temp = path + "." + std::to_string(ProcessId()) + ".tmp";
    RemoveFile(temp);
    if (index_host::WritePrivateFile(temp, Serialize(s)) && RenameOver(temp, path)) return true;
    RemoveFile(temp);
    return false;
}

// Temporaries of an index killed while saving; only one index runs per user, so none is in use.
void RemoveStaleTemporaries(const std::string& folder) {
    FolderListing listing;
    if (!ListFolder(folder, listing)) return;
    uint32_t start = 0;
    for (uint32_t end : listing.ends) {
        std::string_view name(listing.names.data() + start, end - start);
        start = end;
        if (name.starts_with("index.bin.") && name.ends_with(".tmp"))
            RemoveFile(JoinHost(folder, name));
    }
}

bool Load(Store& s) {
    std::string path = SavedIndexPath();
    if (!path.empty()) RemoveStaleTemporaries(index_host::DataFolder());
    std::string data;
    return !path.empty() && ReadWholeFile(path, data) && Deserialize(data, s);
}

} // namespace es::index
