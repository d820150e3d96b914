// The index's host system on Windows. Folders are watched with ReadDirectoryChangesW through one
// completion port: on Windows one subtree watch per root, whose reports are handed to the folder
// they name; under Wine, whose subtree watch reports only the watched folder's own changes, one
// watch per folder. The channel is a named pipe per user, open to that user only, whose other
// end must run as the same user, checked on both ends.
#include "engine/es.h"
#include "engine/index_host.h"
#include "engine/win32_file.h"
#include "engine/win32_text.h"

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace es::index_host {

namespace {

constexpr DWORD NotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                               FILE_NOTIFY_CHANGE_ATTRIBUTES;
// A subtree watch sees a whole tree through one buffer; a folder's own watch sees little.
// Remote folders refuse buffers over 64 KiB, so the large one falls back to that.
constexpr DWORD SubtreeBuffer = 1 << 20, RemoteBuffer = 64 * 1024, FolderBuffer = 4096;
constexpr DWORD IoMs = 10 * 1000; // a peer that stops reading or writing cannot hold the other
constexpr int MaxClients = 64;

// Host paths are clean and absolute (C:\x or \\server\share\x); the \\?\ form takes each
// name as it is on disk.
std::wstring ApiPath(const std::string& host) {
    std::wstring w = Widen(host);
    if (w.starts_with(L"\\\\?\\") || w.starts_with(L"\\\\.\\")) return w;
    if (w.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + w.substr(2);
    return L"\\\\?\\" + w;
}

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// --- watching

struct Watched {
    std::wstring path;       // host path, as Watch was given it
    HANDLE handle = nullptr; // none for a folder its root's subtree watch covers
    int covering = -1;       // the subtree watch covering this folder, or -1
    bool subtree = false;
    bool closing = false; // unwatched; freed when its last request completes
    int state = 0;        // its first request: 0 not made yet, 1 made, -1 refused
    OVERLAPPED overlapped{};
    std::vector<DWORD> buffer;
};

// Under Wine every open folder is a file descriptor of the wine server, which all programs of
// the prefix share: past its limit no program of the prefix can even start. Per-folder
// watching keeps this many descriptors free; the folders beyond get no watch, so the index
// says it cannot answer and es walks.
constexpr size_t SpareDescriptors = 4096;

size_t OpenFileLimit() {
    std::string limits;
    if (!ReadWholeFile("Z:\\proc\\self\\limits", limits)) return 0;
    size_t at = limits.find("Max open files");
    return at == std::string::npos ? 0 : std::strtoull(limits.c_str() + at + 14, nullptr, 10);
}

size_t WatchLimit() {
    size_t limit = OpenFileLimit();
    return limit > 2 * SpareDescriptors ? limit - SpareDescriptors : limit / 2;
}

std::mutex watchLock;
size_t handlesOpen = 0, handleLimit = SIZE_MAX;
HANDLE port = nullptr;
std::thread watcher;
int nextWatch = 1;
std::map<int, std::unique_ptr<Watched>> watches;
std::unordered_map<std::wstring, int> byPath;
bool perFolder = false;

// What the serving thread waits for.
std::mutex eventLock;
std::condition_variable eventCame;
std::vector<Change> changes;
bool woken = false;
std::vector<Message> messages;

void Report(std::vector<Change>&& found) {
    if (found.empty()) return;
    std::lock_guard<std::mutex> hold(eventLock);
    for (Change& c : found)
        changes.push_back(std::move(c));
    eventCame.notify_all();
}

bool Request(Watched& w) {
    ZeroMemory(&w.overlapped, sizeof w.overlapped);
    DWORD bytes = static_cast<DWORD>(w.buffer.size() * sizeof(DWORD));
    return ReadDirectoryChangesW(w.handle, w.buffer.data(), bytes, w.subtree, NotifyFilter, nullptr,
                                 &w.overlapped, nullptr);
}

// The folder a subtree report names, within the covering watch: the nearest watched folder
// above it, and whether that is the reported entry's own folder.
int FolderOf(const Watched& root, std::wstring_view relative, std::wstring& leaf, bool& exact) {
    size_t cut = relative.rfind(L'\\');
    leaf = cut == std::wstring_view::npos ? std::wstring(relative)
                                          : std::wstring(relative.substr(cut + 1));
    std::wstring folder = root.path;
    if (cut != std::wstring_view::npos) {
        if (!folder.ends_with(L'\\')) folder += L'\\';
        folder += relative.substr(0, cut);
    }
    exact = true;
    while (true) {
        auto it = byPath.find(folder);
        if (it != byPath.end()) return it->second;
        exact = false;
        size_t up = folder.rfind(L'\\');
        if (up == std::wstring::npos || folder.size() <= root.path.size()) return -1;
        folder.resize(std::max(up, root.path.size()));
    }
}

// Turns one completed request's reports into changes, under watchLock.
void Translate(int id, const Watched& w, const std::vector<char>& data, std::vector<Change>& out) {
    constexpr size_t Head = offsetof(FILE_NOTIFY_INFORMATION, FileName);
    for (size_t at = 0; at + Head <= data.size();) {
        const auto* n = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(data.data() + at);
        if (at + Head + n->FileNameLength > data.size()) break;
        std::wstring_view name(n->FileName, n->FileNameLength / sizeof(WCHAR));
        Change c;
        c.what = n->Action == FILE_ACTION_MODIFIED ? Change::What::Entry : Change::What::Listing;
        std::wstring leaf(name);
        c.watch = id;
        if (w.subtree) {
            bool exact;
            c.watch = FolderOf(w, name, leaf, exact);
            if (c.watch < 0) c.watch = id;
            if (!exact) c.what = Change::What::Listing; // a folder not yet known: list its parent
        }
        c.name = Narrow(leaf);
        out.push_back(std::move(c));
        if (n->NextEntryOffset == 0) break;
        at += n->NextEntryOffset;
    }
}

void Completed(int id, DWORD bytes, bool ok, std::vector<Change>& out) {
    auto it = watches.find(id);
    if (it == watches.end()) return;
    Watched& w = *it->second;
    if (w.closing) {
        watches.erase(it);
        return;
    }
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    std::vector<char> data;
    if (ok && bytes > 0)
        data.assign(reinterpret_cast<const char*>(w.buffer.data()),
                    reinterpret_cast<const char*>(w.buffer.data()) + bytes);
    bool again = Request(w);
    if (ok && bytes > 0) Translate(id, w, data, out);
    // No reports, or too many to keep: what the watch covers must be read again. A folder's
    // own watch lists its folder again; a subtree watch rescans.
    bool overflow = (ok && bytes == 0) || error == ERROR_NOTIFY_ENUM_DIR;
    if (overflow)
        out.push_back(Change{w.subtree ? Change::What::Overflow : Change::What::Listing, id, ""});
    else if (!again || (!ok && error != ERROR_OPERATION_ABORTED))
        out.push_back(Change{Change::What::Lost, id, ""});
}

// Every request is made on the watcher's own thread, which lives as long as the watches: a
// request is cancelled when the thread that made it ends.
OVERLAPPED startRequest;
std::condition_variable started;

void Start(int id) {
    auto it = watches.find(id);
    if (it == watches.end()) return;
    Watched& w = *it->second;
    bool ok = Request(w);
    if (!ok && w.subtree) { // remote folders refuse large buffers
        w.buffer.resize(RemoteBuffer / sizeof(DWORD));
        ok = Request(w);
    }
    w.state = ok ? 1 : -1;
    started.notify_all();
}

void WatchLoop() {
    while (true) {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        BOOL ok = GetQueuedCompletionStatus(port, &bytes, &key, &overlapped, INFINITE);
        if (!overlapped) return; // the port closed, or StopWatcher's own message
        std::vector<Change> found;
        {
            std::lock_guard<std::mutex> hold(watchLock);
            if (overlapped == &startRequest)
                Start(static_cast<int>(key));
            else
                Completed(static_cast<int>(key), bytes, ok, found);
        }
        Report(std::move(found));
    }
}

// The subtree watch whose tree holds the path, or -1.
int Covering(const std::wstring& path) {
    for (size_t cut = path.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
         cut = path.rfind(L'\\', cut - 1)) {
        auto it = byPath.find(path.substr(0, cut));
        if (it == byPath.end()) it = byPath.find(path.substr(0, cut + 1)); // C:\\ itself
        if (it == byPath.end()) continue;
        const Watched& w = *watches[it->second];
        int root = w.subtree ? it->second : w.covering;
        if (root >= 0 && watches[root]->handle) return root;
    }
    return -1;
}

int AddWatch(std::unique_ptr<Watched> w) {
    int id = nextWatch++;
    byPath[w->path] = id;
    watches[id] = std::move(w);
    return id;
}

// --- the channel

// The security identifier of the user a process runs as, as text; empty when unknown.
std::wstring UserOf(HANDLE process) {
    HANDLE token;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return L"";
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> data(size);
    std::wstring out;
    LPWSTR text = nullptr;
    if (size > 0 && GetTokenInformation(token, TokenUser, data.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(data.data())->User.Sid, &text)) {
        out = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return out;
}

std::wstring ThisUser() {
    static const std::wstring user = UserOf(GetCurrentProcess());
    return user;
}

// The user both ends must run as. LUMAFIND_INDEX_TEST_SID stands for another user in tests,
// which is how the check is tested without a second account.
std::wstring ExpectedUser() {
    std::string forced = Environment("LUMAFIND_INDEX_TEST_SID");
    return forced.empty() ? ThisUser() : Widen(forced);
}

bool ProcessIsUser(ULONG pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    std::wstring user = UserOf(process);
    CloseHandle(process);
    return !user.empty() && user == ExpectedUser();
}

std::wstring PipeName() {
    return L"\\\\.\\pipe\\lumafind-index-" + ThisUser();
}

// Waits for an overlapped read or write begun on h; false on failure or after the time limit.
bool Finish(HANDLE h, OVERLAPPED& o, BOOL started, DWORD& done) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(o.hEvent, IoMs) != WAIT_OBJECT_0) {
        CancelIo(h);
        GetOverlappedResult(h, &o, &done, TRUE);
        return false;
    }
    return GetOverlappedResult(h, &o, &done, FALSE);
}

struct Io {
    OVERLAPPED o{};
    Io() { o.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Io() { CloseHandle(o.hEvent); }
    Io(const Io&) = delete;
    Io& operator=(const Io&) = delete;
    void Reset() {
        HANDLE e = o.hEvent;
        ZeroMemory(&o, sizeof o);
        o.hEvent = e;
        ResetEvent(e);
    }
};

bool ReadAll(HANDLE h, char* into, size_t size) {
    Io io;
    for (size_t got = 0; got < size;) {
        io.Reset();
        DWORD n = 0;
        BOOL started = ReadFile(h, into + got, static_cast<DWORD>(size - got), &n, &io.o);
        if (!Finish(h, io.o, started, n) || n == 0) return false;
        got += n;
    }
    return true;
}

bool WriteAll(HANDLE h, const std::string& data) {
    Io io;
    for (size_t done = 0; done < data.size();) {
        io.Reset();
        DWORD n = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
        BOOL started = WriteFile(h, data.data() + done, chunk, &n, &io.o);
        if (!Finish(h, io.o, started, n) || n == 0) return false;
        done += n;
    }
    return true;
}

std::string Framed(const std::string& body) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((body.size() >> (8 * i)) & 0xFF);
    return out + body;
}

uint32_t LengthOf(const char* head) {
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<unsigned char>(head[i])) << (8 * i);
    return n;
}

// Open to this user only, and to nobody through the network.
struct OwnerOnly {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    explicit OwnerOnly() {
        std::wstring sddl = L"D:P(A;;GA;;;" + ThisUser() + L")";
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (!ThisUser().empty() && ConvertStringSecurityDescriptorToSecurityDescriptorW(
                                       sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
            attributes.lpSecurityDescriptor = sd;
    }
    ~OwnerOnly() { LocalFree(attributes.lpSecurityDescriptor); }
    OwnerOnly(const OwnerOnly&) = delete;
    OwnerOnly& operator=(const OwnerOnly&) = delete;
    bool Ok() const { return attributes.lpSecurityDescriptor != nullptr; }
};

// A connected client: its thread reads the message, waits for the answer, writes it.
struct Connection {
    HANDLE pipe;
    std::string reply;
    bool replied = false;
};

std::mutex connectionLock;
std::condition_variable replyCame;
std::map<int, std::shared_ptr<Connection>> connections;
int nextConnection = 1;
std::atomic<bool> stopping{false};
HANDLE listening = INVALID_HANDLE_VALUE; // the instance waiting for the next client
std::thread listener;
bool rejectRemote = true;

HANDLE NewInstance(bool first) {
    OwnerOnly owner;
    if (!owner.Ok()) return INVALID_HANDLE_VALUE;
    DWORD open =
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    DWORD mode = PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT;
    HANDLE h = CreateNamedPipeW(
        PipeName().c_str(), open, mode | (rejectRemote ? PIPE_REJECT_REMOTE_CLIENTS : 0),
        PIPE_UNLIMITED_INSTANCES, 64 * 1024, 64 * 1024, 0, &owner.attributes);
    if (h == INVALID_HANDLE_VALUE && rejectRemote && GetLastError() == ERROR_INVALID_PARAMETER) {
        rejectRemote = false; // a system without the flag: the local-only name still holds
        return NewInstance(first);
    }
    return h;
}

void Serve(int id, std::shared_ptr<Connection> c) {
    ULONG pid = 0;
    char head[4];
    bool ok = GetNamedPipeClientProcessId(c->pipe, &pid) && ProcessIsUser(pid) &&
              ReadAll(c->pipe, head, 4);
    if (ok) {
        uint32_t length = LengthOf(head);
        Message m{id, {}, length > MaxMessage};
        if (!m.tooLarge) {
            m.body.assign(length, '\0');
            ok = ReadAll(c->pipe, m.body.data(), length);
        }
        if (ok) {
            std::lock_guard<std::mutex> hold(eventLock);
            messages.push_back(std::move(m));
            eventCame.notify_all();
        }
    }
    if (ok) {
        std::unique_lock<std::mutex> hold(connectionLock);
        replyCame.wait(hold, [&] { return c->replied || stopping; });
        std::string reply = std::move(c->reply);
        hold.unlock();
        // The client hangs up once it has read everything; closing first would drop the rest.
        if (WriteAll(c->pipe, Framed(reply)) && WriteAll(c->pipe, Framed(""))) {
            char none;
            ReadAll(c->pipe, &none, 1);
        }
    }
    std::lock_guard<std::mutex> hold(connectionLock);
    CloseHandle(c->pipe);
    connections.erase(id);
}

void ListenForClients() {
    Io io;
    while (!stopping) {
        io.Reset();
        HANDLE pipe = listening;
        BOOL connected = ConnectNamedPipe(pipe, &io.o);
        DWORD error = connected ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_IO_PENDING) {
            DWORD none;
            connected = GetOverlappedResult(pipe, &io.o, &none, TRUE);
        } else if (error == ERROR_PIPE_CONNECTED) {
            connected = TRUE;
        }
        if (stopping) break;
        // The next instance comes first, so that the name is never free for another to take.
        HANDLE next = NewInstance(false);
        if (next == INVALID_HANDLE_VALUE) {
            DisconnectNamedPipe(pipe);
            Sleep(100);
            continue;
        }
        listening = next;
        std::lock_guard<std::mutex> hold(connectionLock);
        if (!connected || connections.size() >= MaxClients) {
            CloseHandle(pipe);
            continue;
        }
        int id = nextConnection++;
        auto c = std::make_shared<Connection>(Connection{pipe, {}, false});
        connections[id] = c;
        std::thread(Serve, id, c).detach();
    }
}

HANDLE Connect() {
    std::wstring name = PipeName();
    for (int attempt = 0; attempt < 5; ++attempt) {
        HANDLE h = CreateFileW(
            name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY) return h;
        WaitNamedPipeW(name.c_str(), 1000);
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool StartWatcher() {
    std::lock_guard<std::mutex> hold(watchLock);
    bool wine = UnderWine();
    perFolder = wine || Environment("LUMAFIND_INDEX_WATCH") == "folder";
    handleLimit = wine ? WatchLimit() : SIZE_MAX;
    port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    if (!port) return false;
    watcher = std::thread(WatchLoop);
    return true;
}

void StopWatcher() {
    {
        std::lock_guard<std::mutex> hold(watchLock);
        if (!port) return;
        PostQueuedCompletionStatus(port, 0, 0, nullptr);
    }
    if (watcher.joinable()) watcher.join();
    std::lock_guard<std::mutex> hold(watchLock);
    for (auto& [id, w] : watches) {
        if (w->handle && !w->closing) {
            CancelIoEx(w->handle, nullptr);
            CloseHandle(w->handle);
            --handlesOpen;
        }
        w->closing = true;
    }
    // Each cancelled request still refers to its watch until it completes.
    for (auto it = watches.begin(); it != watches.end();)
        it = it->second->handle ? std::next(it) : watches.erase(it);
    while (!watches.empty()) {
        DWORD bytes;
        ULONG_PTR key;
        OVERLAPPED* overlapped = nullptr;
        GetQueuedCompletionStatus(port, &bytes, &key, &overlapped, 1000);
        if (!overlapped) break;
        watches.erase(static_cast<int>(key));
    }
    for (auto& [id, w] : watches)
        w.release(); // never completed: left to the process's end rather than freed in use
    watches.clear();
    byPath.clear();
    CloseHandle(port);
    port = nullptr;
    std::lock_guard<std::mutex> holdEvents(eventLock);
    changes.clear();
}

int Watch(const std::string& host) {
    std::unique_lock<std::mutex> hold(watchLock);
    if (!port) return -1;
    auto w = std::make_unique<Watched>();
    w->path = Widen(host);
    if (!perFolder) {
        w->covering = Covering(w->path);
        if (w->covering >= 0) return AddWatch(std::move(w));
    }
    if (handlesOpen >= handleLimit) return -1;
    w->handle =
        CreateFileW(ApiPath(host).c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (w->handle == INVALID_HANDLE_VALUE) return -1;
    ++handlesOpen;
    w->subtree = !perFolder;
    w->buffer.resize((perFolder ? FolderBuffer : SubtreeBuffer) / sizeof(DWORD));
    Watched& watched = *w;
    int id = AddWatch(std::move(w));
    if (!CreateIoCompletionPort(watched.handle, port, static_cast<ULONG_PTR>(id), 0) ||
        !PostQueuedCompletionStatus(port, 0, static_cast<ULONG_PTR>(id), &startRequest))
        watched.state = -1;
    started.wait(hold, [&] { return watched.state != 0; });
    if (watched.state > 0) return id;
    // A folder whose changes cannot be seen (a share without notifications).
    CloseHandle(watched.handle);
    --handlesOpen;
    byPath.erase(watched.path);
    watches.erase(id);
    return -1;
}

void Unwatch(int watch) {
    std::lock_guard<std::mutex> hold(watchLock);
    auto it = watches.find(watch);
    if (it == watches.end()) return;
    Watched& w = *it->second;
    auto path = byPath.find(w.path);
    if (path != byPath.end() && path->second == watch) byPath.erase(path);
    if (!w.handle) {
        watches.erase(it);
        return;
    }
    if (w.closing) return;
    w.closing = true; // freed when its cancelled request completes
    CancelIoEx(w.handle, nullptr);
    CloseHandle(w.handle);
    --handlesOpen;
}

void TakeChanges(std::vector<Change>& out) {
    std::lock_guard<std::mutex> hold(eventLock);
    for (Change& c : changes)
        out.push_back(std::move(c));
    changes.clear();
}

Listen StartServer() {
    if (ThisUser().empty()) return Listen::Failed;
    // Wine ignores FILE_FLAG_FIRST_PIPE_INSTANCE, so a second index of the same user is also
    // told by a mutex of the user's session.
    std::wstring mutex = L"Local\\lumafind-index-" + ThisUser();
    if (!CreateMutexW(nullptr, TRUE, mutex.c_str())) return Listen::Failed;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return Listen::AlreadyRunning;
    listening = NewInstance(true);
    if (listening == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED ? Listen::AlreadyRunning : Listen::Failed;
    listener = std::thread(ListenForClients);
    return Listen::Ok;
}

void StopServer() {
    stopping = true;
    {
        std::lock_guard<std::mutex> hold(connectionLock);
        replyCame.notify_all();
    }
    // Our own connection ends the listener's wait for a client.
    HANDLE h = Connect();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (listener.joinable()) listener.join();
    CloseHandle(listening);
    listening = INVALID_HANDLE_VALUE;
}

void Wait(Happenings& out, int timeoutMs) {
    out = Happenings();
    std::unique_lock<std::mutex> hold(eventLock);
    auto came = [] { return !changes.empty() || woken || !messages.empty(); };
    if (timeoutMs < 0)
        eventCame.wait(hold, came);
    else if (!eventCame.wait_for(hold, std::chrono::milliseconds(timeoutMs), came))
        out.timedOut = true;
    out.changes = !changes.empty();
    out.woken = woken;
    woken = false;
    out.messages = std::move(messages);
    messages.clear();
}

void Wake() {
    std::lock_guard<std::mutex> hold(eventLock);
    woken = true;
    eventCame.notify_all();
}

// The parts are gathered, and the connection's own thread sends them as one once the last came.
void ReplyPart(int connection, std::string_view part) {
    std::lock_guard<std::mutex> hold(connectionLock);
    auto it = connections.find(connection);
    if (it != connections.end()) it->second->reply.append(part);
}

void Reply(int connection, std::string_view last) {
    std::lock_guard<std::mutex> hold(connectionLock);
    auto it = connections.find(connection);
    if (it == connections.end()) return;
    it->second->reply.append(last);
    it->second->replied = true;
    replyCame.notify_all();
}

Ask AskServer(const std::string& body, const Received& received) {
    HANDLE pipe = Connect();
    if (pipe == INVALID_HANDLE_VALUE) return Ask::NoServer;
    // Another user may have taken the name first: its answers mean nothing.
    ULONG pid = 0;
    if (!GetNamedPipeServerProcessId(pipe, &pid) || !ProcessIsUser(pid)) {
        CloseHandle(pipe);
        return Ask::NotTrusted;
    }
    std::string part;
    bool ok = WriteAll(pipe, Framed(body)), whole = false;
    while (ok && !whole) { // parts until an empty one; a pipe closed before is a failure
        char head[4];
        ok = ReadAll(pipe, head, 4);
        uint32_t length = ok ? LengthOf(head) : 0;
        whole = ok && length == 0;
        part.resize(length);
        ok = ok && ReadAll(pipe, part.data(), length) && (whole || received(part));
    }
    CloseHandle(pipe);
    return whole ? Ask::Answered : Ask::Failed;
}

std::string DataFolder() {
    std::string base = Environment("LOCALAPPDATA");
    if (base.empty()) return "";
    std::string folder = JoinHost(CleanFolder(base), "Lumafind");
    OwnerOnly owner;
    if (!CreateDirectoryW(ApiPath(folder).c_str(), owner.Ok() ? &owner.attributes : nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        return "";
    return folder;
}

bool WritePrivateFile(const std::string& host, const std::string& content) {
    OwnerOnly owner;
    if (!owner.Ok()) return false;
    return WriteNewFileFlushed(ApiPath(host), content, &owner.attributes);
}

// For the calling thread: background mode lowers both its CPU and its I/O priority. Where the
// system refuses it (Wine), below-normal CPU priority is what is left.
void LowPriority(bool low) {
    HANDLE thread = GetCurrentThread();
    if (low) {
        if (!SetThreadPriority(thread, THREAD_MODE_BACKGROUND_BEGIN))
            SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    } else {
        SetThreadPriority(thread, THREAD_MODE_BACKGROUND_END);
        SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
    }
}

} // namespace es::index_host
