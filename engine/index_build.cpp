// Reading the disk into the store: the first walk on worker threads, and folders read again
// when a change is reported.
#include "engine/index.h"
#include "engine/index_host.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <thread>

namespace es::index {

namespace {

struct Job {
    uint32_t folder;
    std::string host;
    std::vector<FolderId> ancestors;
};

struct Queue {
    std::mutex lock;
    std::condition_variable wake;
    std::vector<Job> pending;
    int busy = 0;
};

bool IsLoop(FolderId id, const std::vector<FolderId>& ancestors) {
    return id != FolderId() && std::find(ancestors.begin(), ancestors.end(), id) != ancestors.end();
}

// Scratch a reader keeps from folder to folder, so that no folder allocates afresh.
struct Reading {
    std::vector<ListedEntry> listed;
    PreparedEntries prepared;
    std::vector<uint32_t> numbers;
};

// Lists one folder into the store (under the lock only to copy what was made ready) and returns
// its subfolders. The watch comes first, so a change made while the folder is read is reported
// too; the folder's identity and change stamp come from the folder opened for the listing, which
// looks up no path again. In bulk (the first walk) the table is left to Compact.
std::vector<Job> ReadFolder(Store& s, std::mutex& lock, const Job& job, Reading& r, bool bulk) {
    int watch = index_host::Watch(job.host);
    FolderId id;
    int64_t stamp = 0;
    bool readable = ListWithInfo(job.host, id, stamp, r.listed);
    if (readable && IsLoop(id, job.ancestors)) { // a link or mount leading back up
        // Where the system gives one folder one watch, this one is an ancestor's, which keeps it.
        std::lock_guard<std::mutex> hold(lock);
        if (watch >= 0 && !s.byWatch.contains(watch)) index_host::Unwatch(watch);
        s.folders[job.folder].id = id; // so that a restart knows it for what it is
        s.folders[job.folder].stamp = stamp;
        return {};
    }
    r.prepared.entries.clear();
    r.prepared.pool.clear();
    if (readable)
        for (const ListedEntry& e : r.listed)
            PrepareEntry(r.prepared, e);
    std::vector<Job> children;
    std::lock_guard<std::mutex> hold(lock);
    Folder& folder = s.folders[job.folder];
    folder.id = id;
    folder.stamp = stamp;
    folder.watch = watch;
    if (watch >= 0) s.byWatch[watch] = job.folder;
    if (!readable) return {};
    if (watch < 0) ++s.unwatched;
    AddPrepared(s, job.folder, r.prepared, !bulk, r.numbers);
    for (size_t k = 0; k < r.listed.size(); ++k) {
        const ListedEntry& e = r.listed[k];
        if (e.kind != Kind::Folder) continue;
        Job child{OpenFolder(s, r.numbers[k], -1, {}), JoinHost(job.host, e.name), job.ancestors};
        child.ancestors.push_back(id);
        children.push_back(std::move(child));
    }
    return children;
}

void Worker(Store& s, Build& b, Queue& q, bool low) {
    if (low) index_host::LowPriority(true);
    Reading reading;
    while (true) {
        Job job;
        {
            std::unique_lock<std::mutex> hold(q.lock);
            q.wake.wait(hold, [&] { return !q.pending.empty() || q.busy == 0; });
            if (q.pending.empty() || b.stop) return;
            job = std::move(q.pending.back());
            q.pending.pop_back();
            ++q.busy;
        }
        std::vector<Job> children = ReadFolder(s, b.lock, job, reading, true);
        {
            std::lock_guard<std::mutex> hold(q.lock);
            for (Job& child : children)
                q.pending.push_back(std::move(child));
            --q.busy;
        }
        q.wake.notify_all();
    }
}

void RunBuild(Store& s, Build& b, bool low) {
    Queue q;
    for (uint32_t r = 0; r < s.roots.size(); ++r) {
        if (!s.rootProblems[r].empty()) continue;
        uint32_t f = AddRootFolder(s, r, -1, {});
        q.pending.push_back(Job{f, s.roots[r], s.rootAncestors[r]});
    }
    std::vector<std::thread> workers;
    for (unsigned k = 0; k < WorkerCount(); ++k)
        workers.emplace_back(Worker, std::ref(s), std::ref(b), std::ref(q), low);
    for (std::thread& t : workers)
        t.join();
    Compact(s);
    b.done = true;
    index_host::Wake();
}

std::thread builder;
std::thread rechecker;

// A subfolder that came while the index runs: read whole, in this thread.
void ReadNewFolder(Store& s, uint32_t folder) {
    std::mutex unshared;
    Reading reading;
    std::vector<Job> pending{
        Job{folder, HostOf(s, folder), AncestorsOf(s, s.folders[folder].parent)}};
    while (!pending.empty()) {
        Job job = std::move(pending.back());
        pending.pop_back();
        for (Job& child : ReadFolder(s, unshared, job, reading, false))
            pending.push_back(std::move(child));
    }
}

void AddAndRead(Store& s, uint32_t folder, const ListedEntry& e) {
    uint32_t entry = AddEntry(s, folder, e);
    if (e.kind == Kind::Folder) ReadNewFolder(s, OpenFolder(s, entry, -1, {}));
}

bool SameKind(const Entry& e, const ListedEntry& listed) {
    return ((e.flags & Directory) != 0) == (listed.kind == Kind::Folder);
}

void Update(Store& s, uint32_t entry, const ListedEntry& listed) {
    Entry& e = s.entries[entry];
    e.size = (e.flags & Directory) ? e.size : listed.size;
    e.modified = listed.modified;
    e.flags = static_cast<uint8_t>((e.flags & ~ShownAsFolder) |
                                   (listed.shownAsFolder ? ShownAsFolder : 0));
}

// The date of a folder changes with its listing.
void RereadFolderDate(Store& s, uint32_t folder) {
    const Folder& f = s.folders[folder];
    if (f.entry == None) return;
    ListedEntry e;
    if (ReadEntry(HostOf(s, folder), e)) s.entries[f.entry].modified = e.modified;
}

} // namespace

bool LeadsBackUp(const Store& s, uint32_t folder, FolderId id) {
    if (id == FolderId()) return false;
    uint32_t f = s.folders[folder].parent;
    for (; f != None; f = s.folders[f].parent)
        if (s.folders[f].id == id) return true;
    const std::vector<FolderId>& above = s.rootAncestors[s.folders[folder].root];
    return std::find(above.begin(), above.end(), id) != above.end();
}

bool ReadEntry(const std::string& host, ListedEntry& e) {
    return ReadItemWithKind(host, e.kind, e.shownAsFolder, e.size, e.modified);
}

// The entries and the path buffer are kept from folder to folder: the first walk would
// otherwise allocate twice for each of its hundreds of thousands of entries.
bool ListWithInfo(const std::string& host, FolderId& id, int64_t& stamp,
                  std::vector<ListedEntry>& out) {
    thread_local FolderListing listing;
    listing.withInfo = true;
    listing.withStamp = true;
    size_t n = 0;
    id = {};
    stamp = 0;
    if (!ListFolder(host, listing)) {
        out.clear();
        return false;
    }
    id = listing.id;
    stamp = listing.stamp;
    std::string path = JoinHost(host, "");
    size_t prefix = path.size();
    uint32_t start = 0;
    for (size_t i = 0; i < listing.ends.size(); ++i) {
        std::string_view raw(listing.names.data() + start, listing.ends[i] - start);
        start = listing.ends[i];
        if (HoldsLineBreak(raw)) continue;
        if (n == out.size()) out.emplace_back();
        ListedEntry& e = out[n];
        e.name = raw;
        e.kind = listing.kinds[i];
        path.resize(prefix);
        path += raw;
        if (e.kind == Kind::Unknown) e.kind = KindOf(path, false);
        e.shownAsFolder = IsFolderEntry(e.kind, host, raw);
        if (i < listing.sizes.size()) {
            e.size = listing.sizes[i];
            e.modified = listing.modified[i];
        } else if (!ReadItem(path, e.size, e.modified)) {
            continue; // gone since the listing
        }
        ++n;
    }
    out.resize(n);
    return true;
}

void StartBuild(Store& s, Build& b) {
    Clear(s);
    b.done = false;
    b.stop = false;
    builder = std::thread(RunBuild, std::ref(s), std::ref(b), true);
}

void FinishBuild(Build& b) {
    if (builder.joinable()) builder.join();
    b.done = false;
}

void Relist(Store& s, uint32_t folder, std::vector<int>& dropped) {
    std::vector<ListedEntry> listed;
    FolderId id;
    std::string host = HostOf(s, folder);
    int64_t stamp = 0;
    bool readable = ListWithInfo(host, id, stamp, listed);
    s.folders[folder].stamp = stamp;
    if (readable && LeadsBackUp(s, folder, id)) listed.clear(); // never entered
    size_t kept = 0;
    std::vector<uint32_t> keep;
    for (const ListedEntry& e : listed) {
        uint32_t entry = Find(s, folder, e.name);
        if (entry != None && !SameKind(s.entries[entry], e)) {
            RemoveEntry(s, entry, dropped);
            entry = None;
        }
        if (entry == None) {
            AddAndRead(s, folder, e);
            entry = Find(s, folder, e.name);
        } else {
            Update(s, entry, e);
        }
        keep.push_back(entry);
        ++kept;
    }
    if (!readable || kept < s.folders[folder].children) {
        std::sort(keep.begin(), keep.end());
        std::vector<uint32_t> gone;
        for (uint32_t i = 0; i < s.entries.size(); ++i)
            if ((s.entries[i].flags & Alive) && s.entries[i].folder == folder &&
                !std::binary_search(keep.begin(), keep.end(), i))
                gone.push_back(i);
        for (uint32_t i : gone)
            RemoveEntry(s, i, dropped);
    }
    RereadFolderDate(s, folder);
}

namespace {

// What folder f's listing shows that the store does not hold; under the store's lock.
void Compare(const Store& s, uint32_t f, bool readable, const std::vector<ListedEntry>& listed,
             std::vector<index_host::Change>& found) {
    using What = index_host::Change::What;
    const Folder& folder = s.folders[f];
    size_t known = 0;
    for (const ListedEntry& e : listed) {
        uint32_t i = readable ? Find(s, f, e.name) : None;
        if (i == None || !SameKind(s.entries[i], e)) break;
        ++known;
        const Entry& held = s.entries[i];
        bool shown = (held.flags & ShownAsFolder) != 0;
        bool sizeDiffers = !(held.flags & Directory) && held.size != e.size;
        if (sizeDiffers || held.modified != e.modified || shown != e.shownAsFolder)
            found.push_back({What::Entry, folder.watch, e.name});
    }
    if (!readable || known != listed.size() || known != folder.children)
        found.push_back({What::Listing, folder.watch, ""});
}

void RunRecheck(Store& s, Recheck& r) {
    index_host::LowPriority(true);
    // Tests hold the pass after each listing, to change what it has just read.
    int pauseMs = std::atoi(Environment("LUMAFIND_INDEX_TEST_RECHECK_PAUSE_MS").c_str());
    std::vector<ListedEntry> listed;
    std::vector<index_host::Change> found;
    std::string host;
    for (uint32_t f = 0; !r.stop; ++f) {
        int watch;
        bool wanted; // a folder without a watch keeps the index from answering at all
        {
            std::lock_guard<std::mutex> hold(r.store);
            if (f >= s.folders.size()) break;
            watch = s.folders[f].watch;
            wanted = s.folders[f].alive && watch >= 0;
            if (wanted) host = HostOf(s, f);
        }
        found.clear();
        if (wanted) {
            FolderId id;
            int64_t stamp;
            bool readable = ListWithInfo(host, id, stamp, listed);
            if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            std::lock_guard<std::mutex> hold(r.store);
            // A folder gone or put elsewhere meanwhile had its own changes reported.
            if (s.folders[f].alive && s.folders[f].watch == watch)
                Compare(s, f, readable, listed, found);
        }
        if (!found.empty()) {
            std::lock_guard<std::mutex> hold(r.lock);
            r.found.insert(r.found.end(), found.begin(), found.end());
        }
        r.checkedBelow = f + 1;
        if (!found.empty()) index_host::Wake();
    }
    r.done = true;
    index_host::Wake();
}

} // namespace

void StartRecheck(Store& s, Recheck& r) {
    r.stop = false;
    r.done = false;
    r.checkedBelow = 0;
    rechecker = std::thread(RunRecheck, std::ref(s), std::ref(r));
}

void FinishRecheck(Recheck& r) {
    r.stop = true;
    if (rechecker.joinable()) rechecker.join();
}

void RereadEntry(Store& s, uint32_t folder, std::string_view name, std::vector<int>& dropped) {
    if (HoldsLineBreak(name)) return;
    uint32_t entry = Find(s, folder, name);
    ListedEntry e;
    e.name = name;
    if (!ReadEntry(JoinHost(HostOf(s, folder), name), e)) {
        if (entry != None) RemoveEntry(s, entry, dropped);
        return;
    }
    if (entry != None && !SameKind(s.entries[entry], e)) {
        RemoveEntry(s, entry, dropped);
        entry = None;
    }
    if (entry == None)
        AddAndRead(s, folder, e);
    else
        Update(s, entry, e);
}

} // namespace es::index
