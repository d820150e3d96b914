// Search terms: how one is read, and whether an entry satisfies all of them.
#include "engine/es.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace es {

namespace {

bool IsExtPattern(std::string_view text) {
    return text.size() >= 4 && Fold(text.substr(0, 4)) == "ext:";
}

// Up to eight bytes as one word, the first lowest. Names hold no zero byte, so texts of
// different lengths never give the same word.
uint64_t PackedText(std::string_view text) {
    uint64_t word = 0;
    for (size_t i = 0; i < text.size() && i < 8; ++i)
        word |= uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    return word;
}

Pattern ParseExtensions(std::string_view list) {
    Pattern p;
    p.isExt = true;
    while (true) {
        size_t semicolon = list.find(';');
        std::string_view item = list.substr(0, semicolon);
        if (item.starts_with('.')) item.remove_prefix(1);
        // An empty item ("ext:mp3;", a bare "ext:") names no extension: it
        // must not bring in every file that has none.
        if (!item.empty()) {
            std::string folded = Fold(item);
            p.extensionWords.push_back(folded.size() <= 8 ? PackedText(folded) : 0);
            p.extensions.push_back(std::move(folded));
        }
        if (semicolon == std::string_view::npos) break;
        list.remove_prefix(semicolon + 1);
    }
    return p;
}

Pattern ParsePattern(std::string_view text) {
    if (IsExtPattern(text)) return ParseExtensions(text.substr(4));
    Pattern p;
    // No name holds a '/', so in a term it can only mean a folder separator.
    std::string t(text);
    std::replace(t.begin(), t.end(), '/', '\\');
    p.text = Fold(t);
    p.wildcard = p.text.find_first_of("*?") != std::string::npos;
    p.plainEnding = p.wildcard && IsPlainEnding(p.text);
    p.onPath = p.text.find_first_of("\\:") != std::string::npos;
    bool drive = p.text.size() >= 2 && p.text[0] >= 'a' && p.text[0] <= 'z' && p.text[1] == ':';
    p.anchored = p.onPath && !p.wildcard && drive;
    return p;
}

std::string_view Extension(std::string_view name) {
    size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// Extensions are a few bytes: comparing them here costs less than calling the library.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Substring search over short names, eight places at a time: a place can hold the part only
// where both its first and its last byte are in place, and a whole word of places is ruled
// out at once. The library's search pays a call at every first byte that matches.
constexpr uint64_t EveryByte = 0x0101010101010101ull;
static_assert(std::endian::native == std::endian::little, "a word's low byte comes first");

uint64_t Word(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The high bit of each byte that is zero, and maybe of some bytes above one that is: each
// such place is checked in full, so it only costs a comparison.
uint64_t ZeroBytes(uint64_t word) {
    return (word - EveryByte) & ~word & (EveryByte << 7);
}

// Whether the part starts at one of the eight places from `at`.
bool InWindow(const char* at, std::string_view part, uint64_t first, uint64_t last) {
    size_t end = part.size() - 1;
    uint64_t places = ZeroBytes(Word(at) ^ first) & ZeroBytes(Word(at + end) ^ last);
    for (; places != 0; places &= places - 1) {
        const char* place = at + std::countr_zero(places) / 8;
        if (std::memcmp(place, part.data(), part.size()) == 0) return true;
    }
    return false;
}

bool Contains(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    size_t places = text.size() - part.size() + 1;
    if (part.size() < 2 || places < 8) return text.find(part) != std::string_view::npos;
    uint64_t first = EveryByte * static_cast<unsigned char>(part.front());
    uint64_t last = EveryByte * static_cast<unsigned char>(part.back());
    // The last window is moved back to end with the text, so no byte past it is read.
    for (size_t at = 0;; at += 8) {
        at = std::min(at, places - 8);
        if (InWindow(text.data() + at, part, first, last)) return true;
        if (at + 8 == places) return false;
    }
}

bool MatchPattern(const Pattern& p, std::string_view name, std::string_view path, bool isFolder) {
    if (p.isExt) {
        if (isFolder) return false;
        std::string_view ext = Extension(name);
        if (ext.empty()) return false;
        if (ext.size() > 8)
            return std::any_of(p.extensions.begin(), p.extensions.end(),
                               [ext](const std::string& wanted) { return SameText(wanted, ext); });
        // One word against each: no branch on which extension a name has.
        uint64_t word = PackedText(ext);
        bool any = false;
        for (uint64_t wanted : p.extensionWords)
            any |= wanted == word;
        return any;
    }
    std::string_view subject = p.onPath ? path : name;
    // Known when the term was read: not looked for again in every name.
    if (p.plainEnding) return subject.ends_with(std::string_view(p.text).substr(1));
    if (p.wildcard) return WildcardMatch(p.text, subject);
    if (p.anchored) return subject.starts_with(p.text);
    return Contains(subject, p.text);
}

bool IsPlainPath(const Pattern& p) {
    return p.onPath && !p.wildcard && !p.isExt;
}

} // namespace

Term ParseTerm(std::string_view arg) {
    Term term;
    std::string_view text = arg;
    if (text.starts_with('!')) {
        term.exclude = true;
        text.remove_prefix(1);
    }
    // A term that opens with a double quote is quoted to group its words (an
    // "exclusion.txt" line such as "c:\program files\"): its quotes are dropped.
    std::string unquoted;
    if (text.starts_with('"')) {
        unquoted = std::string(text);
        std::erase(unquoted, '"');
        text = unquoted;
    }
    while (!text.empty()) {
        size_t bar = text.find('|');
        std::string_view piece = text.substr(0, bar);
        if (!piece.empty()) term.alternatives.push_back(ParsePattern(piece));
        if (bar == std::string_view::npos) break;
        text.remove_prefix(bar + 1);
    }
    return term;
}

bool MatchesEntry(const Request& request, std::string_view foldedName, std::string_view foldedPath,
                  bool isFolder) {
    if ((request.only == Only::Files && isFolder) || (request.only == Only::Folders && !isFolder))
        return false;
    for (const Term& term : request.terms) {
        bool any = false;
        for (const Pattern& p : term.alternatives) {
            if (MatchPattern(p, foldedName, foldedPath, isFolder)) {
                any = true;
                break;
            }
        }
        if (any == term.exclude) return false;
    }
    return true;
}

// True when nothing below the folder (its folded path, ending with '\') can match, so the walk
// need not enter it: an excluded folder, or one off every anchored path a term asks for.
bool PruneFolder(const Request& request, std::string_view folder) {
    for (const Term& term : request.terms) {
        if (term.exclude) {
            for (const Pattern& p : term.alternatives)
                if (IsPlainPath(p) && Contains(folder, p.text)) return true;
            continue;
        }
        bool allAnchored = true, reachable = false;
        for (const Pattern& p : term.alternatives) {
            allAnchored = allAnchored && p.anchored;
            reachable = reachable || (p.anchored && (std::string_view(p.text).starts_with(folder) ||
                                                     folder.starts_with(p.text)));
        }
        if (allAnchored && !reachable) return true;
    }
    return false;
}

} // namespace es
