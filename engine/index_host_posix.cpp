// The index's host system on Linux: inotify, one watch per folder; a Unix socket in the
// user's runtime folder whose peer must be the same user, checked on both ends.
#include "engine/es.h"
#include "engine/index_host.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

namespace es::index_host {

namespace {

constexpr uint32_t WatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                               IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF |
                               IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK;
constexpr int MaxClients = 64;
constexpr int SendSeconds = 10;

int changesFd = -1;
int listenFd = -1;
int lockFd = -1;
int wakeFds[2] = {-1, -1};

struct Client {
    int fd;
    std::string input;
    bool complete = false;
};
std::vector<Client> clients;

// The user both ends must run as. LUMAFIND_INDEX_TEST_UID stands for another user in tests,
// which is how the check is tested without a second account.
uid_t ExpectedUser() {
    std::string forced = Environment("LUMAFIND_INDEX_TEST_UID");
    return forced.empty() ? ::getuid()
                          : static_cast<uid_t>(std::strtoul(forced.c_str(), nullptr, 10));
}

bool PeerIsUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ExpectedUser();
}

// A folder of ours that nobody else can enter: created if missing, refused if it is someone
// else's or open to others.
bool PrivateFolder(const std::string& path) {
    ::mkdir(path.c_str(), 0700);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

std::string AbsoluteEnvironment(const char* name) {
    std::string value = Environment(name);
    return value.starts_with('/') ? value : "";
}

std::string RuntimeFolder() {
    std::string base = AbsoluteEnvironment("XDG_RUNTIME_DIR");
    if (base.empty()) return "/tmp/lumafind-" + std::to_string(::getuid());
    return base + "/lumafind";
}

std::string SocketPath() {
    return RuntimeFolder() + "/index.sock";
}

sockaddr_un AddressOf(const std::string& path, bool& fits) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    fits = path.size() < sizeof address.sun_path;
    if (fits) path.copy(address.sun_path, path.size());
    return address;
}

bool SendAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, char* into, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::recv(fd, into + done, size - done, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string LengthHead(size_t size) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return out;
}

std::string Framed(const std::string& body) {
    return LengthHead(body.size()) + body;
}

uint32_t LengthOf(std::string_view input) {
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<unsigned char>(input[i])) << (8 * i);
    return n;
}

void SetTimeouts(int fd, int seconds) {
    timeval t{seconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &t, sizeof t);
}

void Accept(Happenings& out) {
    (void)out;
    int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (!PeerIsUser(fd) || clients.size() >= MaxClients) {
        ::close(fd);
        return;
    }
    clients.push_back(Client{fd, {}});
}

// Reads what the client sent; false when it hung up before its message was whole.
bool ReadClient(Client& c, Happenings& out) {
    char buffer[65536];
    while (true) {
        ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
        if (n == 0) return false;
        c.input.append(buffer, static_cast<size_t>(n));
        if (c.input.size() < 4) continue;
        uint32_t length = LengthOf(c.input);
        if (length > MaxMessage) {
            c.complete = true;
            out.messages.push_back(Message{c.fd, {}, true});
            return true;
        }
        if (c.input.size() >= 4 + static_cast<size_t>(length)) {
            c.complete = true;
            out.messages.push_back(Message{c.fd, c.input.substr(4, length), false});
            c.input.clear();
            return true;
        }
    }
}

void Close(int fd) {
    for (size_t i = 0; i < clients.size(); ++i)
        if (clients[i].fd == fd) {
            clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    ::close(fd);
}

Change ChangeOf(const inotify_event& e) {
    Change c;
    c.watch = e.wd;
    if (e.mask & IN_Q_OVERFLOW)
        c.what = Change::What::Overflow;
    else if (e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT))
        c.what = Change::What::Lost;
    else if (e.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
        c.what = Change::What::Listing;
    else
        c.what = Change::What::Entry;
    if (e.len > 0) c.name = e.name;
    return c;
}

} // namespace

bool StartWatcher() {
    changesFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    return changesFd >= 0;
}

void StopWatcher() {
    if (changesFd >= 0) ::close(changesFd);
    changesFd = -1;
}

int Watch(const std::string& host) {
    return ::inotify_add_watch(changesFd, host.c_str(), WatchMask);
}

void Unwatch(int watch) {
    ::inotify_rm_watch(changesFd, watch);
}

void TakeChanges(std::vector<Change>& out) {
    alignas(inotify_event) char buffer[65536];
    while (changesFd >= 0) {
        ssize_t n = ::read(changesFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_IGNORED) continue;
            // The folder's own attributes also reach its parent's watch, by name.
            if ((e->mask & (IN_ATTRIB | IN_MODIFY | IN_CLOSE_WRITE)) && e->len == 0) continue;
            out.push_back(ChangeOf(*e));
        }
    }
}

Listen StartServer() {
    // Large arrays go straight to the system and back when freed, so that what the first
    // walk grew and let go does not stay with the process.
    ::mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    std::string folder = RuntimeFolder();
    if (!AbsoluteEnvironment("XDG_RUNTIME_DIR").empty())
        ::mkdir(Environment("XDG_RUNTIME_DIR").c_str(), 0700);
    if (!PrivateFolder(folder)) return Listen::Failed;
    lockFd = ::open((folder + "/index.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return Listen::Failed;
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) return Listen::AlreadyRunning;
    bool fits;
    sockaddr_un address = AddressOf(SocketPath(), fits);
    if (!fits) return Listen::Failed;
    ::unlink(address.sun_path); // left by an index that ended without cleaning up
    listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd < 0 ||
        ::bind(listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd, 64) != 0)
        return Listen::Failed;
    if (::pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0) return Listen::Failed;
    return Listen::Ok;
}

void StopServer() {
    bool fits;
    sockaddr_un address = AddressOf(SocketPath(), fits);
    if (listenFd >= 0) {
        ::close(listenFd);
        ::unlink(address.sun_path);
    }
    listenFd = -1;
    for (Client& c : clients)
        ::close(c.fd);
    clients.clear();
    if (lockFd >= 0) ::close(lockFd);
    lockFd = -1;
}

void Wait(Happenings& out, int timeoutMs) {
    out = Happenings();
    std::vector<pollfd> fds{{listenFd, POLLIN, 0}, {wakeFds[0], POLLIN, 0}, {changesFd, POLLIN, 0}};
    for (const Client& c : clients)
        fds.push_back({c.fd, static_cast<short>(c.complete ? 0 : POLLIN), 0});
    int n = ::poll(fds.data(), fds.size(), timeoutMs);
    if (n == 0) out.timedOut = true;
    if (n <= 0) return;
    if (fds[2].revents & POLLIN) out.changes = true;
    if (fds[1].revents & POLLIN) {
        char drain[256];
        while (::read(wakeFds[0], drain, sizeof drain) > 0) {
        }
        out.woken = true;
    }
    std::vector<int> hungUp;
    for (size_t i = 3; i < fds.size(); ++i) {
        Client& c = clients[i - 3];
        if (c.complete || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        if (!ReadClient(c, out)) hungUp.push_back(c.fd);
    }
    for (int fd : hungUp)
        Close(fd);
    if (fds[0].revents & POLLIN) Accept(out);
}

void Wake() {
    char one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFds[1], &one, 1);
}

// The length, then the part as it is: no copy of megabytes to put four bytes before it.
bool SendPart(int connection, std::string_view part) {
    int flags = ::fcntl(connection, F_GETFL);
    ::fcntl(connection, F_SETFL, flags & ~O_NONBLOCK);
    SetTimeouts(connection, SendSeconds); // a client that stops reading cannot hold the index
    // Room for a long answer at once (as far as the system allows), rather than turns of a few
    // hundred kilobytes, each waiting for es to read.
    int room = 4 << 20;
    ::setsockopt(connection, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
    return SendAll(connection, LengthHead(part.size())) && SendAll(connection, part);
}

void ReplyPart(int connection, std::string_view part) {
    if (!part.empty()) SendPart(connection, part);
}

void Reply(int connection, std::string_view last) {
    if (SendPart(connection, last) && !last.empty()) SendPart(connection, "");
    Close(connection);
}

Ask AskServer(const std::string& body, const Received& received) {
    bool fits;
    sockaddr_un address = AddressOf(SocketPath(), fits);
    if (!fits) return Ask::NoServer;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Ask::Failed;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return Ask::NoServer;
    }
    if (!PeerIsUser(fd)) { // someone else's server in our place: its answers mean nothing
        ::close(fd);
        return Ask::NotTrusted;
    }
    SetTimeouts(fd, SendSeconds);
    std::string part;
    bool ok = SendAll(fd, Framed(body)), whole = false;
    while (ok && !whole) { // parts until an empty one; a connection closed before is a failure
        char head[4];
        ok = ReceiveAll(fd, head, 4);
        uint32_t length = ok ? LengthOf(std::string_view(head, 4)) : 0;
        whole = ok && length == 0;
        part.resize(length);
        ok = ok && ReceiveAll(fd, part.data(), length) && (whole || received(part));
    }
    ::close(fd);
    return whole ? Ask::Answered : Ask::Failed;
}

std::string DataFolder() {
    std::string base = AbsoluteEnvironment("XDG_CACHE_HOME");
    if (base.empty()) {
        std::string home = HomeFolder();
        if (home.empty() || home == "/") return "";
        base = home + "/.cache";
    }
    ::mkdir(base.c_str(), 0700);
    std::string folder = base + "/lumafind";
    return PrivateFolder(folder) ? folder : "";
}

bool WritePrivateFile(const std::string& host, const std::string& content) {
    int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    bool ok = done == content.size() && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// For the calling thread: nice 10 and the best-effort I/O class's lowest level.
void LowPriority(bool low) {
    pid_t thread = static_cast<pid_t>(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), low ? 10 : 0);
    constexpr int WhoProcess = 1, BestEffort = 2, ClassShift = 13;
    ::syscall(SYS_ioprio_set, WhoProcess, thread, (BestEffort << ClassShift) | (low ? 7 : 4));
}

} // namespace es::index_host
