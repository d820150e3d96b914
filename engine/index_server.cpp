// The index program: builds or loads the store, keeps it fresh from the watcher's changes,
// and answers es. One thread serves; the first walk runs on workers meanwhile, and until it
// is done every query is told "not ready", so es walks.
#include "engine/index.h"
#include "engine/index_host.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace es::index {

namespace {

// Without queries for this long the index saves and ends; lumafind starts it again.
constexpr int DefaultIdleSeconds = 24 * 60 * 60;
// Changes are saved once none has come for this long (LUMAFIND_INDEX_SAVE_AFTER_MS for tests).
constexpr int DefaultSaveAfterMs = 60 * 1000;
// A new walk is saved after the first answer, so that the answer need not wait for the disk, or
// after this long without a question.
constexpr int SaveSoonMs = 200;
// The name order is made again once no change has come for this long.
constexpr int RanksAfterMs = 300;

struct Server {
    Store store;
    Build build;
    bool building = false;
    bool rebuildAfter = false; // changes were lost while building
    bool unsaved = false;
    std::vector<index_host::Change> pending; // seen while building
    // Each living entry holds its place in name order, given again after changes once a query
    // has come, so that a search sorted by name compares no names; stale from the first change.
    bool byNameFresh = false;
    bool byNameWanted = false; // a question came while it was stale
    std::chrono::steady_clock::time_point changedAt;
    bool saveSoon = false; // a new walk, to be saved soon
    Recheck recheck;       // every entry read again after a restart
    bool rechecking = false;
};

bool Ready(const Server& sv) {
    return !sv.building && !sv.rebuildAfter && sv.store.unwatched == 0;
}

void StopRecheck(Server& sv) {
    if (!sv.rechecking) return;
    FinishRecheck(sv.recheck);
    sv.recheck.found.clear();
    sv.rechecking = false;
}

void Rebuild(Server& sv) {
    if (sv.building) {
        sv.rebuildAfter = true;
        return;
    }
    StopRecheck(sv); // the walk to come reads every entry anyway
    sv.byNameFresh = false;
    sv.saveSoon = false; // the walk to come is saved when done
    index_host::StopWatcher();
    index_host::StartWatcher();
    sv.pending.clear();
    sv.building = true;
    StartBuild(sv.store, sv.build);
}

bool IsRoot(const Store& s, uint32_t folder) {
    return s.folders[folder].parent == None;
}

void Apply(Server& sv, const std::vector<index_host::Change>& changes) {
    using What = index_host::Change::What;
    Store& s = sv.store;
    if (!changes.empty()) {
        sv.byNameFresh = false;
        sv.changedAt = std::chrono::steady_clock::now();
    }
    std::vector<uint32_t> listings;
    for (const index_host::Change& c : changes) {
        if (c.what == What::Overflow) return Rebuild(sv);
        auto it = s.byWatch.find(c.watch);
        if (it == s.byWatch.end()) continue;
        if (c.what == What::Lost && IsRoot(s, it->second)) return Rebuild(sv);
        if (c.what == What::Listing) listings.push_back(it->second);
    }
    std::sort(listings.begin(), listings.end());
    listings.erase(std::unique(listings.begin(), listings.end()), listings.end());
    std::lock_guard<std::mutex> hold(sv.recheck.store);
    std::vector<int> dropped;
    for (uint32_t f : listings)
        if (s.folders[f].alive) Relist(s, f, dropped);
    for (const index_host::Change& c : changes) {
        if (c.what != What::Entry) continue;
        auto it = s.byWatch.find(c.watch);
        if (it != s.byWatch.end() &&
            !std::binary_search(listings.begin(), listings.end(), it->second))
            RereadEntry(s, it->second, c.name, dropped);
    }
    for (int w : dropped)
        index_host::Unwatch(w);
    if (!changes.empty()) sv.unsaved = true;
}

void TakeChanges(Server& sv) {
    std::vector<index_host::Change> changes;
    index_host::TakeChanges(changes);
    if (changes.empty()) return;
    if (sv.building)
        sv.pending.insert(sv.pending.end(), changes.begin(), changes.end());
    else
        Apply(sv, changes);
}

// What the pass after a restart found differs, applied as reported changes: each entry is read
// again here, so the value kept is never older than one the watcher reported.
void TakeRechecked(Server& sv) {
    if (!sv.rechecking) return;
    bool done = sv.recheck.done; // before taking: all it found is in by then
    std::vector<index_host::Change> found;
    {
        std::lock_guard<std::mutex> hold(sv.recheck.lock);
        found.swap(sv.recheck.found);
    }
    if (done) {
        FinishRecheck(sv.recheck);
        sv.rechecking = false;
    }
    Apply(sv, found);
}

// Until that pass is done, an answer that shows sizes or dates, or is sorted by date, first reads
// its own matches again where the pass has not been yet, so that no size or date saved before
// the restart is answered unread.
void ReadMatchesAgain(Server& sv, const Request& request, const std::vector<uint32_t>& roots) {
    bool showsInfo = request.exportCsv && (request.wantSize || request.wantDate);
    if (!sv.rechecking || !(showsInfo || request.sortBy == SortBy::DateModified)) return;
    uint32_t checked = sv.recheck.checkedBelow; // what the pass found below it is taken next
    TakeRechecked(sv);
    if (!sv.rechecking) return;
    const Store& s = sv.store;
    std::vector<uint32_t> unread;
    for (uint32_t i : Matches(s, request, roots))
        if (s.entries[i].folder >= checked) unread.push_back(i);
    // By folder, so that each folder's path is made once.
    std::stable_sort(unread.begin(), unread.end(), [&s](uint32_t a, uint32_t b) {
        return s.entries[a].folder < s.entries[b].folder;
    });
    std::vector<index_host::Change> changes;
    std::string folderHost;
    uint32_t folder = None;
    for (uint32_t i : unread) {
        const Entry& e = s.entries[i];
        if (e.folder != folder) {
            folder = e.folder;
            folderHost = HostOf(s, folder);
        }
        ListedEntry now;
        bool differs = !ReadEntry(JoinHost(folderHost, NameOf(s, e)), now) ||
                       ((e.flags & Directory) != 0) != (now.kind == Kind::Folder) ||
                       (!(e.flags & Directory) && e.size != now.size) ||
                       e.modified != now.modified ||
                       ((e.flags & ShownAsFolder) != 0) != now.shownAsFolder;
        if (differs)
            changes.push_back({index_host::Change::What::Entry, s.folders[e.folder].watch,
                               std::string(NameOf(s, e))});
    }
    Apply(sv, changes);
}

void BuildDone(Server& sv) {
    FinishBuild(sv.build);
    sv.building = false;
    if (sv.rebuildAfter) {
        sv.rebuildAfter = false;
        return Rebuild(sv);
    }
    std::vector<index_host::Change> pending = std::move(sv.pending);
    sv.pending.clear();
    Apply(sv, pending);
    sv.unsaved = true;
    sv.saveSoon = true;
    // A new walk is a change like any other: the name order waits for a pause, so that it
    // does not hold up the questions that were waiting for the walk to end.
    sv.changedAt = std::chrono::steady_clock::now();
}

// Watches every living folder again and reads its change stamp, on as many threads as the
// first walk uses: adding a watch costs the system time for each entry of the folder.
void WatchAll(const Store& s, std::vector<int>& watches, std::vector<int64_t>& stamps) {
    size_t n = s.folders.size();
    std::vector<std::string> hosts(n);
    for (uint32_t f = 0; f < n; ++f)
        if (s.folders[f].alive && !LeadsBackUp(s, f, s.folders[f].id)) hosts[f] = HostOf(s, f);
    watches.assign(n, -1);
    stamps.assign(n, 0);
    auto part = [&](unsigned from, unsigned step) {
        for (size_t f = from; f < n; f += step) {
            if (hosts[f].empty()) continue;
            watches[f] = index_host::Watch(hosts[f]); // first: a later change is reported
            stamps[f] = ChangeStamp(hosts[f]);
        }
    };
    OnThreads(WorkerCount(), part);
}

// The saved entries' table is built, every folder is watched again; one changed since it was last
// listed is listed again. Times are coarse (a clock tick), so a folder changed shortly before the
// save is listed too.
void Reconcile(Server& sv) {
    constexpr int64_t Margin = 2000000000;
    Store& s = sv.store;
    std::vector<int> watches;
    std::vector<int64_t> stamps;
    // Watching is mostly the system's time, held up by one lock; the table is built meanwhile.
    std::thread table(BuildTable, std::ref(s));
    WatchAll(s, watches, stamps);
    table.join();
    std::vector<int> dropped;
    // Every date is compared before any folder is listed again: listing a folder brings its
    // subfolders' dates up to date, which would hide that their own listings changed.
    std::vector<uint32_t> stale;
    for (uint32_t f = 0; f < s.folders.size(); ++f) {
        if (!s.folders[f].alive || LeadsBackUp(s, f, s.folders[f].id)) continue; // never entered
        int watch = watches[f];
        s.folders[f].watch = watch;
        if (watch >= 0) s.byWatch[watch] = f;
        // Past the system's limit changes there would go unseen; a folder that has gone is
        // dropped when its parent is listed again.
        if (watch < 0 && KindOf(HostOf(s, f), true) == Kind::Folder) ++s.unwatched;
        int64_t stamp = stamps[f];
        bool same = stamp == s.folders[f].stamp && stamp != 0 && stamp < s.savedAt - Margin;
        if (!same) stale.push_back(f);
    }
    for (uint32_t f : stale)
        if (s.folders[f].alive) Relist(s, f, dropped);
    for (int w : dropped)
        index_host::Unwatch(w);
}

bool SameRoots(const Store& s, const std::vector<std::string>& roots) {
    if (s.roots != roots) return false;
    for (const std::string& problem : s.rootProblems)
        if (!problem.empty()) return false;
    return true;
}

// The roots asked for, as numbers in the store; false when one is not held.
bool RootsHeld(const Store& s, const std::vector<std::string>& asked, std::vector<uint32_t>& out) {
    for (const std::string& root : asked) {
        auto it = std::find(s.roots.begin(), s.roots.end(), root);
        if (it == s.roots.end()) return false;
        uint32_t r = static_cast<uint32_t>(it - s.roots.begin());
        if (!s.rootProblems[r].empty()) return false;
        out.push_back(r);
    }
    return true;
}

// A root that could not be searched is looked at again when asked for, not polled.
bool RootCameBack(const Store& s) {
    for (size_t r = 0; r < s.roots.size(); ++r)
        if (!s.rootProblems[r].empty() && RootProblem(s.roots[r]).empty()) return true;
    return false;
}

std::string Refusal(const std::string& why) {
    return EncodeAnswer(Answering::Error, why);
}

std::string AnswerTo(Server& sv, const index_host::Message& m) {
    if (m.tooLarge) return Refusal("the question is too long");
    Question q;
    if (!DecodeQuestion(m.body, q)) return Refusal("the question cannot be read");
    TakeChanges(sv);
    TakeRechecked(sv);
    bool ready = Ready(sv);
    // Caught up: answering, and after a restart every entry read again.
    if (q.asking == Asking::Status)
        return EncodeAnswer(ready && !sv.rechecking ? Answering::Ready : Answering::NotReady, "");
    if (!sv.byNameFresh) sv.byNameWanted = true; // a search, which the order would have helped
    std::vector<uint32_t> roots;
    if (ready && !RootsHeld(sv.store, q.roots, roots)) {
        if (RootCameBack(sv.store)) Rebuild(sv);
        ready = false;
    }
    if (!ready) return EncodeAnswer(Answering::NotReady, "");
    Request request;
    std::string message;
    if (ParseArguments(q.args, request, message) != ExitOk) return Refusal(message);
    if (request.wantDate) UseTimeZone(q.timeZoneSet, q.timeZone);
    ReadMatchesAgain(sv, request, roots);
    std::string out = AnswerHead(Answering::Matches);
    auto part = [&m](std::string_view text) { index_host::ReplyPart(m.connection, text); };
    Answer(sv.store, request, roots, sv.byNameFresh, out, part);
    return out;
}

int Setting(const char* name, int otherwise) {
    std::string text = Environment(name);
    return text.empty() ? otherwise : std::atoi(text.c_str());
}

void Loop(Server& sv) {
    const int idleMs = Setting("LUMAFIND_INDEX_IDLE_SECONDS", DefaultIdleSeconds) * 1000;
    const int saveAfterMs = Setting("LUMAFIND_INDEX_SAVE_AFTER_MS", DefaultSaveAfterMs);
    int quietMs = 0; // time since the last query, in whole waits
    while (true) {
        int timeout = sv.unsaved ? std::min(saveAfterMs, idleMs) : idleMs;
        if (sv.saveSoon) timeout = std::min(timeout, SaveSoonMs);
        if (sv.byNameWanted && Ready(sv)) timeout = std::min(timeout, RanksAfterMs);
        index_host::Happenings h;
        index_host::Wait(h, sv.building ? -1 : timeout);
        bool built = h.woken && sv.build.done;
        if (built) BuildDone(sv);
        if (h.changes) TakeChanges(sv);
        if (h.woken) TakeRechecked(sv);
        for (const index_host::Message& m : h.messages)
            index_host::Reply(m.connection, AnswerTo(sv, m));
        if (!h.messages.empty()) quietMs = 0;
        // What no answer waits for is done once the questions that came are answered; the
        // name order once changes have paused, so that it does not hold up the next ones.
        auto sinceChange = std::chrono::steady_clock::now() - sv.changedAt;
        if (sv.byNameWanted && Ready(sv) &&
            sinceChange >= std::chrono::milliseconds(RanksAfterMs)) {
            std::lock_guard<std::mutex> hold(sv.recheck.store);
            sv.byNameFresh = NameRanks(sv.store);
            sv.byNameWanted = false;
        }
        if (sv.saveSoon && !sv.building && (!h.messages.empty() || h.timedOut)) {
            Save(sv.store);
            sv.saveSoon = sv.unsaved = false;
        }
        if (!h.timedOut) continue;
        quietMs += timeout;
        if (sv.unsaved) {
            Save(sv.store);
            sv.unsaved = false;
        }
        if (quietMs >= idleMs) return;
    }
}

} // namespace

int Serve() {
    index_host::Listen listen = index_host::StartServer();
    if (listen == index_host::Listen::AlreadyRunning) return 0; // one index per user
    if (listen == index_host::Listen::Failed || !index_host::StartWatcher()) {
        WriteError("lumafind-index: cannot serve here");
        return 1;
    }
    Server sv;
    std::vector<std::string> roots = FindRoots();
    SetRoots(sv.store, roots);
    if (Load(sv.store) && SameRoots(sv.store, roots)) {
        Reconcile(sv);
        sv.unsaved = true;
        StartRecheck(sv.store, sv.recheck);
        sv.rechecking = true;
    } else {
        SetRoots(sv.store, roots);
        Rebuild(sv);
    }
    Loop(sv);
    if (sv.building) {
        sv.build.stop = true;
        FinishBuild(sv.build);
    }
    StopRecheck(sv);
    index_host::StopServer();
    return 0;
}

} // namespace es::index
