// Turns the engine's CSV export into rows, in place: every field is written
// back into the same buffer at or before where it was read, so the import
// needs no second copy of the file.
#include "search/result_parse.h"

#include "base/text.h"
#include "platform/platform.h"
#include "settings/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kShortFieldLimit = 31; // Size and Date
constexpr size_t kMaxArena = std::numeric_limits<uint32_t>::max();

// Nearly every byte of a result file is ASCII, so the byte loops below first
// try eight bytes at a time.
constexpr uint64_t kHighBits = 0x8080808080808080ull;

uint64_t Load8(const char* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Eight ASCII bytes with A-Z lowered. Each byte stays below 0x100 in the sums,
// so no carry crosses into its neighbour.
uint64_t LowerAscii8(uint64_t word) {
    uint64_t atLeastA = word + 0x3F3F3F3F3F3F3F3Full;     // high bit set from 'A' on
    uint64_t pastZ = word + 0x2525252525252525ull;        // high bit set from '[' on
    return word | ((atLeastA & ~pastZ & kHighBits) >> 2); // 0x80 >> 2 is the case bit
}

// A multi-byte UTF-8 character holds no byte below 0x80, so checking each run
// of high bytes on its own checks the whole text.
bool IsValidUtf8Quick(std::string_view text) {
    size_t i = 0, n = text.size();
    while (i < n) {
        while (i + 8 <= n && (Load8(text.data() + i) & kHighBits) == 0)
            i += 8;
        while (i < n && static_cast<unsigned char>(text[i]) < 0x80)
            ++i;
        size_t run = i;
        while (i < n && static_cast<unsigned char>(text[i]) >= 0x80)
            ++i;
        if (i > run && !IsValidUtf8(text.substr(run, i - run))) return false;
    }
    return true;
}

// Lower-cases ASCII and the Latin letters of the Western code page in UTF-8;
// each of them keeps its length, so this works in place.
void LowerInPlace(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (i + 8 <= length) {
            uint64_t word = Load8(text + i);
            if ((word & kHighBits) == 0) {
                word = LowerAscii8(word);
                std::memcpy(text + i, &word, sizeof word);
                i += 7;
                continue;
            }
        }
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (unsigned(c - 'A') < 26u) {
            text[i] = char(c + 32);
        } else if ((c == 0xC3 || c == 0xC5) && i + 1 < length) {
            // The only leads of letters with a lower case here; every other byte of a
            // longer character is left as it is and the next one looked at.
            unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97)
                text[i + 1] = char(next + 0x20);
            else if (c == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD))
                text[i + 1] = char(next + 1);
            else if (c == 0xC5 && next == 0xB8)
                text[i] = char(0xC3), text[i + 1] = char(0xBF);
            ++i;
        }
    }
}

struct Cursor {
    char* text;
    size_t read;  // next byte to read
    size_t end;   // end of the line being read
    size_t write; // next byte to write
};

// Copies one field to the write position. A field that starts with a double
// quote runs to its closing quote, with "" standing for one quote; any other
// quote is dropped. Ends after the separating comma.
void CopyField(Cursor& c) {
    char* t = c.text;
    if (c.read < c.end && t[c.read] == '"') {
        ++c.read;
        while (c.read < c.end) {
            const void* hit = std::memchr(t + c.read, '"', c.end - c.read);
            size_t quote = hit ? size_t(static_cast<const char*>(hit) - t) : c.end;
            std::memmove(t + c.write, t + c.read, quote - c.read);
            c.write += quote - c.read;
            c.read = quote + 1;
            if (quote + 1 < c.end && t[quote + 1] == '"') {
                t[c.write++] = '"';
                c.read = quote + 2;
                continue;
            }
            break;
        }
    }
    size_t plain = c.read; // most fields hold no quote: move those in one piece
    while (plain < c.end && t[plain] != ',' && t[plain] != '"')
        ++plain;
    std::memmove(t + c.write, t + c.read, plain - c.read);
    c.write += plain - c.read;
    c.read = plain;
    while (c.read < c.end && t[c.read] != ',') {
        if (t[c.read] != '"') t[c.write++] = t[c.read];
        ++c.read;
    }
    if (c.read < c.end) ++c.read; // the comma
}

size_t CutLength(const char* field, size_t length, size_t characters) {
    return PrefixBytes(std::string_view(field, length), characters);
}

// Sizes are nearly always plain digits; up to 15 of them are exact in the
// double that the general reading sums them in, so both give the same value.
int64_t SizeNumber(std::string_view size) {
    if (size.empty() || size.size() > 15) return LeadingNumber(size);
    int64_t value = 0;
    for (char digit : size) {
        if (digit < '0' || digit > '9') return LeadingNumber(size);
        value = value * 10 + (digit - '0');
    }
    return value;
}

// The length of the path: up to and including the last "\" or ":".
size_t PathLength(std::string_view fullName) {
    for (size_t i = fullName.size(); i > 0; --i)
        if (fullName[i - 1] == '\\' || fullName[i - 1] == ':') return i;
    return 0;
}

bool Ignored(std::string_view fullName, size_t pathLength, const ImportOptions& options) {
    if (!options.useIgnoreList) return false;
    size_t dot = fullName.rfind('.');
    if (dot == std::string_view::npos || dot < pathLength)
        return false; // no extension: nothing to match, the row stays
    return options.ignoreList.find(fullName.substr(dot)) != std::string::npos;
}

// Parses one data line; false when the row is dropped.
bool ParseLine(Cursor& c, const ImportOptions& options, ResultRow& row) {
    size_t start = c.write;
    CopyField(c);
    size_t sizeLength = CutLength(c.text + start, c.write - start, kShortFieldLimit);
    c.write = start + sizeLength;
    CopyField(c);
    size_t dateLength =
        CutLength(c.text + start + sizeLength, c.write - start - sizeLength, kShortFieldLimit);
    c.write = start + sizeLength + dateLength;
    size_t nameStart = c.write;
    CopyField(c);
    size_t fullLength = std::min<size_t>(c.write - nameStart, UINT16_MAX);
    c.write = nameStart + fullLength;
    LowerInPlace(c.text + start, c.write - start);
    std::string_view fullName(c.text + nameStart, fullLength);
    size_t pathLength = PathLength(fullName);
    if (Ignored(fullName, pathLength, options)) {
        c.write = start;
        return false;
    }
    row.start = uint32_t(start);
    row.sizeLength = uint16_t(sizeLength);
    row.dateLength = uint16_t(dateLength);
    row.pathLength = uint16_t(pathLength);
    row.nameLength = uint16_t(fullLength - pathLength);
    row.SizeValue = SizeNumber(std::string_view(c.text + start, sizeLength));
    row.IsFolder = sizeLength == 0 ? 1 : 0;
    return true;
}

size_t LineEnd(const char* text, size_t from, size_t size) {
    const void* hit = std::memchr(text + from, '\n', size - from);
    return hit ? size_t(static_cast<const char*>(hit) - text) : size;
}

// A byte-sized sum per block lets the compiler compare many bytes per step.
size_t CountLineEnds(const char* text, size_t size) {
    size_t count = 0;
    for (size_t block = 0; block < size; block += 255) {
        size_t end = std::min(size, block + 255);
        unsigned char sum = 0;
        for (size_t i = block; i < end; ++i)
            sum = static_cast<unsigned char>(sum + (text[i] == '\n'));
        count += sum;
    }
    return count;
}

} // namespace

void ParseResultText(std::string bytes, const ImportOptions& options, ResultRowsRecord& into) {
    into.Clear();
    if (!IsValidUtf8Quick(bytes) || bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes = DecodeFileText(bytes);
    char* text = bytes.data();
    size_t size = std::min(bytes.size(), kMaxArena);
    size_t pos = 0;
    while (pos < size &&
           (text[pos] == '\n' || (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n')))
        pos += text[pos] == '\r' ? 2 : 1;
    pos = LineEnd(text, pos, size) + 1; // the header line
    into.rows.reserve(CountLineEnds(text + std::min(pos, size), size - std::min(pos, size)) + 1);
    Cursor c{text, 0, 0, 0};
    while (pos < size) {
        size_t end = LineEnd(text, pos, size);
        c.read = pos;
        c.end = end > pos && text[end - 1] == '\r' ? end - 1 : end;
        pos = end + 1;
        if (c.read == c.end) continue;
        ResultRow row;
        if (!ParseLine(c, options, row)) continue;
        row.order = uint32_t(into.rows.size());
        into.rows.push_back(row);
    }
    bytes.resize(c.write);
    into.text = std::move(bytes);
}

int ReadResultFile() {
    std::string bytes;
    platform::ReadWholeFile(ResultFile, bytes);
    ParseResultText(std::move(bytes), {Settings.UseIgnoreList != 0, Settings.IgnoreList},
                    ResultRows);
    int n = ResultRows.Count();
    if (n == 0) ResultRows.Add("", "", "", EmptyRowName, false);
    return n;
}
