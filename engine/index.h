// The resident index: the entries of the root folders kept in memory, fresh, and answering
// es's requests. What its parts share.
#pragma once

#include "engine/es.h"
#include "engine/index_host.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace es::index {

constexpr uint32_t None = 0xFFFFFFFFu;

enum EntryFlags : uint8_t {
    Alive = 1,
    ShownAsFolder = 2, // a folder, or a link to one
    Directory = 4,     // a folder the index lists (size then holds its folder number)
    FoldedSame = 8,    // the folded name is the name itself, stored once
};

// 32 bytes per entry; the names live in one pool.
struct Entry {
    int64_t size = 0;
    int64_t modified = 0;
    uint32_t name = 0;   // offset in the pool: the name, then its folded form unless FoldedSame
    uint32_t folder = 0; // the folder holding it
    uint16_t nameLength = 0;
    uint16_t foldedLength = 0;
    uint8_t flags = 0;
    // Its place in name order (NameRanks), 24 bits in what the 32 bytes leave over.
    uint8_t rankLow = 0;
    uint16_t rankHigh = 0;
};
static_assert(sizeof(Entry) == 32);
constexpr uint32_t MostRanked = 0xFFFFFF;
inline uint32_t RankOf(const Entry& e) {
    return e.rankLow | static_cast<uint32_t>(e.rankHigh) << 8;
}

struct Folder {
    uint32_t entry = None;  // its own entry; None for a root
    uint32_t parent = None; // None for a root
    uint32_t root = 0;
    int32_t watch = -1;
    FolderId id;
    int64_t stamp = 0; // ChangeStamp when it was last listed
    uint32_t children = 0;
    bool alive = false;
};

// One listed folder with what each entry needs.
struct ListedEntry {
    std::string name;
    Kind kind = Kind::File;
    bool shownAsFolder = false;
    int64_t size = 0;
    int64_t modified = 0;
};

struct Store {
    std::vector<std::string> roots; // host paths, as FindRoots gives them
    std::vector<std::vector<FolderId>> rootAncestors;
    std::vector<std::string> rootProblems; // why a root cannot be searched, or empty
    std::vector<Entry> entries;
    std::vector<Folder> folders;
    std::string pool;
    size_t poolGarbage = 0;
    std::vector<uint32_t> freeEntries, freeFolders;
    std::vector<uint32_t> table; // open addressing over (folder, name): entry numbers
    size_t tableUsed = 0, tableTombs = 0;
    size_t alive = 0;
    int64_t savedAt = 0;  // nanoseconds since 1970, when it was last saved
    size_t unwatched = 0; // folders read but not watched: changes there would go unseen
    std::unordered_map<int, uint32_t> byWatch;
};

// --- the store (index_store.cpp)
void Clear(Store& s);
void SetRoots(Store& s, const std::vector<std::string>& roots);
uint32_t AddRootFolder(Store& s, uint32_t root, int watch, FolderId id);
uint32_t AddEntry(Store& s, uint32_t folder, const ListedEntry& e);
// A folder's entries made ready outside the store (names folded, pool laid out), so that adding
// them holds the store's lock only to copy. Not indexed, they wait for the table to be built in
// one go (Compact).
struct PreparedEntries {
    std::vector<Entry> entries;
    std::string pool;
    std::string folded; // scratch
};
void PrepareEntry(PreparedEntries& out, const ListedEntry& e);
void AddPrepared(Store& s, uint32_t folder, const PreparedEntries& prepared, bool indexed,
                 std::vector<uint32_t>& numbers);
// A folder for an entry the index lists; returns its number.
uint32_t OpenFolder(Store& s, uint32_t entry, int watch, FolderId id);
uint32_t Find(const Store& s, uint32_t folder, std::string_view name);
// Removes the entry and, for a folder, all below it; returns the watches that were dropped.
void RemoveEntry(Store& s, uint32_t entry, std::vector<int>& watches);
void RemoveRoot(Store& s, uint32_t root, std::vector<int>& watches);
inline std::string_view NameOf(const Store& s, const Entry& e) {
    return std::string_view(s.pool).substr(e.name, e.nameLength);
}
inline std::string_view FoldedOf(const Store& s, const Entry& e) {
    if (e.flags & FoldedSame) return NameOf(s, e);
    return std::string_view(s.pool).substr(e.name + e.nameLength, e.foldedLength);
}
std::string HostOf(const Store& s, uint32_t folder);
std::string HostOfEntry(const Store& s, uint32_t entry);
std::vector<FolderId> AncestorsOf(const Store& s, uint32_t folder);
// Gives back what removed entries left behind; the table is left empty without withTable.
void Compact(Store& s, bool withTable = true);
void BuildTable(Store& s);

// --- reading the disk (index_build.cpp)
// Lists a folder with each entry's kind, size and date, as the walk sees them, and gives the
// folder's identity and change stamp as read before its entries; false when it cannot be read.
// Names holding a line break are left out, as the walk leaves them out.
bool ListWithInfo(const std::string& host, FolderId& id, int64_t& stamp,
                  std::vector<ListedEntry>& out);
bool ReadEntry(const std::string& host, ListedEntry& e);

struct Build {
    std::mutex lock;
    std::atomic<bool> done{false};
    std::atomic<bool> stop{false};
    std::vector<std::string> warnings;
};
// Walks every root into the store on worker threads; Wake is called when it is done.
void StartBuild(Store& s, Build& b);
void FinishBuild(Build& b); // joins the workers
// After a restart from the saved index: every folder listed again with each entry's size and
// date, on a thread of its own at low priority. A file changed while no index ran, in a folder
// whose listing did not change, has nothing else to tell of it. What differs from the store is
// handed to the server as changes reported for those entries, which it reads again itself; what
// the pass read is never put in the store, so it cannot undo a newer change the watcher reported.
struct Recheck {
    std::mutex store; // held by the server while it changes the store, by the pass while it reads
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    // Folders below this number were compared, and what differed there is in found already.
    std::atomic<uint32_t> checkedBelow{0};
    std::mutex lock; // for found
    std::vector<index_host::Change> found;
};
void StartRecheck(Store& s, Recheck& r); // Wake is called when something is found, and when done
void FinishRecheck(Recheck& r);          // stops it if it runs, and joins it

// True when a folder of this identity would be one of the folder's own ancestors: a link or mount
// leading back up, which is never entered.
bool LeadsBackUp(const Store& s, uint32_t folder, FolderId id);
// Lists the folder again and brings its entries up to date, subfolders included.
void Relist(Store& s, uint32_t folder, std::vector<int>& dropped);
void RereadEntry(Store& s, uint32_t folder, std::string_view name, std::vector<int>& dropped);

// --- answering (index_query.cpp)
// Appends the text es writes to out: the CSV file, or the list for standard output. With
// `part`, a long text is handed to it piece by piece as it is made (out is then emptied), so
// that it can be on its way meanwhile.
// ranked: each living entry holds its place in the order of -sort name (NameRanks).
using Part = std::function<void(std::string_view)>;
void Answer(const Store& s, const Request& request, const std::vector<uint32_t>& rootsAsked,
            bool ranked, std::string& out, const Part& part = {});
// The entries that answer the request, in the store's order.
std::vector<uint32_t> Matches(const Store& s, const Request& request,
                              const std::vector<uint32_t>& rootsAsked);
// Gives each living entry its place in name order; false when there are too many to number.
bool NameRanks(Store& s);

// --- saving (index_file.cpp)
std::string Serialize(const Store& s);
// False: old, corrupt or cut. The table is left to BuildTable, so that it can be built while
// the folders are watched again.
bool Deserialize(const std::string& data, Store& s);
std::string SavedIndexPath();
bool Save(Store& s);
bool Load(Store& s);

// --- the messages (index_protocol.cpp)
enum class Asking : uint8_t { Query = 1, Status = 2 };
enum class Answering : uint8_t { Matches = 0, NotReady = 1, Error = 2, Ready = 3 };

struct Question {
    Asking asking = Asking::Query;
    std::vector<std::string> args;
    std::vector<std::string> roots;
    bool timeZoneSet = false; // es's TZ, which the dates are written in
    std::string timeZone;
};

std::string EncodeQuestion(const Question& q);
bool DecodeQuestion(const std::string& body, Question& q);
std::string EncodeAnswer(Answering a, std::string_view text);
// What an answer starts with: a long text is appended to it where it is made, not copied after.
std::string AnswerHead(Answering a);
// The text is left where it is in the body: an answer may be megabytes.
bool DecodeAnswer(const std::string& body, Answering& a, std::string_view& text);

// --- the program (index_server.cpp) and es's side (index_client.cpp)
int Serve();
enum class Asked { Answered, CannotAnswer };
// Hands the text to write (see Answer) to `text` piece by piece as it arrives; false from it
// stops the asking. Answered once the whole text came: what came of an answer that then
// failed is to be thrown away.
using TextPiece = std::function<bool(std::string_view piece)>;
Asked AskIndex(const std::vector<std::string>& args, const std::vector<std::string>& roots,
               const TextPiece& text);
bool IndexCaughtUp(); // for tests: true when the index runs and answers from what it holds

} // namespace es::index
