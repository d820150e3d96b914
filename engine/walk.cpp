// The parallel walk over the root folders, and reading sizes and dates of the matches.
#include "engine/es.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace es {

namespace {

struct Job {
    std::string host;
    std::string folded; // the folder's shown path, folded, ending with '\'
    std::vector<FolderId> ancestors;
};

struct WalkQueue {
    std::mutex lock;
    std::condition_variable wake;
    std::vector<Job> pending;
    int busy = 0;
};

// Buffers one worker reuses from folder to folder.
struct Scratch {
    FolderListing listing;
    std::string name;
    std::string path;
    std::vector<Job> children;
};

void ScanEntry(const Request& request, const Job& job, size_t i, std::string_view raw, Scratch& s,
               std::vector<Match>& matches) {
    Kind kind = s.listing.kinds[i];
    if (HoldsLineBreak(raw)) return; // nor is the folder walked: nothing below it can be written
    if (kind == Kind::Unknown) kind = KindOf(JoinHost(job.host, raw), false);
    bool isFolder = IsFolderEntry(kind, job.host, raw);
    FoldInto(s.name, raw);
    if (request.usesPath) {
        s.path.assign(job.folded);
        s.path += s.name;
    }
    if (MatchesEntry(request, s.name, s.path, isFolder)) {
        Match m;
        m.host = JoinHost(job.host, raw);
        m.folded = s.name;
        m.isFolder = isFolder;
        if (i < s.listing.sizes.size()) {
            m.size = s.listing.sizes[i];
            m.modified = s.listing.modified[i];
            m.infoRead = true;
        }
        matches.push_back(std::move(m));
    }
    if (kind != Kind::Folder) return;
    Job child{JoinHost(job.host, raw), job.folded + s.name + '\\', job.ancestors};
    child.ancestors.push_back(s.listing.id);
    if (!PruneFolder(request, child.folded)) s.children.push_back(std::move(child));
}

void ScanFolder(const Request& request, const Job& job, Scratch& s, std::vector<Match>& matches) {
    if (!ListFolder(job.host, s.listing)) return; // unreadable folders are passed over
    // A folder that is one of its own ancestors is a loop made by a link or a mount.
    for (const FolderId& id : job.ancestors)
        if (id == s.listing.id && id != FolderId()) return;
    uint32_t start = 0;
    for (size_t i = 0; i < s.listing.ends.size(); ++i) {
        std::string_view raw(s.listing.names.data() + start, s.listing.ends[i] - start);
        start = s.listing.ends[i];
        ScanEntry(request, job, i, raw, s, matches);
    }
}

void Worker(const Request& request, WalkQueue& q, std::vector<Match>& matches) {
    Scratch s;
    while (true) {
        Job job;
        {
            std::unique_lock<std::mutex> hold(q.lock);
            q.wake.wait(hold, [&] { return !q.pending.empty() || q.busy == 0; });
            if (q.pending.empty()) return;
            job = std::move(q.pending.back());
            q.pending.pop_back();
            ++q.busy;
        }
        s.children.clear();
        ScanFolder(request, job, s, matches);
        {
            std::lock_guard<std::mutex> hold(q.lock);
            for (Job& child : s.children)
                q.pending.push_back(std::move(child));
            --q.busy;
        }
        q.wake.notify_all();
    }
}

} // namespace

// A full name holding a line break cannot be written as one line of the result. Such a name
// is left out, and so is everything below it, since its full name holds the same break.
bool HoldsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Links are classified by what they point to but never entered, so no loop can form.
bool IsFolderEntry(Kind kind, const std::string& folder, std::string_view name) {
    if (kind == Kind::Folder) return true;
    if (kind == Kind::File) return false;
    return KindOf(JoinHost(folder, name), true) == Kind::Folder;
}

// The folders above a root count as its ancestors too: a link below the root
// that leads back up (Wine's drive links lead to the whole disk) is a loop.
std::vector<FolderId> RootAncestors(const std::string& root) {
    std::vector<FolderId> ids;
    std::string path = root;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    for (size_t cut; (cut = path.find_last_of("\\/")) != std::string::npos;) {
        path.resize(cut);
        if (!path.empty() && path.find_first_not_of("\\/") == std::string::npos) break; // \\server
        FolderId id = IdOfFolder(path.empty() || path.back() == ':' ? path + root[cut] : path);
        if (id != FolderId()) ids.push_back(id);
    }
    return ids;
}

unsigned WorkerCount() {
    unsigned n = std::thread::hardware_concurrency();
    return std::clamp(n == 0 ? 2u : n, 1u, 8u);
}

void OnThreads(unsigned n, const std::function<void(unsigned k, unsigned n)>& work) {
    std::vector<std::thread> others;
    for (unsigned k = 1; k < n; ++k)
        others.emplace_back(work, k, n);
    work(0, n);
    for (std::thread& t : others)
        t.join();
}

namespace {

Job RootJob(const std::string& root) {
    Job job{root, Fold(ShownPath(root)), RootAncestors(root)};
    if (!job.folded.ends_with('\\')) job.folded += '\\';
    return job;
}

} // namespace

std::string RootProblem(const std::string& root) {
    if (KindOf(root, true) != Kind::Folder) return "es: cannot search folder " + ShownPath(root);
    std::string shown = ShownPath(root);
    if (!HoldsLineBreak(shown)) return "";
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return "es: names below a folder with a line break cannot be written: " + shown;
}

std::vector<Match> Walk(const Request& request, const std::vector<std::string>& roots) {
    WalkQueue q;
    for (const std::string& root : roots) {
        if (std::string problem = RootProblem(root); !problem.empty()) {
            WriteError(problem);
            continue;
        }
        Job job = RootJob(root);
        if (!PruneFolder(request, job.folded)) q.pending.push_back(std::move(job));
    }
    unsigned n = WorkerCount();
    std::vector<std::vector<Match>> found(n);
    std::vector<std::thread> workers;
    for (unsigned k = 0; k < n; ++k)
        workers.emplace_back(Worker, std::cref(request), std::ref(q), std::ref(found[k]));
    for (std::thread& t : workers)
        t.join();
    std::vector<Match> all = std::move(found[0]);
    for (unsigned k = 1; k < n; ++k)
        all.insert(all.end(), std::make_move_iterator(found[k].begin()),
                   std::make_move_iterator(found[k].end()));
    return all;
}

// Reads size and date of every match the listing did not bring them for, in parallel; a match
// whose item has gone is dropped.
void ReadInfo(std::vector<Match>& matches) {
    auto read = [&matches](unsigned from, unsigned step) {
        for (size_t i = from; i < matches.size(); i += step)
            if (!matches[i].infoRead)
                matches[i].infoRead =
                    ReadItem(matches[i].host, matches[i].size, matches[i].modified);
    };
    size_t unread =
        std::count_if(matches.begin(), matches.end(), [](const Match& m) { return !m.infoRead; });
    if (unread == 0) return;
    OnThreads(unread < 64 ? 1 : WorkerCount(), read);
    std::erase_if(matches, [](const Match& m) { return !m.infoRead; });
}

} // namespace es
