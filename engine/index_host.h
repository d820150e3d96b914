// What the resident index needs from the host system: watching folders, the local channel
// between es and the index, the data folder, and process priority. One implementation per
// system (index_host_posix.cpp, index_host_win32.cpp); the index itself is portable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace es::index_host {

// --- watching folders. Watch and Unwatch may be called from any thread.

struct Change {
    enum class What : uint8_t {
        Entry,    // an entry of the folder changed size, date or kind: read it again
        Listing,  // entries of the folder came, went or were renamed: list it again
        Lost,     // the folder itself was removed, moved or unmounted
        Overflow, // changes were lost: nothing known can be trusted any more
    };
    What what = What::Entry;
    int watch = -1;   // the folder's watch, as Watch returned it
    std::string name; // the entry within it (What::Entry), in the host's encoding
};

bool StartWatcher(); // false: changes cannot be seen on this system
void StopWatcher();  // drops every watch and every change not yet taken
// A watch on one folder, or -1. A watch covers the folder's own entries only; the index
// watches each folder of the tree.
int Watch(const std::string& host);
void Unwatch(int watch);
// Takes every change already reported, without waiting.
void TakeChanges(std::vector<Change>& out);

// --- the channel, server side

enum class Listen { Ok, AlreadyRunning, Failed };
Listen StartServer(); // one server per user: AlreadyRunning when another holds the place
void StopServer();

// A whole message from a client. A message over the size limit arrives as tooLarge with an
// empty body; one cut off arrives not at all.
struct Message {
    int connection = -1;
    std::string body;
    bool tooLarge = false;
};

constexpr uint32_t MaxMessage = 1 << 20;

struct Happenings {
    bool changes = false; // changes are waiting: TakeChanges
    bool woken = false;   // Wake was called
    bool timedOut = false;
    std::vector<Message> messages;
};

// Blocks until changes, messages or a Wake arrive, or timeoutMs pass (-1: no limit).
void Wait(Happenings& out, int timeoutMs);
void Wake(); // from any thread
// An answer goes in parts, so that es receives the first while the index makes the next.
// ReplyPart sends one; Reply sends the last and closes the connection.
void ReplyPart(int connection, std::string_view part);
void Reply(int connection, std::string_view last);

// --- the channel, client side

enum class Ask { Answered, NoServer, NotTrusted, Failed };
// Takes a part of the answer as it comes; false stops the asking (Failed).
using Received = std::function<bool(std::string_view part)>;
// Connects, checks that the server runs as this user, sends, and hands each part of the answer
// to `received`; Answered once the last part came.
Ask AskServer(const std::string& body, const Received& received);

// --- the rest

// The user's local data folder for the saved index, created readable by its user only; empty
// when there is none.
std::string DataFolder();
// Writes a file readable by its user only (a new file: it must not exist yet).
bool WritePrivateFile(const std::string& host, const std::string& content);
// Low CPU and I/O priority for the first walk, normal again after.
void LowPriority(bool low);

} // namespace es::index_host
